#pragma once

#include <expected>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ombrix::theme {

// One colour theme. Colours are kept as the texts that were written and parsed where used.
struct Theme {
    std::string name;
    std::string display_name;
    bool dark = true;
    std::string background;
    std::string foreground;
    std::optional<std::string> cursor;
    std::optional<std::string> cursor_foreground;
    std::optional<std::string> selection_background;
    std::optional<std::string> selection_foreground;
    std::vector<std::string> palette;

    // Reads a theme document; fails with the TOML reader's description (a missing key is
    // named). Colours and the palette length are not examined here.
    static std::expected<Theme, std::string> from_toml(std::string_view text);

    // The first problem found, as one of the fixed messages, or success.
    std::expected<void, std::string> validate() const;

    bool operator==(const Theme&) const = default;
};

} // namespace ombrix::theme
