#include "theme/builtin_themes.hpp"
namespace ombrix::theme {
const std::array<std::string_view, 12> builtin_theme_texts{};
} // namespace ombrix::theme
