// Config::from_toml: maps a TOML document onto the record with strict types.

#include "config/config.hpp"
#include "config/config_fields.hpp"

#include <charconv>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <toml++/toml.h>

namespace ombrix::config {
namespace {

std::string number_text(std::int64_t value) {
    char buffer[32];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

std::string position_text(const toml::source_region& source) {
    if (source.begin.line == 0) {
        return {};
    }
    return " (line " + number_text(source.begin.line) + ", column " +
           number_text(source.begin.column) + ")";
}

std::string_view describe_type(toml::node_type type) {
    switch (type) {
    case toml::node_type::table:
        return "a table";
    case toml::node_type::array:
        return "an array";
    case toml::node_type::string:
        return "a string";
    case toml::node_type::integer:
        return "an integer";
    case toml::node_type::floating_point:
        return "a float";
    case toml::node_type::boolean:
        return "a boolean";
    case toml::node_type::date:
        return "a date";
    case toml::node_type::time:
        return "a time";
    case toml::node_type::date_time:
        return "a date-time";
    case toml::node_type::none:
        break;
    }
    return "nothing";
}

// Reads the keys of one section from its table. The first problem is kept and stops the rest.
class SectionReader {
public:
    SectionReader(const toml::table& table, std::string_view table_name,
                  std::optional<std::string>& error)
        : table_(table), table_name_(table_name), error_(error) {}

    template <class Field> void operator()(std::string_view key, Field& field) {
        if (error_) {
            return;
        }
        if (const toml::node* node = table_.get(key)) {
            read(key, *node, field);
        }
    }

private:
    void read(std::string_view key, const toml::node& node, std::string& field) {
        if (const auto* value = node.as_string()) {
            field = value->get();
        } else {
            wrong_type(key, node, "a string");
        }
    }

    void read(std::string_view key, const toml::node& node, std::optional<std::string>& field) {
        if (const auto* value = node.as_string()) {
            field = value->get();
        } else {
            wrong_type(key, node, "a string");
        }
    }

    void read(std::string_view key, const toml::node& node, bool& field) {
        if (const auto* value = node.as_boolean()) {
            field = value->get();
        } else {
            wrong_type(key, node, "a boolean");
        }
    }

    void read(std::string_view key, const toml::node& node, double& field) {
        if (const auto* value = node.as_floating_point()) {
            field = value->get();
        } else if (const auto* integer = node.as_integer()) {
            field = static_cast<double>(integer->get());
        } else {
            wrong_type(key, node, "a float");
        }
    }

    void read(std::string_view key, const toml::node& node, std::int64_t& field) {
        if (const auto* value = node.as_integer()) {
            field = value->get();
        } else {
            wrong_type(key, node, "an integer");
        }
    }

    void read(std::string_view key, const toml::node& node, std::int32_t& field) {
        const auto* value = node.as_integer();
        if (value == nullptr) {
            wrong_type(key, node, "a 32-bit integer");
            return;
        }
        std::int64_t wide = value->get();
        if (wide < std::numeric_limits<std::int32_t>::min() ||
            wide > std::numeric_limits<std::int32_t>::max()) {
            error_ = "invalid value for key `" + std::string(key) + "` in table `" +
                     std::string(table_name_) + "`: " + number_text(wide) +
                     " does not fit a 32-bit signed integer" + position_text(node.source());
            return;
        }
        field = static_cast<std::int32_t>(wide);
    }

    void wrong_type(std::string_view key, const toml::node& node, std::string_view expected) {
        error_ = "invalid type for key `" + std::string(key) + "` in table `" +
                 std::string(table_name_) + "`: expected " + std::string(expected) + ", found " +
                 std::string(describe_type(node.type())) + position_text(node.source());
    }

    const toml::table& table_;
    std::string_view table_name_;
    std::optional<std::string>& error_;
};

} // namespace

std::expected<Config, std::string> Config::from_toml(std::string_view text) {
    toml::table document;
    try {
        document = toml::parse(text);
    } catch (const toml::parse_error& error) {
        return std::unexpected(std::string(error.description()) + position_text(error.source()));
    }

    // Everything is read into a fresh record and returned only when every key was accepted.
    Config config;
    std::optional<std::string> error;
    detail::visit_sections(config, [&](std::string_view name, auto& section) {
        if (error) {
            return;
        }
        const toml::node* node = document.get(name);
        if (node == nullptr) {
            return;
        }
        const toml::table* table = node->as_table();
        if (table == nullptr) {
            error = "invalid type for table `" + std::string(name) + "`: expected a table, found " +
                    std::string(describe_type(node->type())) + position_text(node->source());
            return;
        }
        detail::visit_keys(section, SectionReader(*table, name, error));
    });
    if (error) {
        return std::unexpected(std::move(*error));
    }
    return config;
}

} // namespace ombrix::config
