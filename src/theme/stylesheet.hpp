#pragma once

#include "theme/theme.hpp"

#include <string>
#include <string_view>

// The window stylesheet generated from the active theme: pure text, no toolkit.
namespace ombrix::theme {

// The interface font: app_font_family trimmed; empty or "poppines" (any ASCII case) gives
// "Poppins".
std::string interface_font(std::string_view app_font_family);

// The sidebar/search-bar background: the theme background darkened (0.88 dark, 0.94 light),
// as "#rrggbb" in lower case; the raw background text if it does not parse.
std::string sidebar_background(const Theme& theme);

// The complete stylesheet for a window.
std::string build_stylesheet(const Theme& theme, std::string_view app_font_family);

} // namespace ombrix::theme
