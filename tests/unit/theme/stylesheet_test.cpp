#include "theme/catalogue.hpp"
#include "theme/stylesheet.hpp"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace ombrix::theme {
namespace {

struct Rule {
    std::vector<std::string> selectors;
    std::vector<std::string> declarations;
};

std::string trim(std::string_view text) {
    std::size_t begin = text.find_first_not_of(" \t\n");
    if (begin == std::string_view::npos) {
        return "";
    }
    std::size_t end = text.find_last_not_of(" \t\n");
    return std::string(text.substr(begin, end - begin + 1));
}

// A small reader for the generated text: rules of comma-separated selectors and
// semicolon-separated declarations. Quoted strings (with backslash escapes) are kept whole, so
// a brace or semicolon inside one cannot end anything. Fails the test on anything else.
std::vector<Rule> parse_rules(std::string_view css) {
    std::vector<Rule> rules;
    Rule current;
    std::string item;
    bool in_block = false;
    for (std::size_t i = 0; i < css.size(); ++i) {
        char c = css[i];
        if (c == '"') {
            std::size_t start = i++;
            while (i < css.size() && css[i] != '"') {
                i += css[i] == '\\' ? 2 : 1;
            }
            EXPECT_LT(i, css.size()) << "unterminated string";
            item += css.substr(start, i - start + 1);
        } else if (!in_block && c == ',') {
            current.selectors.push_back(trim(item));
            item.clear();
        } else if (!in_block && c == '{') {
            current.selectors.push_back(trim(item));
            item.clear();
            in_block = true;
        } else if (in_block && c == ';') {
            current.declarations.push_back(trim(item));
            item.clear();
        } else if (in_block && c == '}') {
            EXPECT_EQ(trim(item), "") << "declaration without a semicolon";
            item.clear();
            rules.push_back(std::move(current));
            current = Rule();
            in_block = false;
        } else {
            EXPECT_FALSE(!in_block && (c == '}' || c == ';')) << "stray '" << c << "'";
            item += c;
        }
    }
    EXPECT_FALSE(in_block);
    EXPECT_EQ(trim(item), "");
    return rules;
}

Theme test_theme(bool dark) {
    Theme theme;
    theme.name = "probe";
    theme.display_name = "Probe";
    theme.dark = dark;
    theme.background = "#102030";
    theme.foreground = "#e0d0c0";
    theme.palette.assign(16, "#000000");
    return theme;
}

bool has(const Rule& rule, const std::string& declaration) {
    for (const auto& d : rule.declarations) {
        if (d == declaration) {
            return true;
        }
    }
    return false;
}

const std::vector<std::string> first_selectors = {
    "window",
    "window",
    "headerbar",
    "headerbar > windowhandle",
    ".ombrix-header-left",
    ".ombrix-sidebar-toggle",
    "headerbar windowcontrols",
    "headerbar windowcontrols button",
    "headerbar button",
    "headerbar button",
    "button.circular",
    "button:hover",
    "button:active",
    "entry",
    "entry > text",
    "spinbutton > button",
    "entry:focus",
    "tabbar",
    "tabbar scrolledwindow",
    "tabbox",
    "tabboxchild",
    "tabbar .start-action",
    "tabbar tab",
    "tabbar tab image",
    "tabbar tab label",
    "tabbar tab:hover",
    "tabbar tab:checked",
    "tabbar tab button",
    ".ombrix-sidebar",
    ".ombrix-sidebar list",
    ".ombrix-sidebar label.heading",
    ".ombrix-sidebar list > row",
    ".ombrix-sidebar-row image",
    ".ombrix-sidebar-row label",
    ".ombrix-sidebar-row:hover",
    ".ombrix-sidebar-row:selected",
    ".ombrix-active-dot",
    ".ombrix-sidebar button",
    "button.ombrix-sidebar-new-btn",
    ".ombrix-searchbar",
    ".ombrix-searchbar entry",
    ".ombrix-searchbar entry > text",
    ".ombrix-searchbar button",
    ".ombrix-pane-focused",
    "paned > separator",
    "dropdown",
    "popover",
    "popover > contents",
    "popover > arrow",
    "popover scrolledwindow",
    "popover listview > row",
    "popover listview > row:hover",
    "popover listview > row:last-child",
    "dropdown popover image",
    ".ombrix-context-menu > contents",
    "button.ombrix-context-item",
    "button.ombrix-context-item:hover",
    "button.ombrix-context-item:active",
    "button.ombrix-context-item:disabled",
    ".ombrix-context-shortcut",
    "dialog.preferences",
    "dialog.preferences > contents",
    "dialog.preferences headerbar",
    "dialog.preferences button",
    "dialog.preferences windowcontrols button",
    "dialog.preferences viewswitcher",
    "dialog.preferences viewswitcher button",
    "dialog.preferences viewswitcher button:hover",
    "dialog.preferences viewswitcher button:checked",
    "preferencesgroup",
    "preferencesgroup label.heading",
    "card",
    ".boxed-list > row",
    ".boxed-list > row:hover",
    ".boxed-list > row:first-child",
    ".boxed-list > row:last-child",
    "switch",
    "switch",
    "switch:checked",
    "switch > slider",
    "spinbutton",
    "spinbutton > button",
    "spinbutton > button:hover",
    "spinbutton > button:active",
    "spinbutton > text",
    "dropdown",
    "dialog.preferences dropdown > button",
    "adwentryrow entry",
    "adwentryrow entry > text",
    "switch",
    "scrollbar slider",
    "tooltip",
    "scale slider",
    "progressbar",
    "checkbutton check",
    "dialog",
};

TEST(Stylesheet, HasTheNinetySixRulesInOrder) {
    auto rules = parse_rules(build_stylesheet(test_theme(true), ""));
    ASSERT_EQ(rules.size(), 96u);
    for (std::size_t i = 0; i < rules.size(); ++i) {
        ASSERT_FALSE(rules[i].selectors.empty());
        EXPECT_EQ(rules[i].selectors.front(), first_selectors[i]) << "rule " << i + 1;
        EXPECT_FALSE(rules[i].declarations.empty()) << "rule " << i + 1;
    }
}

TEST(Stylesheet, ExpandsSelectorAndDeclarationShorthands) {
    auto rules = parse_rules(build_stylesheet(test_theme(true), "Fira Sans"));
    ASSERT_EQ(rules.size(), 96u);

    EXPECT_EQ(rules[0].selectors.size(), 25u);
    EXPECT_EQ(rules[0].selectors.back(), "preferencesdialog");
    EXPECT_EQ(rules[0].declarations,
              (std::vector<std::string>{"font-family: \"Fira Sans\", \"Poppins\", sans-serif"}));

    EXPECT_EQ(
        rules[3].declarations,
        (std::vector<std::string>{"min-height: 32px", "padding: 0", "padding-left: 0",
                                  "padding-right: 0", "margin: 0", "margin-left: 0",
                                  "margin-right: 0", "border-radius: 0", "box-shadow: none"}));

    EXPECT_EQ(rules[13].selectors,
              (std::vector<std::string>{"entry", "searchentry", "passwordentry", "spinbutton"}));
    EXPECT_EQ(
        rules[13].declarations,
        (std::vector<std::string>{"border-radius: 4px", "min-height: 32px", "padding: 0 8px",
                                  "border: 1px solid rgba(255, 255, 255, 0.08)", "box-shadow: none",
                                  "background: transparent", "background-color: transparent",
                                  "background-image: none", "color: #e0d0c0"}));

    // Declarations GTK cannot parse with "!important" are written without it.
    EXPECT_EQ(rules[46].selectors,
              (std::vector<std::string>{"popover", "popover.menu", "dropdown popover",
                                        ".ombrix-theme-dropdown popover", ".ombrix-context-menu"}));
    EXPECT_EQ(rules[46].declarations,
              (std::vector<std::string>{"background: transparent", "background-color: transparent",
                                        "background-image: none", "border: none",
                                        "box-shadow: none", "padding: 0", "margin: 0"}));

    EXPECT_EQ(rules[60].selectors,
              (std::vector<std::string>{"dialog.preferences", "preferencesdialog",
                                        ".ombrix-preferences", ".ombrix-preferences-dialog"}));

    ASSERT_EQ(rules[61].selectors.size(), 18u);
    EXPECT_EQ(rules[61].selectors[0], "dialog.preferences > contents");
    EXPECT_EQ(rules[61].selectors[3], ".ombrix-preferences-dialog > contents");
    EXPECT_EQ(rules[61].selectors[4], "dialog.preferences sheet");
    EXPECT_EQ(rules[61].selectors[11], ".ombrix-preferences-dialog preferencespage");
    EXPECT_EQ(rules[61].selectors[12], "dialog.preferences viewport");
    EXPECT_EQ(rules[61].selectors[17], ".ombrix-preferences-dialog scrolledwindow");

    ASSERT_EQ(rules[63].selectors.size(), 24u);
    EXPECT_EQ(rules[63].selectors[5], "preferencesdialog togglebutton");
    EXPECT_EQ(rules[63].selectors[23], ".ombrix-preferences-dialog button.close");

    EXPECT_EQ(rules[86].selectors,
              (std::vector<std::string>{"dialog.preferences dropdown > button",
                                        "preferencesdialog dropdown > button",
                                        ".ombrix-preferences dropdown > button",
                                        ".ombrix-preferences-dialog dropdown > button",
                                        ".ombrix-theme-dropdown > button"}));
    EXPECT_EQ(rules[86].declarations, (std::vector<std::string>{"min-width: 32px", "border: none",
                                                                "background: transparent",
                                                                "background-color: transparent"}));

    EXPECT_EQ(rules[95].selectors, (std::vector<std::string>{"dialog", "dialog > contents"}));
    EXPECT_EQ(rules[95].declarations, (std::vector<std::string>{"border-radius: 4px"}));
}

TEST(Stylesheet, LeavesNoMarkersOrImportantBehind) {
    for (bool dark : {true, false}) {
        std::string css = build_stylesheet(test_theme(dark), "Cantarell");
        EXPECT_EQ(css.find('['), std::string::npos);
        EXPECT_EQ(css.find('!'), std::string::npos);
        EXPECT_EQ(css.find("  ;"), std::string::npos);
    }
}

struct SlotCase {
    bool dark;
    std::string line, hover, pressed, selected_tab, sidebar;
};

TEST(Stylesheet, FillsTheSlotsForDarkAndLightThemes) {
    const SlotCase cases[] = {
        {true, "rgba(255, 255, 255, 0.08)", "rgba(255, 255, 255, 0.08)",
         "rgba(255, 255, 255, 0.12)", "rgba(255, 255, 255, 0.04)", "#0e1c2a"},
        {false, "rgba(0, 0, 0, 0.12)", "rgba(0, 0, 0, 0.08)", "rgba(0, 0, 0, 0.12)",
         "rgba(0, 0, 0, 0.04)", "#0f1e2d"},
    };
    for (const SlotCase& c : cases) {
        SCOPED_TRACE(c.dark ? "dark" : "light");
        auto rules = parse_rules(build_stylesheet(test_theme(c.dark), ""));
        ASSERT_EQ(rules.size(), 96u);
        EXPECT_TRUE(has(rules[1], "background-color: #102030"));
        EXPECT_TRUE(has(rules[1], "color: #e0d0c0"));
        EXPECT_TRUE(has(rules[2], "border-bottom: 1px solid " + c.line));
        EXPECT_TRUE(has(rules[11], "background-color: " + c.hover));
        EXPECT_TRUE(has(rules[12], "background-color: " + c.pressed));
        EXPECT_TRUE(has(rules[26], "background-color: " + c.selected_tab));
        EXPECT_TRUE(has(rules[26], "border: 1px solid " + c.line));
        EXPECT_TRUE(has(rules[28], "background-color: " + c.sidebar));
        EXPECT_TRUE(has(rules[39], "background-color: " + c.sidebar));
        EXPECT_TRUE(has(rules[43], "outline: 1px solid " + c.hover));
        EXPECT_TRUE(has(rules[47], "background-color: #102030"));
        EXPECT_TRUE(has(rules[79], "background-color: #e0d0c0"));
    }
}

TEST(SidebarBackground, DarkensTheBackground) {
    auto catalogue = ThemeCatalogue::load_from("/nonexistent/ombrix/themes");
    EXPECT_EQ(sidebar_background(catalogue.get("kitty-dark")), "#151521");
    EXPECT_EQ(sidebar_background(catalogue.get("nord")), "#282e38");

    Theme theme = test_theme(false);
    theme.background = "#ffffff";
    EXPECT_EQ(sidebar_background(theme), "#f0f0f0");
    theme.dark = true;
    EXPECT_EQ(sidebar_background(theme), "#e0e0e0");
    // Alpha is ignored; white space, a missing "#" and upper case are read as usual.
    theme.background = " FFFFFF00 ";
    EXPECT_EQ(sidebar_background(theme), "#e0e0e0");
    theme.background = "#000000";
    EXPECT_EQ(sidebar_background(theme), "#000000");
    // 0xAB * 0.88 = 150.48 -> 0x96; 0x10 * 0.88 = 14.08 -> 0x0e; 0xF5 * 0.88 = 215.6 -> 0xd8.
    theme.background = "#AB10F5";
    EXPECT_EQ(sidebar_background(theme), "#960ed8");
    // What does not parse is passed on as written.
    theme.background = "#fff";
    EXPECT_EQ(sidebar_background(theme), "#fff");
}

TEST(InterfaceFont, TrimsAndReplacesTheMisspeltDefault) {
    const std::pair<std::string, std::string> cases[] = {
        {"", "Poppins"},
        {"   ", "Poppins"},
        {"\t\u00a0\u3000", "Poppins"},
        {"poppines", "Poppins"},
        {"Poppines", "Poppins"},
        {"POPPINES", "Poppins"},
        {"  pOpPiNeS ", "Poppins"},
        {"Poppins", "Poppins"},
        {"Poppinesx", "Poppinesx"},
        {"popp ines", "popp ines"},
        {"  Fira Sans  ", "Fira Sans"},
        {"\u2003DejaVu Sans Mono\n", "DejaVu Sans Mono"},
    };
    for (const auto& [input, expected] : cases) {
        EXPECT_EQ(interface_font(input), expected) << '"' << input << '"';
    }
    auto rules = parse_rules(build_stylesheet(test_theme(true), " POPPINES "));
    ASSERT_FALSE(rules.empty());
    EXPECT_EQ(rules[0].declarations.front(), "font-family: \"Poppins\", \"Poppins\", sans-serif");
}

TEST(Stylesheet, EscapesTheFontFamilyAsACssString) {
    const std::pair<std::string, std::string> cases[] = {
        {"a\"b", "a\\\"b"},
        {"back\\slash", "back\\\\slash"},
        {"x}y{z;w", "x}y{z;w"},
        {"two\nlines", "two\\a lines"},
        {"tab\there", "tab\\9 here"},
        {"unit\x1fsep\x7f", "unit\\1f sep\\7f "},
        {"caf\u00e9 \u732b", "caf\u00e9 \u732b"},
        {"bad\xff", "bad\\fffd "},
        {"\" } window { color: red; } label { font-family: \"",
         "\\\" } window { color: red; } label { font-family: \\\""},
    };
    for (const auto& [family, escaped] : cases) {
        std::string css = build_stylesheet(test_theme(true), family);
        auto rules = parse_rules(css);
        ASSERT_EQ(rules.size(), 96u) << family;
        EXPECT_EQ(rules[0].declarations, (std::vector<std::string>{"font-family: \"" + escaped +
                                                                   "\", \"Poppins\", sans-serif"}))
            << family;
        EXPECT_EQ(rules[1].selectors.front(), "window");
    }
}

TEST(Stylesheet, WritesValidThemeColoursInAFormCssReads) {
    // Forms the colour parser accepts but CSS does not are normalised; valid CSS is kept.
    const std::pair<std::string, std::string> cases[] = {
        {"#181825", "#181825"},
        {"#ABCDEF", "#ABCDEF"},
        {"181825", "#181825"},
        {"  #FFFFFF  ", "#FFFFFF"},
        {"\u00a0#123456\u3000", "#123456"},
        {"#1818257f", "#1818257f"},
        {"#+f+f+f", "#0f0f0f"},
        // Not a theme colour at all: harmless words pass, anything that could leave the
        // declaration does not.
        {"red", "red"},
        {"rgba(1, 2, 3, 0.5)", "rgba(1, 2, 3, 0.5)"},
        {"#000; } window { background-image: none", "transparent"},
        {"red /* x", "transparent"},
        {"", "transparent"},
    };
    for (const auto& [written, css] : cases) {
        Theme theme = test_theme(true);
        theme.background = written;
        theme.foreground = written;
        auto rules = parse_rules(build_stylesheet(theme, ""));
        ASSERT_EQ(rules.size(), 96u) << written;
        EXPECT_TRUE(has(rules[1], "background-color: " + css)) << written;
        EXPECT_TRUE(has(rules[1], "color: " + css)) << written;
    }
}

} // namespace
} // namespace ombrix::theme
