#include "theme/color.hpp"
namespace ombrix::theme {
std::expected<Rgba, std::string> parse_hex_color(std::string_view) { return Rgba{}; }
} // namespace ombrix::theme
