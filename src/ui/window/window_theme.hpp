#pragma once

#include "ui/window/window_context.hpp"

namespace ombrix::ui {

// Rebuilds the window stylesheet from the configured theme and interface font, loads it into
// the window's provider, and recolours every terminal of the window (opacity included).
void apply_window_theme(const WindowContext& window);

// apply_window_theme, then font, cursor, scrollback and bell on every terminal of the window.
void apply_config_to_terminals(const WindowContext& window);

} // namespace ombrix::ui
