#include "theme/theme.hpp"

#include "theme/color.hpp"
#include "util/unicode.hpp"

#include <sstream>
#include <toml++/toml.h>

namespace ombrix::theme {
namespace {

std::string describe_parse_error(const toml::parse_error& error) {
    std::ostringstream out;
    out << error.description();
    const auto& begin = error.source().begin;
    if (begin.line != 0) {
        out << " at line " << begin.line << ", column " << begin.column;
    }
    return out.str();
}

std::string missing(std::string_view key) {
    return "missing key \"" + std::string(key) + "\"";
}

std::string wrong_type(std::string_view key, std::string_view type) {
    return "key \"" + std::string(key) + "\" must be " + std::string(type);
}

std::expected<std::string, std::string> required_string(const toml::table& table,
                                                        std::string_view key) {
    const toml::node* node = table.get(key);
    if (node == nullptr) {
        return std::unexpected(missing(key));
    }
    const auto* value = node->as_string();
    if (value == nullptr) {
        return std::unexpected(wrong_type(key, "a string"));
    }
    return value->get();
}

std::expected<std::optional<std::string>, std::string> optional_string(const toml::table& table,
                                                                       std::string_view key) {
    const toml::node* node = table.get(key);
    if (node == nullptr) {
        return std::optional<std::string>();
    }
    const auto* value = node->as_string();
    if (value == nullptr) {
        return std::unexpected(wrong_type(key, "a string"));
    }
    return std::optional<std::string>(value->get());
}

} // namespace

std::expected<Theme, std::string> Theme::from_toml(std::string_view text) {
    toml::table table;
#if TOML_EXCEPTIONS
    try {
        table = toml::parse(text);
    } catch (const toml::parse_error& error) {
        return std::unexpected(describe_parse_error(error));
    }
#else
    toml::parse_result result = toml::parse(text);
    if (!result) {
        return std::unexpected(describe_parse_error(result.error()));
    }
    table = std::move(result).table();
#endif

    Theme theme;
    auto name = required_string(table, "name");
    if (!name) {
        return std::unexpected(name.error());
    }
    theme.name = std::move(*name);

    auto display_name = required_string(table, "display_name");
    if (!display_name) {
        return std::unexpected(display_name.error());
    }
    theme.display_name = std::move(*display_name);

    const toml::node* dark = table.get("dark");
    if (dark == nullptr) {
        return std::unexpected(missing("dark"));
    }
    if (!dark->is_boolean()) {
        return std::unexpected(wrong_type("dark", "a boolean"));
    }
    theme.dark = dark->as_boolean()->get();

    auto background = required_string(table, "background");
    if (!background) {
        return std::unexpected(background.error());
    }
    theme.background = std::move(*background);

    auto foreground = required_string(table, "foreground");
    if (!foreground) {
        return std::unexpected(foreground.error());
    }
    theme.foreground = std::move(*foreground);

    struct Optional {
        std::string_view key;
        std::optional<std::string> Theme::*field;
    };
    static constexpr Optional optionals[] = {
        {"cursor", &Theme::cursor},
        {"cursor_foreground", &Theme::cursor_foreground},
        {"selection_background", &Theme::selection_background},
        {"selection_foreground", &Theme::selection_foreground},
    };
    for (const auto& [key, field] : optionals) {
        auto value = optional_string(table, key);
        if (!value) {
            return std::unexpected(value.error());
        }
        theme.*field = std::move(*value);
    }

    const toml::node* palette = table.get("palette");
    if (palette == nullptr) {
        return std::unexpected(missing("palette"));
    }
    const toml::array* entries = palette->as_array();
    if (entries == nullptr) {
        return std::unexpected(wrong_type("palette", "an array of strings"));
    }
    for (const toml::node& entry : *entries) {
        const auto* color = entry.as_string();
        if (color == nullptr) {
            return std::unexpected(wrong_type("palette", "an array of strings"));
        }
        theme.palette.push_back(color->get());
    }
    return theme;
}

std::expected<void, std::string> Theme::validate() const {
    if (util::is_blank(name)) {
        return std::unexpected(std::string("Theme name cannot be empty"));
    }
    if (palette.size() != 16) {
        return std::unexpected("Theme palette must contain exactly 16 colors, found " +
                               std::to_string(palette.size()));
    }
    for (const std::string* color : {&background, &foreground}) {
        if (auto parsed = parse_hex_color(*color); !parsed) {
            return std::unexpected(parsed.error());
        }
    }
    for (const auto* color :
         {&cursor, &cursor_foreground, &selection_background, &selection_foreground}) {
        if (!color->has_value()) {
            continue;
        }
        if (auto parsed = parse_hex_color(**color); !parsed) {
            return std::unexpected(parsed.error());
        }
    }
    for (std::size_t i = 0; i < palette.size(); ++i) {
        if (auto parsed = parse_hex_color(palette[i]); !parsed) {
            return std::unexpected("Palette color " + std::to_string(i) +
                                   " invalid: " + parsed.error());
        }
    }
    return {};
}

} // namespace ombrix::theme
