#include "theme/catalogue.hpp"
namespace ombrix::theme {
ThemeCatalogue ThemeCatalogue::load() { return {}; }
ThemeCatalogue ThemeCatalogue::load_from(const std::string&) { return {}; }
std::expected<std::string, std::string> ThemeCatalogue::load_theme_file(const std::string&) { return std::string(); }
void ThemeCatalogue::insert(Theme) {}
Theme ThemeCatalogue::get(std::string_view) const { return Theme{}; }
std::vector<std::pair<std::string, std::string>> ThemeCatalogue::list() const { return {}; }
} // namespace ombrix::theme
