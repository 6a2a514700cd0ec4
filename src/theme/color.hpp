#pragma once

#include <expected>
#include <string>
#include <string_view>

namespace ombrix::theme {

// A parsed colour: four single-precision components in 0..1, laid out like GdkRGBA so it can
// be handed to the toolkit directly.
struct Rgba {
    float red = 0.0f;
    float green = 0.0f;
    float blue = 0.0f;
    float alpha = 1.0f;
    bool operator==(const Rgba&) const = default;
};

// Parses "#rrggbb", "rrggbb", "#rrggbbaa" or "rrggbbaa" (surrounding Unicode white space
// allowed). On failure returns one of the fixed messages naming the text as passed in.
std::expected<Rgba, std::string> parse_hex_color(std::string_view text);

} // namespace ombrix::theme
