#pragma once

#include "config/config.hpp"

#include <gtk/gtk.h>

namespace ombrix::ui {

// Records the window's size (while not maximized) and maximized state in the configuration
// and saves it at every change.
void track_window_state(GtkWindow* window, const config::ConfigHandle& config);

} // namespace ombrix::ui
