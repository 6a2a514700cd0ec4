#include "theme/color.hpp"

#include "util/unicode.hpp"

#include <array>
#include <optional>

namespace ombrix::theme {
namespace {

std::optional<unsigned> hex_digit(char c) {
    if (c >= '0' && c <= '9') {
        return static_cast<unsigned>(c - '0');
    }
    if (c >= 'a' && c <= 'f') {
        return static_cast<unsigned>(c - 'a' + 10);
    }
    if (c >= 'A' && c <= 'F') {
        return static_cast<unsigned>(c - 'A' + 10);
    }
    return std::nullopt;
}

// One two-byte component. A leading "+" is accepted as a sign, which leaves a single digit.
std::optional<unsigned> parse_component(char first, char second) {
    if (first == '+') {
        return hex_digit(second);
    }
    auto high = hex_digit(first);
    auto low = hex_digit(second);
    if (!high || !low) {
        return std::nullopt;
    }
    return *high * 16 + *low;
}

} // namespace

std::expected<Rgba, std::string> parse_hex_color(std::string_view text) {
    std::string_view hex = util::trim_white_space(text);
    if (!hex.empty() && hex.front() == '#') {
        hex.remove_prefix(1);
    }
    if (hex.size() != 6 && hex.size() != 8) {
        return std::unexpected("Invalid hex color length for: " + std::string(text));
    }

    static constexpr std::array<const char*, 4> names{"red", "green", "blue", "alpha"};
    std::array<float, 4> values{0.0f, 0.0f, 0.0f, 1.0f};
    for (std::size_t i = 0; i * 2 < hex.size(); ++i) {
        auto value = parse_component(hex[i * 2], hex[i * 2 + 1]);
        if (!value) {
            return std::unexpected("Invalid " + std::string(names[i]) + " component in " +
                                   std::string(text) + ": invalid digit found in string");
        }
        values[i] = static_cast<float>(*value) / 255.0f;
    }
    return Rgba{values[0], values[1], values[2], values[3]};
}

} // namespace ombrix::theme
