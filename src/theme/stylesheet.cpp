#include "theme/stylesheet.hpp"
namespace ombrix::theme {
std::string interface_font(std::string_view) { return "Poppins"; }
std::string sidebar_background(const Theme&) { return ""; }
std::string build_stylesheet(const Theme&, std::string_view) { return ""; }
} // namespace ombrix::theme
