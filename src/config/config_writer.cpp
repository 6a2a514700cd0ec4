// Config::to_toml: the document is emitted here rather than through toml++'s writer, whose
// tables are ordered by key name; the file has to list tables and keys in record order.

#include "config/config.hpp"
#include "config/config_fields.hpp"
#include "util/unicode.hpp"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <optional>
#include <string>

namespace ombrix::config {
namespace {

// A TOML basic string. Control characters (which TOML does not allow raw) are escaped; every
// other character, non-ASCII included, is written as it is.
void append_string(std::string& out, std::string_view text) {
    static constexpr char hex[] = "0123456789ABCDEF";
    out += '"';
    for (char c : text) {
        auto byte = static_cast<unsigned char>(c);
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\b':
            out += "\\b";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\f':
            out += "\\f";
            break;
        case '\r':
            out += "\\r";
            break;
        default:
            if (byte < 0x20 || byte == 0x7F) {
                out += "\\u00";
                out += hex[byte >> 4];
                out += hex[byte & 0x0F];
            } else {
                out += c;
            }
        }
    }
    out += '"';
}

// Shortest text that reads back as the same double, always recognisable as a TOML float.
void append_float(std::string& out, double value) {
    if (std::isnan(value)) {
        out += "nan";
        return;
    }
    if (std::isinf(value)) {
        out += value < 0 ? "-inf" : "inf";
        return;
    }
    char buffer[64];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    std::string_view text(buffer, static_cast<std::size_t>(result.ptr - buffer));
    out += text;
    if (text.find_first_of(".eE") == std::string_view::npos) {
        out += ".0";
    }
}

void append_integer(std::string& out, std::int64_t value) {
    char buffer[32];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    out.append(buffer, result.ptr);
}

class SectionWriter {
public:
    SectionWriter(std::string& out, std::string_view table_name, std::optional<std::string>& error)
        : out_(out), table_name_(table_name), error_(error) {}

    void operator()(std::string_view key, const std::optional<std::string>& value) {
        if (value) {
            (*this)(key, *value);
        }
    }

    void operator()(std::string_view key, const std::string& value) {
        // A TOML document is UTF-8; bytes that are not (a shell path from argv, say) cannot be
        // written faithfully, and re-encoding them would silently change the value.
        if (!util::is_valid_utf8(value)) {
            if (!error_) {
                error_ = "the value of key `" + std::string(key) + "` in table `" +
                         std::string(table_name_) + "` is not valid UTF-8";
            }
            return;
        }
        begin(key);
        append_string(out_, value);
        out_ += '\n';
    }

    void operator()(std::string_view key, bool value) {
        begin(key);
        out_ += value ? "true\n" : "false\n";
    }

    void operator()(std::string_view key, double value) {
        begin(key);
        append_float(out_, value);
        out_ += '\n';
    }

    void operator()(std::string_view key, std::int64_t value) {
        begin(key);
        append_integer(out_, value);
        out_ += '\n';
    }

    void operator()(std::string_view key, std::int32_t value) {
        begin(key);
        append_integer(out_, value);
        out_ += '\n';
    }

private:
    // Every key is a bare TOML key, so it needs no quoting.
    void begin(std::string_view key) {
        out_ += key;
        out_ += " = ";
    }

    std::string& out_;
    std::string_view table_name_;
    std::optional<std::string>& error_;
};

} // namespace

std::expected<std::string, std::string> Config::to_toml() const {
    std::string out;
    std::optional<std::string> error;
    detail::visit_sections(*this, [&](std::string_view name, const auto& section) {
        if (!out.empty()) {
            out += '\n';
        }
        out += '[';
        out += name;
        out += "]\n";
        detail::visit_keys(section, SectionWriter(out, name, error));
    });
    if (error) {
        return std::unexpected(std::move(*error));
    }
    return out;
}

} // namespace ombrix::config
