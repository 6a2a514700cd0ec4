#include "util/unicode.hpp"

#include <glib.h>
#include <memory>

namespace ombrix::util {
namespace {

// Decodes one UTF-8 character at text[pos]; returns its length, or 0 if the bytes there are not
// a valid character.
std::size_t decode(std::string_view text, std::size_t pos, char32_t& out) {
    const char* start = text.data() + pos;
    const auto available = static_cast<gssize>(text.size() - pos);
    gunichar c = g_utf8_get_char_validated(start, available);
    if (c == static_cast<gunichar>(-1) || c == static_cast<gunichar>(-2)) {
        return 0;
    }
    out = c;
    return static_cast<std::size_t>(g_utf8_next_char(start) - start);
}

// Length of the last character of text[0, end), or 0 if it is not valid UTF-8.
std::size_t decode_backwards(std::string_view text, std::size_t end, char32_t& out) {
    std::size_t start = end;
    for (int i = 0; i < 4 && start > 0; ++i) {
        --start;
        auto byte = static_cast<unsigned char>(text[start]);
        if ((byte & 0xC0) != 0x80) {
            std::size_t len = decode(text, start, out);
            return start + len == end ? len : 0;
        }
    }
    return 0;
}

} // namespace

bool is_white_space(char32_t c) {
    switch (c) {
    case 0x0009:
    case 0x000A:
    case 0x000B:
    case 0x000C:
    case 0x000D:
    case 0x0020:
    case 0x0085:
    case 0x00A0:
    case 0x1680:
    case 0x2028:
    case 0x2029:
    case 0x202F:
    case 0x205F:
    case 0x3000:
        return true;
    default:
        return c >= 0x2000 && c <= 0x200A;
    }
}

std::string_view trim_white_space(std::string_view text) {
    std::size_t begin = 0;
    while (begin < text.size()) {
        char32_t c = 0;
        std::size_t len = decode(text, begin, c);
        if (len == 0 || !is_white_space(c)) {
            break;
        }
        begin += len;
    }
    std::size_t end = text.size();
    while (end > begin) {
        char32_t c = 0;
        std::size_t len = decode_backwards(text, end, c);
        if (len == 0 || !is_white_space(c)) {
            break;
        }
        end -= len;
    }
    return text.substr(begin, end - begin);
}

bool is_blank(std::string_view text) {
    return trim_white_space(text).empty();
}

std::vector<std::string_view> split_white_space(std::string_view text) {
    std::vector<std::string_view> fields;
    std::size_t pos = 0;
    std::size_t field_start = std::string_view::npos;
    while (pos < text.size()) {
        char32_t c = 0;
        std::size_t len = decode(text, pos, c);
        bool space = len != 0 && is_white_space(c);
        if (len == 0) {
            len = 1;
        }
        if (space && field_start != std::string_view::npos) {
            fields.push_back(text.substr(field_start, pos - field_start));
            field_start = std::string_view::npos;
        } else if (!space && field_start == std::string_view::npos) {
            field_start = pos;
        }
        pos += len;
    }
    if (field_start != std::string_view::npos) {
        fields.push_back(text.substr(field_start));
    }
    return fields;
}

std::string to_lower(std::string_view text) {
    if (!is_valid_utf8(text)) {
        return std::string(text);
    }
    std::unique_ptr<gchar, decltype(&g_free)> lowered(
        g_utf8_strdown(text.data(), static_cast<gssize>(text.size())), &g_free);
    return lowered ? std::string(lowered.get()) : std::string(text);
}

bool is_valid_utf8(std::string_view text) {
    // NUL is valid UTF-8, but GLib's validator stops at it; check the pieces between NULs.
    std::size_t start = 0;
    for (;;) {
        std::size_t nul = text.find('\0', start);
        std::string_view piece = text.substr(
            start, nul == std::string_view::npos ? std::string_view::npos : nul - start);
        if (g_utf8_validate_len(piece.data(), piece.size(), nullptr) == FALSE) {
            return false;
        }
        if (nul == std::string_view::npos) {
            return true;
        }
        start = nul + 1;
    }
}

bool equals_ignore_ascii_case(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (g_ascii_tolower(a[i]) != g_ascii_tolower(b[i])) {
            return false;
        }
    }
    return true;
}

} // namespace ombrix::util
