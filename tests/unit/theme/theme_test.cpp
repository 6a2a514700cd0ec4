#include "theme/theme.hpp"

#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace ombrix::theme {
namespace {

std::vector<std::string> grey_palette(std::size_t n) {
    std::vector<std::string> palette;
    for (std::size_t i = 0; i < n; ++i) {
        char text[8];
        std::snprintf(text, sizeof text, "#%02x%02x%02x", static_cast<unsigned>(i * 16),
                      static_cast<unsigned>(i * 16), static_cast<unsigned>(i * 16));
        palette.emplace_back(text);
    }
    return palette;
}

Theme valid_theme() {
    Theme theme;
    theme.name = "test";
    theme.display_name = "Test";
    theme.dark = true;
    theme.background = "#101010";
    theme.foreground = "#eeeeee";
    theme.palette = grey_palette(16);
    return theme;
}

// ---- Reading ----

const char* const full_document = R"(name = "sample"
display_name = "Sample Theme"
dark = false
background = "#fafafa"
foreground = "#111111"
cursor = "#222222"
cursor_foreground = "#333333"
selection_background = "#444444"
selection_foreground = "#555555"
palette = ["#000000", "#010101", "#020202"]
)";

TEST(ThemeFromToml, ReadsEveryKey) {
    auto theme = Theme::from_toml(full_document);
    ASSERT_TRUE(theme.has_value()) << theme.error();
    EXPECT_EQ(theme->name, "sample");
    EXPECT_EQ(theme->display_name, "Sample Theme");
    EXPECT_FALSE(theme->dark);
    EXPECT_EQ(theme->background, "#fafafa");
    EXPECT_EQ(theme->foreground, "#111111");
    EXPECT_EQ(theme->cursor, "#222222");
    EXPECT_EQ(theme->cursor_foreground, "#333333");
    EXPECT_EQ(theme->selection_background, "#444444");
    EXPECT_EQ(theme->selection_foreground, "#555555");
    // Any length is read; the count is validation's business.
    EXPECT_EQ(theme->palette, (std::vector<std::string>{"#000000", "#010101", "#020202"}));
}

TEST(ThemeFromToml, LeavesAbsentOptionalKeysUnsetAndIgnoresUnknownKeys) {
    auto theme = Theme::from_toml(R"(
        comment = "not a theme key"
        name = " spaced "
        display_name = ""
        dark = true
        background = "not a colour"
        foreground = "#fff"
        palette = []
        [extra]
        anything = 1
    )");
    ASSERT_TRUE(theme.has_value()) << theme.error();
    EXPECT_EQ(theme->name, " spaced ");
    EXPECT_EQ(theme->display_name, "");
    EXPECT_TRUE(theme->dark);
    // Colour texts are kept as written, unexamined.
    EXPECT_EQ(theme->background, "not a colour");
    EXPECT_EQ(theme->foreground, "#fff");
    EXPECT_FALSE(theme->cursor.has_value());
    EXPECT_FALSE(theme->cursor_foreground.has_value());
    EXPECT_FALSE(theme->selection_background.has_value());
    EXPECT_FALSE(theme->selection_foreground.has_value());
    EXPECT_TRUE(theme->palette.empty());
}

struct BadDocument {
    std::string label;
    std::string text;
    std::string must_mention; // a word the description has to contain
};

void PrintTo(const BadDocument& d, std::ostream* out) {
    *out << d.label;
}

class ThemeFromTomlFails : public testing::TestWithParam<BadDocument> {};

TEST_P(ThemeFromTomlFails, WithADescription) {
    auto theme = Theme::from_toml(GetParam().text);
    ASSERT_FALSE(theme.has_value());
    EXPECT_NE(theme.error().find(GetParam().must_mention), std::string::npos) << theme.error();
}

const std::string rest = "dark = true\nbackground = \"#000000\"\nforeground = \"#ffffff\"\n"
                         "palette = [\"#000000\"]\n";

INSTANTIATE_TEST_SUITE_P(
    Table, ThemeFromTomlFails,
    testing::Values(
        BadDocument{"syntax", "name = \"x\nbroken", "line"},
        BadDocument{"duplicate key", "name = \"a\"\nname = \"b\"\n", "name"},
        BadDocument{"no name", "display_name = \"X\"\n" + rest, "name"},
        BadDocument{"no display_name", "name = \"x\"\n" + rest, "display_name"},
        BadDocument{"no dark",
                    "name = \"x\"\ndisplay_name = \"X\"\nbackground = \"#000000\"\n"
                    "foreground = \"#ffffff\"\npalette = []\n",
                    "dark"},
        BadDocument{"no background",
                    "name = \"x\"\ndisplay_name = \"X\"\ndark = true\nforeground = \"#ffffff\"\n"
                    "palette = []\n",
                    "background"},
        BadDocument{"no foreground",
                    "name = \"x\"\ndisplay_name = \"X\"\ndark = true\nbackground = \"#ffffff\"\n"
                    "palette = []\n",
                    "foreground"},
        BadDocument{"no palette",
                    "name = \"x\"\ndisplay_name = \"X\"\ndark = true\nbackground = \"#000000\"\n"
                    "foreground = \"#ffffff\"\n",
                    "palette"},
        BadDocument{"name not a string", "name = 3\ndisplay_name = \"X\"\n" + rest, "name"},
        BadDocument{"dark as a string",
                    "name = \"x\"\ndisplay_name = \"X\"\ndark = \"true\"\n"
                    "background = \"#000000\"\nforeground = \"#ffffff\"\n"
                    "palette = []\n",
                    "dark"},
        BadDocument{"cursor not a string",
                    "name = \"x\"\ndisplay_name = \"X\"\ncursor = 0xffffff\n" + rest, "cursor"},
        BadDocument{"selection_foreground a table",
                    "name = \"x\"\ndisplay_name = \"X\"\n" + rest +
                        "[selection_foreground]\nvalue = \"#ffffff\"\n",
                    "selection_foreground"},
        BadDocument{"palette a string",
                    "name = \"x\"\ndisplay_name = \"X\"\ndark = true\nbackground = \"#000000\"\n"
                    "foreground = \"#ffffff\"\npalette = \"#000000\"\n",
                    "palette"},
        BadDocument{"palette with a number",
                    "name = \"x\"\ndisplay_name = \"X\"\ndark = true\nbackground = \"#000000\"\n"
                    "foreground = \"#ffffff\"\npalette = [\"#000000\", 0]\n",
                    "palette"}));

// ---- Validation ----

struct ValidationCase {
    std::string label;
    std::function<void(Theme&)> change;
    std::string message; // empty: valid
};

void PrintTo(const ValidationCase& c, std::ostream* out) {
    *out << c.label;
}

class ThemeValidate : public testing::TestWithParam<ValidationCase> {};

TEST_P(ThemeValidate, ReportsTheFirstProblem) {
    Theme theme = valid_theme();
    GetParam().change(theme);
    auto result = theme.validate();
    if (GetParam().message.empty()) {
        EXPECT_TRUE(result.has_value()) << result.error();
    } else {
        ASSERT_FALSE(result.has_value());
        EXPECT_EQ(result.error(), GetParam().message);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, ThemeValidate,
    testing::Values(
        ValidationCase{"valid", [](Theme&) {}, ""},
        ValidationCase{"display name and dark are not examined",
                       [](Theme& t) {
                           t.display_name = "";
                           t.dark = false;
                       },
                       ""},
        ValidationCase{"optional colours set and valid",
                       [](Theme& t) {
                           t.cursor = "#ffffff";
                           t.cursor_foreground = " 000000 ";
                           t.selection_background = "#11223344";
                           t.selection_foreground = "#+f+f+f";
                       },
                       ""},
        ValidationCase{"empty name", [](Theme& t) { t.name = ""; }, "Theme name cannot be empty"},
        ValidationCase{"name of Unicode white space", [](Theme& t) { t.name = " \t\u00a0\u3000"; },
                       "Theme name cannot be empty"},
        ValidationCase{"spaced name is a name", [](Theme& t) { t.name = " nord "; }, ""},
        ValidationCase{"blank name reported before a short palette",
                       [](Theme& t) {
                           t.name = "  ";
                           t.palette = {"#000000", "#111111", "#222222"};
                       },
                       "Theme name cannot be empty"},
        ValidationCase{"15 entries", [](Theme& t) { t.palette.pop_back(); },
                       "Theme palette must contain exactly 16 colors, found 15"},
        ValidationCase{"17 entries", [](Theme& t) { t.palette.push_back("#000000"); },
                       "Theme palette must contain exactly 16 colors, found 17"},
        ValidationCase{"no entries", [](Theme& t) { t.palette.clear(); },
                       "Theme palette must contain exactly 16 colors, found 0"},
        ValidationCase{"palette length before colours",
                       [](Theme& t) {
                           t.background = "bad";
                           t.palette.pop_back();
                       },
                       "Theme palette must contain exactly 16 colors, found 15"},
        ValidationCase{"background", [](Theme& t) { t.background = "#fff"; },
                       "Invalid hex color length for: #fff"},
        ValidationCase{"background before foreground",
                       [](Theme& t) {
                           t.background = "#zz0000";
                           t.foreground = "#fff";
                       },
                       "Invalid red component in #zz0000: invalid digit found in string"},
        ValidationCase{"foreground before cursor",
                       [](Theme& t) {
                           t.foreground = "#00zz00";
                           t.cursor = "#fff";
                       },
                       "Invalid green component in #00zz00: invalid digit found in string"},
        ValidationCase{"cursor before cursor_foreground",
                       [](Theme& t) {
                           t.cursor = "x";
                           t.cursor_foreground = "y";
                       },
                       "Invalid hex color length for: x"},
        ValidationCase{"cursor_foreground before selection_background",
                       [](Theme& t) {
                           t.cursor_foreground = "y";
                           t.selection_background = "z";
                       },
                       "Invalid hex color length for: y"},
        ValidationCase{"selection_background before selection_foreground",
                       [](Theme& t) {
                           t.selection_background = "z";
                           t.selection_foreground = "w";
                       },
                       "Invalid hex color length for: z"},
        ValidationCase{"selection_foreground before the palette",
                       [](Theme& t) {
                           t.selection_foreground = "w";
                           t.palette[0] = "v";
                       },
                       "Invalid hex color length for: w"},
        ValidationCase{"palette entry 3 is a word", [](Theme& t) { t.palette[3] = "red"; },
                       "Palette color 3 invalid: Invalid hex color length for: red"},
        ValidationCase{"first bad palette entry wins",
                       [](Theme& t) {
                           t.palette[15] = "#fff";
                           t.palette[9] = "#0000gg";
                       },
                       "Palette color 9 invalid: Invalid blue component in #0000gg: invalid "
                       "digit found in string"},
        ValidationCase{"last palette entry", [](Theme& t) { t.palette[15] = "#1234567g"; },
                       "Palette color 15 invalid: Invalid alpha component in #1234567g: "
                       "invalid digit found in string"}));

TEST(ThemeReadAndValidate, DocumentWithoutCursorIsValidWithCursorUnset) {
    auto theme = Theme::from_toml(R"(name = "plain"
display_name = "Plain"
dark = true
background = "#000000"
foreground = "#ffffff"
palette = ["#000000", "#800000", "#008000", "#808000", "#000080", "#800080", "#008080",
           "#c0c0c0", "#808080", "#ff0000", "#00ff00", "#ffff00", "#0000ff", "#ff00ff",
           "#00ffff", "#ffffff"]
)");
    ASSERT_TRUE(theme.has_value()) << theme.error();
    EXPECT_FALSE(theme->cursor.has_value());
    EXPECT_TRUE(theme->validate().has_value());
}

} // namespace
} // namespace ombrix::theme
