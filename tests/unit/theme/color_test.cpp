#include "theme/color.hpp"

#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <vector>

namespace ombrix::theme {
namespace {

struct ColorCase {
    std::string text;
    std::optional<Rgba> expected; // nullopt: parsing fails with `message`
    std::string message;
};

Rgba bytes(int r, int g, int b, int a = 255) {
    return Rgba{static_cast<float>(r) / 255.0f, static_cast<float>(g) / 255.0f,
                static_cast<float>(b) / 255.0f, static_cast<float>(a) / 255.0f};
}

void PrintTo(const ColorCase& c, std::ostream* out) {
    *out << '"' << c.text << '"';
}

class ParseHexColor : public testing::TestWithParam<ColorCase> {};

TEST_P(ParseHexColor, GivesComponentsOrFixedMessage) {
    const ColorCase& c = GetParam();
    auto result = parse_hex_color(c.text);
    if (c.expected) {
        ASSERT_TRUE(result.has_value()) << result.error();
        EXPECT_EQ(*result, *c.expected);
    } else {
        ASSERT_FALSE(result.has_value());
        EXPECT_EQ(result.error(), c.message);
    }
}

const char* const digit_error = ": invalid digit found in string";

INSTANTIATE_TEST_SUITE_P(
    Table, ParseHexColor,
    testing::Values(
        // Accepted forms.
        ColorCase{"#181825", bytes(24, 24, 37), ""}, ColorCase{"181825", bytes(24, 24, 37), ""},
        ColorCase{"  #FFFFFF  ", bytes(255, 255, 255), ""},
        ColorCase{"#1818257f", bytes(24, 24, 37, 127), ""},
        ColorCase{"1818257F", bytes(24, 24, 37, 127), ""},
        ColorCase{"#aBcDeF", bytes(0xab, 0xcd, 0xef), ""}, ColorCase{"#000000", bytes(0, 0, 0), ""},
        ColorCase{"#ffffff00", bytes(255, 255, 255, 0), ""},
        ColorCase{"#+f+f+f", bytes(15, 15, 15), ""}, ColorCase{"+0+1+2+3", bytes(0, 1, 2, 3), ""},
        // Every Unicode white-space character is trimmed, not only ASCII.
        ColorCase{"\t\n\v\f\r #123456 \r\n", bytes(0x12, 0x34, 0x56), ""},
        ColorCase{"\u00a0\u0085\u2003#123456\u3000\u2029", bytes(0x12, 0x34, 0x56), ""},
        ColorCase{"\u1680\u202f#123456\u205f\u2028", bytes(0x12, 0x34, 0x56), ""},
        // Length failures name the text as passed in, untrimmed.
        ColorCase{"#fff", std::nullopt, "Invalid hex color length for: #fff"},
        ColorCase{"##181825", std::nullopt, "Invalid hex color length for: ##181825"},
        ColorCase{"", std::nullopt, "Invalid hex color length for: "},
        ColorCase{"#", std::nullopt, "Invalid hex color length for: #"},
        ColorCase{"   ", std::nullopt, "Invalid hex color length for:    "},
        ColorCase{" #12345 ", std::nullopt, "Invalid hex color length for:  #12345 "},
        ColorCase{"#1234567", std::nullopt, "Invalid hex color length for: #1234567"},
        ColorCase{"#123456789", std::nullopt, "Invalid hex color length for: #123456789"},
        ColorCase{"red", std::nullopt, "Invalid hex color length for: red"},
        // Inner white space is not trimmed: it is a byte like any other.
        ColorCase{"#12 3456", std::nullopt, "Invalid hex color length for: #12 3456"},
        // Zero-width space is not White_Space: it stays and counts three bytes.
        ColorCase{"\u200b#123", std::nullopt, "Invalid hex color length for: \u200b#123"},
        // Component failures, reported in the order red, green, blue, alpha.
        ColorCase{"#18g825", std::nullopt,
                  std::string("Invalid green component in #18g825") + digit_error},
        ColorCase{"#g8g8g8", std::nullopt,
                  std::string("Invalid red component in #g8g8g8") + digit_error},
        ColorCase{"#1818zz", std::nullopt,
                  std::string("Invalid blue component in #1818zz") + digit_error},
        ColorCase{"#181825zz", std::nullopt,
                  std::string("Invalid alpha component in #181825zz") + digit_error},
        ColorCase{" #18g825", std::nullopt,
                  std::string("Invalid green component in  #18g825") + digit_error},
        // "+" only as the first byte of a component, followed by a digit.
        ColorCase{"#f+ffff", std::nullopt,
                  std::string("Invalid red component in #f+ffff") + digit_error},
        ColorCase{"#ff++ff", std::nullopt,
                  std::string("Invalid green component in #ff++ff") + digit_error},
        ColorCase{"#ffff-f", std::nullopt,
                  std::string("Invalid blue component in #ffff-f") + digit_error},
        ColorCase{"0x1234", std::nullopt,
                  std::string("Invalid red component in 0x1234") + digit_error},
        // Six bytes made of multi-byte characters: the length passes, the digits do not.
        ColorCase{"#\u00e9\u00e9\u00e9", std::nullopt,
                  std::string("Invalid red component in #\u00e9\u00e9\u00e9") + digit_error},
        ColorCase{"#12\u00e934", std::nullopt,
                  std::string("Invalid green component in #12\u00e934") + digit_error},
        ColorCase{"#\u20ac\u20ac", std::nullopt,
                  std::string("Invalid red component in #\u20ac\u20ac") + digit_error},
        // A three-byte character after ASCII digits: the byte count decides the length, and
        // the component holding its first byte fails.
        ColorCase{"1234\u20ac", std::nullopt, "Invalid hex color length for: 1234\u20ac"},
        ColorCase{"123\u20ac", std::nullopt,
                  std::string("Invalid green component in 123\u20ac") + digit_error},
        ColorCase{"12345\u20ac", std::nullopt,
                  std::string("Invalid blue component in 12345\u20ac") + digit_error}));

TEST(ParseHexColorValues, MatchSinglePrecisionDivisionBy255) {
    auto color = parse_hex_color("#181825");
    ASSERT_TRUE(color.has_value());
    EXPECT_NEAR(color->red, 0.0941f, 0.0001f);
    EXPECT_NEAR(color->blue, 0.1451f, 0.0001f);
    EXPECT_EQ(color->alpha, 1.0f);
    // Every byte value round-trips exactly through the single-precision quotient.
    for (int v = 0; v < 256; ++v) {
        char text[8];
        std::snprintf(text, sizeof text, "%02x%02X%02x", v, v, 255 - v);
        auto parsed = parse_hex_color(text);
        ASSERT_TRUE(parsed.has_value()) << text;
        EXPECT_EQ(parsed->red, static_cast<float>(v) / 255.0f);
        EXPECT_EQ(parsed->green, parsed->red);
        EXPECT_EQ(parsed->blue, static_cast<float>(255 - v) / 255.0f);
    }
}

TEST(ParseHexColorValues, TreatsEmbeddedNulAsANonDigit) {
    std::string text("#12\0"
                     "456",
                     7);
    auto parsed = parse_hex_color(text);
    ASSERT_FALSE(parsed.has_value());
    EXPECT_EQ(parsed.error(), std::string("Invalid green component in ") + text + digit_error);
}

} // namespace
} // namespace ombrix::theme
