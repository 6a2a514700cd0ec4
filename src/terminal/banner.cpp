// replaced by the terminal module
