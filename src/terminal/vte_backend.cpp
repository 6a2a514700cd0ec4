// replaced by the terminal view
