#pragma once

#include <array>
#include <string_view>

namespace ombrix::theme {

// The TOML texts of the twelve built-in themes, in catalogue order.
extern const std::array<std::string_view, 12> builtin_theme_texts;

} // namespace ombrix::theme
