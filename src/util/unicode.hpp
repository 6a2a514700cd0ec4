#pragma once

#include <string>
#include <string_view>
#include <vector>

// Unicode helpers over UTF-8 text that need no toolkit.
namespace ombrix::util {

// True for the characters of Unicode's White_Space property.
bool is_white_space(char32_t c);

// The text without leading and trailing White_Space characters. Invalid UTF-8 bytes are
// never white space, so they stop the trimming.
std::string_view trim_white_space(std::string_view text);

// Empty, or made only of White_Space characters.
bool is_blank(std::string_view text);

// Splits at runs of White_Space; leading and trailing white space yields no empty fields.
std::vector<std::string_view> split_white_space(std::string_view text);

// Full Unicode lower-casing (special casings included). Invalid UTF-8 is returned unchanged.
std::string to_lower(std::string_view text);

bool is_valid_utf8(std::string_view text);

// ASCII-only case-insensitive comparison.
bool equals_ignore_ascii_case(std::string_view a, std::string_view b);

} // namespace ombrix::util
