#include "theme/theme.hpp"
namespace ombrix::theme {
std::expected<Theme, std::string> Theme::from_toml(std::string_view) { return Theme{}; }
std::expected<void, std::string> Theme::validate() const { return {}; }
} // namespace ombrix::theme
