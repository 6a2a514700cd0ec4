#include "theme/catalogue.hpp"

#include "config/config.hpp"
#include "config/paths.hpp"
#include "theme/builtin_themes.hpp"
#include "util/file_io.hpp"

#include <dirent.h>
#include <glib.h>
#include <sys/stat.h>

namespace ombrix::theme {
namespace {

// "toml" after the last dot, where that dot does not start the name (".toml" is a hidden file
// without extension). Case matters: Mine.TOML is not a theme file.
bool has_toml_extension(std::string_view file_name) {
    std::size_t dot = file_name.rfind('.');
    return dot != std::string_view::npos && dot != 0 && file_name.substr(dot + 1) == "toml";
}

class DirectoryListing {
public:
    explicit DirectoryListing(const std::string& path) : dir_(::opendir(path.c_str())) {}
    DirectoryListing(const DirectoryListing&) = delete;
    DirectoryListing& operator=(const DirectoryListing&) = delete;
    ~DirectoryListing() {
        if (dir_ != nullptr) {
            ::closedir(dir_);
        }
    }
    DIR* get() const { return dir_; }

private:
    DIR* dir_;
};

} // namespace

ThemeCatalogue ThemeCatalogue::load() {
    return load_from(config::themes_dir());
}

ThemeCatalogue ThemeCatalogue::load_from(const std::string& themes_dir) {
    ThemeCatalogue catalogue;
    for (std::string_view text : builtin_theme_texts) {
        auto theme = Theme::from_toml(text);
        if (theme && theme->validate()) {
            catalogue.insert(std::move(*theme));
        }
    }

    struct stat info {};
    if (::stat(themes_dir.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
        return catalogue;
    }
    DirectoryListing listing(themes_dir);
    if (listing.get() == nullptr) {
        return catalogue;
    }
    // Names first, so that the listing is not held open while files are read.
    std::vector<std::string> names;
    while (const dirent* entry = ::readdir(listing.get())) {
        if (has_toml_extension(entry->d_name)) {
            names.emplace_back(entry->d_name);
        }
    }
    for (const std::string& name : names) {
        // Unusable files are skipped without a word; the reader refuses FIFOs, devices and
        // oversized files instead of blocking on them.
        (void)catalogue.load_theme_file(themes_dir + "/" + name);
    }
    return catalogue;
}

std::expected<std::string, std::string> ThemeCatalogue::load_theme_file(const std::string& path) {
    auto text = util::read_text_file(path);
    if (!text) {
        return std::unexpected("Failed to read theme file " + path + ": " + text.error());
    }
    auto theme = Theme::from_toml(*text);
    if (!theme) {
        return std::unexpected("Failed to parse theme " + path + ": " + theme.error());
    }
    if (auto valid = theme->validate(); !valid) {
        return std::unexpected(valid.error());
    }
    std::string name = theme->name;
    insert(std::move(*theme));
    return name;
}

void ThemeCatalogue::insert(Theme theme) {
    auto found = themes_.find(theme.name);
    if (found != themes_.end()) {
        found->second = std::move(theme);
        return;
    }
    order_.push_back(theme.name);
    std::string key = theme.name;
    themes_.emplace(std::move(key), std::move(theme));
}

Theme ThemeCatalogue::get(std::string_view name) const {
    if (auto found = themes_.find(name); found != themes_.end()) {
        return found->second;
    }
    if (auto fallback = themes_.find(config::DEFAULT_THEME_NAME); fallback != themes_.end()) {
        return fallback->second;
    }
    if (!order_.empty()) {
        return themes_.find(order_.front())->second;
    }
    g_error("At least one theme must be loaded");
}

std::vector<std::pair<std::string, std::string>> ThemeCatalogue::list() const {
    std::vector<std::pair<std::string, std::string>> pairs;
    pairs.reserve(order_.size());
    for (const std::string& name : order_) {
        const Theme& theme = themes_.find(name)->second;
        pairs.emplace_back(theme.name, theme.display_name);
    }
    return pairs;
}

} // namespace ombrix::theme
