#pragma once

#include "theme/theme.hpp"

#include <expected>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace ombrix::theme {

// The themes on offer: the twelve built-ins first, then the user's theme files. Built once at
// start-up and only read afterwards.
class ThemeCatalogue {
public:
    // Built-ins, then the *.toml files of config::themes_dir(). Never fails, prints nothing.
    static ThemeCatalogue load();
    // The same with an explicit themes directory (tests, other callers).
    static ThemeCatalogue load_from(const std::string& themes_dir);

    // Reads, validates and inserts one theme file; returns the theme's name or a message.
    std::expected<std::string, std::string> load_theme_file(const std::string& path);

    // Adds a valid theme, or replaces the one of the same name keeping its position.
    void insert(Theme theme);

    // The theme stored under exactly this name, else the "kitty-dark" theme.
    Theme get(std::string_view name) const;

    // (name, display_name) of every theme in catalogue order.
    std::vector<std::pair<std::string, std::string>> list() const;

private:
    std::vector<std::string> order_;
    std::map<std::string, Theme, std::less<>> themes_;
};

// The one catalogue of the process, shared like the configuration.
using CatalogueHandle = std::shared_ptr<ThemeCatalogue>;

} // namespace ombrix::theme
