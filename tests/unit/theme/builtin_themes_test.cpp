#include "theme/builtin_themes.hpp"
#include "theme/theme.hpp"

#include <array>
#include <gtest/gtest.h>
#include <string>

namespace ombrix::theme {
namespace {

// The first built-in, byte for byte: one key a line in record order, the palette one entry a
// line with a trailing comma, a final line feed.
const char* const kitty_dark_text = R"(name = "kitty-dark"
display_name = "Kitty Dark"
dark = true
background = "#181825"
foreground = "#cdd6f4"
cursor = "#f5e0dc"
cursor_foreground = "#181825"
selection_background = "#45475a"
selection_foreground = "#cdd6f4"
palette = [
  "#45475a",
  "#f38ba8",
  "#a6e3a1",
  "#f9e2af",
  "#89b4fa",
  "#f5c2e7",
  "#94e2d5",
  "#bac2de",
  "#585b70",
  "#f38ba8",
  "#a6e3a1",
  "#f9e2af",
  "#89b4fa",
  "#f5c2e7",
  "#94e2d5",
  "#a6adc8",
]
)";

TEST(BuiltinThemes, FirstTextIsKittyDarkExactly) {
    EXPECT_EQ(builtin_theme_texts[0], kitty_dark_text);
}

struct Expected {
    const char* name;
    const char* display_name;
    const char* background;
    const char* foreground;
    const char* cursor;
    const char* cursor_foreground;
    const char* selection_background;
    const char* selection_foreground;
    std::array<const char*, 16> palette;
};

// clang-format off
const Expected expected_themes[12] = {
    {"kitty-dark", "Kitty Dark", "#181825", "#cdd6f4", "#f5e0dc", "#181825", "#45475a", "#cdd6f4",
     {"#45475a", "#f38ba8", "#a6e3a1", "#f9e2af", "#89b4fa", "#f5c2e7", "#94e2d5", "#bac2de", "#585b70", "#f38ba8", "#a6e3a1", "#f9e2af", "#89b4fa", "#f5c2e7", "#94e2d5", "#a6adc8"}},
    {"nord", "Nord", "#2e3440", "#d8dee9", "#d8dee9", "#2e3440", "#434c5e", "#eceff4",
     {"#3b4252", "#bf616a", "#a3be8c", "#ebcb8b", "#81a1c1", "#b48ead", "#88c0d0", "#e5e9f0", "#4c566a", "#bf616a", "#a3be8c", "#ebcb8b", "#81a1c1", "#b48ead", "#8fbcbb", "#eceff4"}},
    {"dracula", "Dracula", "#282a36", "#f8f8f2", "#f8f8f2", "#282a36", "#44475a", "#f8f8f2",
     {"#21222c", "#ff5555", "#50fa7b", "#f1fa8c", "#bd93f9", "#ff79c6", "#8be9fd", "#f8f8f2", "#6272a4", "#ff6e6e", "#69ff94", "#ffffa5", "#d6acff", "#ff92df", "#a4ffff", "#ffffff"}},
    {"solarized-dark", "Solarized Dark", "#002b36", "#839496", "#93a1a1", "#002b36", "#073642", "#93a1a1",
     {"#073642", "#dc322f", "#859900", "#b58900", "#268bd2", "#d33682", "#2aa198", "#eee8d5", "#002b36", "#cb4b16", "#586e75", "#657b83", "#839496", "#6c71c4", "#93a1a1", "#fdf6e3"}},
    {"gruvbox-dark", "Gruvbox Dark", "#282828", "#ebdbb2", "#ebdbb2", "#282828", "#504945", "#ebdbb2",
     {"#282828", "#cc241d", "#98971a", "#d79921", "#458588", "#b16286", "#689d6a", "#a89984", "#928374", "#fb4934", "#b8bb26", "#fabd2f", "#83a598", "#d3869b", "#8ec07c", "#ebdbb2"}},
    {"catppuccin-mocha", "Catppuccin Mocha", "#1e1e2e", "#cdd6f4", "#f5e0dc", "#1e1e2e", "#45475a", "#cdd6f4",
     {"#45475a", "#f38ba8", "#a6e3a1", "#f9e2af", "#89b4fa", "#f5c2e7", "#94e2d5", "#bac2de", "#585b70", "#f38ba8", "#a6e3a1", "#f9e2af", "#89b4fa", "#f5c2e7", "#94e2d5", "#a6adc8"}},
    {"tokyo-night", "Tokyo Night", "#1a1b26", "#c0caf5", "#c0caf5", "#1a1b26", "#33467c", "#c0caf5",
     {"#15161e", "#f7768e", "#9ece6a", "#e0af68", "#7aa2f7", "#bb9af7", "#7dcfff", "#a9b1d6", "#414868", "#f7768e", "#9ece6a", "#e0af68", "#7aa2f7", "#bb9af7", "#7dcfff", "#c0caf5"}},
    {"one-dark", "One Dark", "#282c34", "#abb2bf", "#528bff", "#282c34", "#3e4451", "#abb2bf",
     {"#282c34", "#e06c75", "#98c379", "#e5c07b", "#61afef", "#c678dd", "#56b6c2", "#abb2bf", "#5c6370", "#e06c75", "#98c379", "#e5c07b", "#61afef", "#c678dd", "#56b6c2", "#ffffff"}},
    {"rose-pine", "Rosé Pine", "#191724", "#e0def4", "#524f67", "#e0def4", "#2a283e", "#e0def4",
     {"#26233a", "#eb6f92", "#31748f", "#f6c177", "#9ccfd8", "#c4a7e7", "#ebbcba", "#e0def4", "#6e6a86", "#eb6f92", "#31748f", "#f6c177", "#9ccfd8", "#c4a7e7", "#ebbcba", "#e0def4"}},
    {"monokai-pro", "Monokai Pro", "#2d2a2e", "#fcfcfa", "#ffd866", "#2d2a2e", "#403e41", "#fcfcfa",
     {"#2d2a2e", "#ff6188", "#a9dc76", "#ffd866", "#78dce8", "#ab9df2", "#78dce8", "#fcfcfa", "#727072", "#ff6188", "#a9dc76", "#ffd866", "#78dce8", "#ab9df2", "#78dce8", "#fcfcfa"}},
    {"everforest-dark", "Everforest Dark", "#2d353b", "#d3c6aa", "#d3c6aa", "#2d353b", "#3d484d", "#d3c6aa",
     {"#343f44", "#e67e80", "#a7c080", "#dbbc7f", "#7fbbb3", "#d699b6", "#83c092", "#d3c6aa", "#859289", "#e67e80", "#a7c080", "#dbbc7f", "#7fbbb3", "#d699b6", "#83c092", "#9da9a0"}},
    {"kanagawa", "Kanagawa", "#1f1f28", "#dcd7ba", "#c8c093", "#1f1f28", "#2d4f67", "#dcd7ba",
     {"#16161d", "#c34043", "#76946a", "#c0a36e", "#7e9cd8", "#957fb8", "#6a9589", "#c8c093", "#727169", "#e82424", "#98bb6c", "#e6c384", "#7fb4ca", "#938aa9", "#7aa89f", "#dcd7ba"}},
};
// clang-format on

TEST(BuiltinThemes, AllTwelveReadValidateAndHoldTheirColours) {
    ASSERT_EQ(builtin_theme_texts.size(), 12u);
    for (std::size_t i = 0; i < 12; ++i) {
        const Expected& want = expected_themes[i];
        SCOPED_TRACE(want.name);
        auto theme = Theme::from_toml(builtin_theme_texts[i]);
        ASSERT_TRUE(theme.has_value()) << theme.error();
        auto valid = theme->validate();
        EXPECT_TRUE(valid.has_value()) << valid.error();
        EXPECT_EQ(theme->name, want.name);
        EXPECT_EQ(theme->display_name, want.display_name);
        EXPECT_TRUE(theme->dark);
        EXPECT_EQ(theme->background, want.background);
        EXPECT_EQ(theme->foreground, want.foreground);
        EXPECT_EQ(theme->cursor, want.cursor);
        EXPECT_EQ(theme->cursor_foreground, want.cursor_foreground);
        EXPECT_EQ(theme->selection_background, want.selection_background);
        EXPECT_EQ(theme->selection_foreground, want.selection_foreground);
        ASSERT_EQ(theme->palette.size(), 16u);
        for (std::size_t j = 0; j < 16; ++j) {
            EXPECT_EQ(theme->palette[j], want.palette[j]) << "palette entry " << j;
        }
    }
}

TEST(BuiltinThemes, AllShareOneLayout) {
    // Every text is the kitty-dark text with the values changed: same keys, same lines.
    auto shape = [](std::string_view text) {
        std::string out;
        bool in_quotes = false;
        for (char c : text) {
            if (c == '"') {
                in_quotes = !in_quotes;
                out += c;
            } else if (!in_quotes) {
                out += c;
            }
        }
        return out;
    };
    for (std::string_view text : builtin_theme_texts) {
        EXPECT_EQ(shape(text), shape(kitty_dark_text)) << text;
    }
}

} // namespace
} // namespace ombrix::theme
