// Config::normalize. Reading and writing the TOML form are config_reader.cpp and
// config_writer.cpp.

#include "config/config.hpp"

#include "util/unicode.hpp"

#include <algorithm>
#include <array>
#include <cmath>

namespace ombrix::config {
namespace {

// Keeps the value as written (letter case included) when its lower-cased form is one of the
// accepted names, otherwise replaces it with the fallback.
void keep_if_known(std::string& value, const std::array<std::string_view, 3>& accepted,
                   std::string_view fallback) {
    std::string lowered = util::to_lower(value);
    if (std::find(accepted.begin(), accepted.end(), lowered) == accepted.end()) {
        value = fallback;
    }
}

// TOML admits nan, which every clamp lets through; it becomes the key's default instead.
double clamp_or_default(double value, double low, double high, double fallback) {
    if (std::isnan(value)) {
        return fallback;
    }
    return std::clamp(value, low, high);
}

} // namespace

void Config::normalize() {
    const Config defaults;

    if (util::is_blank(appearance.app_font_family)) {
        appearance.app_font_family = defaults.appearance.app_font_family;
    }

    terminal.scrollback_lines = std::clamp<std::int64_t>(terminal.scrollback_lines, 100, 1000000);

    keep_if_known(appearance.cursor_shape, {"block", "ibeam", "underline"}, "block");
    keep_if_known(appearance.cursor_blink, {"system", "on", "off"}, "system");

    appearance.font_size =
        clamp_or_default(appearance.font_size, 6.0, 72.0, defaults.appearance.font_size);
    appearance.line_spacing =
        clamp_or_default(appearance.line_spacing, 0.5, 3.0, defaults.appearance.line_spacing);
    appearance.opacity =
        clamp_or_default(appearance.opacity, 0.1, 1.0, defaults.appearance.opacity);

    window.width = std::max(window.width, 320);
    window.height = std::max(window.height, 240);
}

} // namespace ombrix::config
