#include "terminal/terminal_settings.hpp"

#include <algorithm>
#include <cmath>
#include <glib.h>
#include <limits>
#include <memory>

namespace ombrix::terminal {

CursorShape map_cursor_shape(std::string_view shape) {
    if (shape == "ibeam") {
        return CursorShape::ibeam;
    }
    if (shape == "underline") {
        return CursorShape::underline;
    }
    return CursorShape::block;
}

CursorBlink map_cursor_blink(std::string_view blink) {
    if (blink == "on") {
        return CursorBlink::on;
    }
    if (blink == "off") {
        return CursorBlink::off;
    }
    return CursorBlink::system;
}

std::int32_t saturating_int32(double value) {
    if (std::isnan(value)) {
        return 0;
    }
    constexpr auto lowest = std::numeric_limits<std::int32_t>::min();
    constexpr auto highest = std::numeric_limits<std::int32_t>::max();
    if (value <= static_cast<double>(lowest)) {
        return lowest;
    }
    if (value >= static_cast<double>(highest)) {
        return highest;
    }
    return static_cast<std::int32_t>(value); // truncates toward zero
}

std::int32_t font_size_to_pango_units(double size_points) {
    return saturating_int32(size_points * 1024.0);
}

double zoom_in_step(double factor) {
    return std::min(factor + 0.1, 3.0);
}

double zoom_out_step(double factor) {
    return std::max(factor - 0.1, 0.4);
}

std::optional<std::string> directory_from_uri(std::string_view uri) {
    // Shells report "file://HOST/path" with percent escapes; the host is this machine's name
    // (or another's over ssh), and only the decoded path is usable as a directory.
    std::string text(uri);
    if (text.find('\0') != std::string::npos) {
        return std::nullopt;
    }
    std::unique_ptr<gchar, decltype(&g_free)> path(
        g_filename_from_uri(text.c_str(), nullptr, nullptr), &g_free);
    if (!path) {
        return std::nullopt;
    }
    return std::string(path.get());
}

} // namespace ombrix::terminal
