#include "theme/stylesheet.hpp"

#include "theme/color.hpp"
#include "util/unicode.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <glib.h>
#include <vector>

namespace ombrix::theme {
namespace {

// The rules as written by hand: selectors separated by ", ", declarations by "; ", "[n]" marks
// substitution slot n. Shorthands expanded when the template is built:
//   a selector "P" or "P x": the four preferences-dialog roots, each followed by " x";
//   a declaration "Z": no padding or margin at all; "T": no background of any kind.
// GTK's CSS has no "!important" (such declarations are rejected with a warning), and this
// stylesheet's provider already sits at user priority, above the theme's own rules.
struct RuleSource {
    std::string_view selectors;
    std::string_view declarations;
};

// clang-format off
constexpr RuleSource rule_sources[] = {
    // 1
    {"window, window > contents, window.ombrix-window, window.ombrix-window > contents, .ombrix-window, headerbar, headerbar.default-decoration, headerbar.ombrix-header, .ombrix-header, tabbar, tabbar tab, tab, .ombrix-sidebar, .ombrix-searchbar, button, togglebutton, entry, searchentry, label, dropdown, popover, dialog, dialog > contents, messagedialog, preferencesdialog",
     "font-family: \"[0]\", \"Poppins\", sans-serif"},
    // 2
    {"window, window > contents, window.ombrix-window, window.ombrix-window > contents, .ombrix-window, dialog, dialog > contents, messagedialog, preferencesdialog",
     "background-color: [1]; color: [2]; border-radius: 4px"},
    // 3
    {"headerbar, headerbar.default-decoration, headerbar.ombrix-header, .ombrix-header",
     "background-color: [1]; background-image: none; color: [2]; border-bottom: 1px solid [3]; border-radius: 0; box-shadow: none; padding: 0; padding-left: 0; padding-right: 0; min-height: 32px; margin: 0"},
    // 4
    {"headerbar > windowhandle, headerbar > windowhandle > box, .ombrix-header > windowhandle, .ombrix-header > windowhandle > box",
     "min-height: 32px; Z; border-radius: 0; box-shadow: none"},
    // 5
    {".ombrix-header-left, .ombrix-header-right",
     "Z"},
    // 6
    {".ombrix-sidebar-toggle, button.ombrix-sidebar-toggle, togglebutton.ombrix-sidebar-toggle, headerbar .ombrix-sidebar-toggle, .ombrix-header .ombrix-sidebar-toggle",
     "min-height: 32px; min-width: 32px; Z; border-radius: 4px; box-shadow: none"},
    // 7
    {"headerbar windowcontrols, .ombrix-header windowcontrols, windowcontrols, windowcontrols.start, windowcontrols.end, headerbar windowcontrols.start, headerbar windowcontrols.end, headerbar windowcontrols.start:dir(ltr), headerbar windowcontrols.end:dir(rtl), headerbar windowcontrols.start:dir(rtl), headerbar windowcontrols.end:dir(ltr)",
     "border-spacing: 0; Z"},
    // 8
    {"headerbar windowcontrols button, .ombrix-header windowcontrols button, windowcontrols button, windowcontrols button.close, headerbar windowcontrols button.close, .ombrix-header windowcontrols button.close, button.close, .ombrix-close-btn, button.ombrix-close-btn",
     "min-height: 32px; min-width: 32px; Z; border-radius: 4px; box-shadow: none"},
    // 9
    {"headerbar button, headerbar togglebutton, .ombrix-header button, .ombrix-header togglebutton, .ombrix-new-tab-btn, button, togglebutton, splitbutton, splitbutton > button, menubutton, menubutton > button",
     "min-height: 32px; border-radius: 4px; padding: 0 8px; margin: 0; border: none; box-shadow: none; transition: background-color 120ms ease"},
    // 10
    {"headerbar button, headerbar togglebutton, .ombrix-header button, .ombrix-header togglebutton, .ombrix-new-tab-btn",
     "min-width: 32px; padding: 0; margin: 0"},
    // 11
    {"button.circular, .circular",
     "border-radius: 4px"},
    // 12
    {"button:hover, togglebutton:hover",
     "background-color: [4]"},
    // 13
    {"button:active, togglebutton:active, togglebutton:checked",
     "background-color: [5]"},
    // 14
    {"entry, searchentry, passwordentry, spinbutton",
     "border-radius: 4px; min-height: 32px; padding: 0 8px; border: 1px solid [3]; box-shadow: none; T; color: [2]"},
    // 15
    {"entry > text, searchentry > text, passwordentry > text, spinbutton > text",
     "min-height: 0; padding: 0; margin: 0; border: none; box-shadow: none; background: transparent; color: [2]"},
    // 16
    {"spinbutton > button",
     "border-radius: 4px; padding: 1px 3px"},
    // 17
    {"entry:focus, searchentry:focus, spinbutton:focus",
     "border-color: [4]; outline: none"},
    // 18
    {"tabbar, tabbar.ombrix-tabbar, .ombrix-tabbar, tabbar .box, tabbar tabbox, tabbar > revealer > box, tabbar box",
     "background-color: transparent; background-image: none; border: none; border-radius: 0; box-shadow: none; min-height: 24px; padding: 0; margin: 0"},
    // 19
    {"tabbar scrolledwindow",
     "min-height: 22px; padding: 0; margin: 0"},
    // 20
    {"tabbox",
     "min-height: 22px; padding: 0; margin: 0"},
    // 21
    {"tabboxchild",
     "min-height: 22px; min-width: 120px; padding: 0; margin: 0"},
    // 22
    {"tabbar .start-action, tabbar .end-action",
     "padding: 0; margin: 0"},
    // 23
    {"tabbar tab, tab",
     "padding: 0 4px; margin: 0 2px; min-height: 20px; min-width: 120px; border-radius: 4px; border: 1px solid transparent; box-shadow: none; transition: background-color 120ms ease; font-size: 13px; font-weight: bold"},
    // 24
    {"tabbar tab image, tab image",
     "padding: 0; margin: 0 4px 0 2px"},
    // 25
    {"tabbar tab label, tab label",
     "padding: 0 2px; margin: 0; min-height: 14px; font-size: 13px; font-weight: bold"},
    // 26
    {"tabbar tab:hover, tab:hover",
     "background-color: [4]"},
    // 27
    {"tabbar tab:checked, tabbar tab:selected, tab:checked, tab:selected",
     "background-color: [6]; border: 1px solid [3]; border-radius: 4px; box-shadow: none"},
    // 28
    {"tabbar tab button, tabbar tab button.image-button, tabbar tab button.close, tabbar tab button.tab-indicator, tab button, tab button.close, tab button.tab-indicator",
     "border-radius: 4px; min-height: 14px; min-width: 14px; Z; box-shadow: none"},
    // 29
    {".ombrix-sidebar",
     "background-color: [7]; color: [2]; border-right: 1px solid [3]; padding: 4px; border-radius: 4px"},
    // 30
    {".ombrix-sidebar list, .ombrix-sidebar listbox",
     "background-color: transparent; border: none"},
    // 31
    {".ombrix-sidebar label.heading",
     "font-size: 10px; font-weight: 700; letter-spacing: 0.08em; opacity: 0.65; margin-top: 4px; margin-bottom: 2px"},
    // 32
    {".ombrix-sidebar list > row, .ombrix-sidebar listbox > row, .ombrix-sidebar listview > row, .ombrix-sidebar-row, listbox row.ombrix-sidebar-row, row.ombrix-sidebar-row",
     "min-height: 32px; padding: 0 8px; margin: 0; border-radius: 4px; border: none; box-shadow: none; font-weight: bold"},
    // 33
    {".ombrix-sidebar-row image",
     "margin-right: 6px"},
    // 34
    {".ombrix-sidebar-row label, .ombrix-sidebar-session-label",
     "font-weight: bold"},
    // 35
    {".ombrix-sidebar-row:hover",
     "background-color: [4]"},
    // 36
    {".ombrix-sidebar-row:selected, .ombrix-sidebar-row.active",
     "background-color: [5]"},
    // 37
    {".ombrix-active-dot",
     "min-width: 6px; min-height: 6px; border-radius: 3px; background-color: #14b8a6; margin-right: 2px"},
    // 38
    {".ombrix-sidebar button, .ombrix-sidebar button.flat, .ombrix-sidebar-btn, button.ombrix-sidebar-new-btn",
     "min-height: 32px; padding: 0 8px; margin: 0; border-radius: 4px; border: none; box-shadow: none"},
    // 39
    {"button.ombrix-sidebar-new-btn, .ombrix-sidebar button.image-button",
     "min-width: 32px; padding: 0"},
    // 40
    {".ombrix-searchbar",
     "background-color: [7]; border-bottom: 1px solid [3]; padding: 3px 6px; border-radius: 4px"},
    // 41
    {".ombrix-searchbar entry, .ombrix-search-entry",
     "min-height: 32px; padding: 0 8px; margin: 0; border: 1px solid [3]; border-radius: 4px; box-shadow: none; T; color: [2]"},
    // 42
    {".ombrix-searchbar entry > text, .ombrix-search-entry > text",
     "min-height: 0; padding: 0; margin: 0; border: none; box-shadow: none; background: transparent; color: [2]"},
    // 43
    {".ombrix-searchbar button, .ombrix-searchbar togglebutton",
     "min-height: 32px; min-width: 32px; padding: 0 4px; margin: 0; border: none; border-radius: 4px; box-shadow: none"},
    // 44
    {".ombrix-pane-focused",
     "outline: 1px solid [4]; outline-offset: -1px"},
    // 45
    {"paned > separator",
     "min-width: 2px; min-height: 2px; background-color: [3]; margin: 0; padding: 0"},
    // 46
    {"dropdown, dropdown > button",
     "border-radius: 4px; min-height: 32px; padding: 2px 6px; border: 1px solid [3]; box-shadow: none; T; color: [2]"},
    // 47
    {"popover, popover.menu, dropdown popover, .ombrix-theme-dropdown popover, .ombrix-context-menu",
     "T; border: none; box-shadow: none; padding: 0; margin: 0"},
    // 48
    {"popover > contents, popover.menu > contents, dropdown popover > contents, .ombrix-theme-dropdown popover > contents, .ombrix-context-menu > contents",
     "border-radius: 4px; padding: 0; margin: 0; border: 1px solid [3]; background-color: [1]; background-image: none; box-shadow: 0 4px 14px rgba(0, 0, 0, 0.4)"},
    // 49
    {"popover > arrow, dropdown popover > arrow",
     "background: transparent; border: none"},
    // 50
    {"popover scrolledwindow, popover scrolledwindow > viewport, popover listview, popover listbox, popover .view, popover list, dropdown popover scrolledwindow, dropdown popover scrolledwindow > viewport, dropdown popover listview, dropdown popover listbox, dropdown popover .view, dropdown popover list, .ombrix-theme-dropdown popover scrolledwindow, .ombrix-theme-dropdown popover scrolledwindow > viewport, .ombrix-theme-dropdown popover listview, .ombrix-theme-dropdown popover listbox",
     "T; border: none; box-shadow: none; padding: 0; margin: 0"},
    // 51
    {"popover listview > row, popover listbox > row, dropdown popover row, dropdown popover listitem, .ombrix-theme-dropdown popover row, .ombrix-theme-dropdown popover listitem",
     "T; border: none; border-bottom: 1px solid [3]; border-radius: 0; box-shadow: none; color: [2]; padding: 6px 12px; margin: 0; min-height: 28px"},
    // 52
    {"popover listview > row:hover, popover listbox > row:hover, dropdown popover row:hover, dropdown popover listitem:hover, .ombrix-theme-dropdown popover row:hover, .ombrix-theme-dropdown popover listitem:hover, popover listview > row:selected, popover listbox > row:selected, dropdown popover row:selected, dropdown popover listitem:selected, .ombrix-theme-dropdown popover row:selected, .ombrix-theme-dropdown popover listitem:selected",
     "background-color: [4]; color: [2]"},
    // 53
    {"popover listview > row:last-child, popover listbox > row:last-child, dropdown popover row:last-child, dropdown popover listitem:last-child, .ombrix-theme-dropdown popover row:last-child, .ombrix-theme-dropdown popover listitem:last-child",
     "border-bottom: none"},
    // 54
    {"dropdown popover image, popover image.checkmark, popover checkmark",
     "color: [2]"},
    // 55
    {".ombrix-context-menu > contents",
     "padding: 4px"},
    // 56
    {"button.ombrix-context-item",
     "background: transparent; background-color: transparent; color: [2]; border: none; border-radius: 4px; padding: 6px 10px; min-height: 28px; min-width: 170px; font-size: 12px; transition: background-color 120ms ease"},
    // 57
    {"button.ombrix-context-item:hover",
     "background-color: [4]; color: [2]"},
    // 58
    {"button.ombrix-context-item:active",
     "background-color: [5]"},
    // 59
    {"button.ombrix-context-item:disabled",
     "opacity: 0.4"},
    // 60
    {".ombrix-context-shortcut",
     "opacity: 0.55; font-size: 11px; margin-left: 14px"},
    // 61
    {"P",
     "background-color: [1]; color: [2]; border-radius: 4px; box-shadow: none"},
    // 62
    {"P > contents, P sheet, P preferencespage, dialog.preferences viewport, dialog.preferences scrolledwindow, .ombrix-preferences viewport, .ombrix-preferences scrolledwindow, .ombrix-preferences-dialog viewport, .ombrix-preferences-dialog scrolledwindow",
     "background-color: [1]; color: [2]; border-radius: 4px"},
    // 63
    {"P headerbar",
     "background-color: [1]; background-image: none; color: [2]; border-bottom: 1px solid [3]; border-radius: 4px 4px 0 0; min-height: 32px; padding: 0 4px; margin: 0; box-shadow: none"},
    // 64
    {"P button, P togglebutton, P headerbar button, P windowcontrols button, P button.back, P button.close",
     "min-height: 32px; min-width: 32px; border-radius: 4px; box-shadow: none; padding: 0 6px; margin: 0; color: [2]"},
    // 65
    {"P windowcontrols button",
     "padding: 0; min-height: 32px; min-width: 32px"},
    // 66
    {"P viewswitcher",
     "background: transparent; border: none"},
    // 67
    {"P viewswitcher button",
     "min-height: 32px; min-width: 32px; padding: 0 12px; margin: 0 2px; border-radius: 4px; border: 1px solid transparent; background-color: transparent; color: [2]"},
    // 68
    {"P viewswitcher button:hover",
     "background-color: [4]; border-radius: 4px"},
    // 69
    {"P viewswitcher button:checked, P viewswitcher button:active",
     "background-color: [5]; border: 1px solid [3]; border-radius: 4px; color: [2]"},
    // 70
    {"preferencesgroup, .ombrix-preferences preferencesgroup, .ombrix-preferences-dialog preferencesgroup",
     "margin: 8px 0"},
    // 71
    {"preferencesgroup label.heading, .ombrix-preferences preferencesgroup label.heading, .ombrix-preferences-dialog preferencesgroup label.heading",
     "font-weight: bold; color: [2]; margin-bottom: 4px"},
    // 72
    {"card, .card, .boxed-list, list.boxed-list, listbox.boxed-list, preferencesgroup list, preferencesgroup listbox, preferencesgroup > box, .ombrix-preferences list.boxed-list, .ombrix-preferences-dialog list.boxed-list, .ombrix-preferences preferencesgroup listbox, .ombrix-preferences-dialog preferencesgroup listbox, .ombrix-preferences preferencesgroup .card, .ombrix-preferences-dialog preferencesgroup .card",
     "T; border: 1px solid [3]; border-radius: 4px; box-shadow: none; color: [2]"},
    // 73
    {".boxed-list > row, list.boxed-list > row, listbox.boxed-list > row, preferencesgroup list > row, preferencesgroup listbox > row, .ombrix-preferences list.boxed-list > row, .ombrix-preferences-dialog list.boxed-list > row, adwactionrow, adwentryrow, adwcomborow, adwspinrow, adwswitchrow, row.activatable, row",
     "border-radius: 4px; border: none; border-bottom: 1px solid [3]; background: transparent; background-color: transparent; box-shadow: none; color: [2]; padding: 6px 10px; min-height: 36px"},
    // 74
    {".boxed-list > row:hover, list.boxed-list > row:hover, listbox.boxed-list > row:hover, preferencesgroup list > row:hover, preferencesgroup listbox > row:hover, .ombrix-preferences list.boxed-list > row:hover, .ombrix-preferences-dialog list.boxed-list > row:hover, row:hover",
     "background-color: [4]"},
    // 75
    {".boxed-list > row:first-child, list.boxed-list > row:first-child, listbox.boxed-list > row:first-child, preferencesgroup list > row:first-child, preferencesgroup listbox > row:first-child, .ombrix-preferences list.boxed-list > row:first-child, .ombrix-preferences-dialog list.boxed-list > row:first-child",
     "border-top-left-radius: 4px; border-top-right-radius: 4px"},
    // 76
    {".boxed-list > row:last-child, list.boxed-list > row:last-child, listbox.boxed-list > row:last-child, preferencesgroup list > row:last-child, preferencesgroup listbox > row:last-child, .ombrix-preferences list.boxed-list > row:last-child, .ombrix-preferences-dialog list.boxed-list > row:last-child",
     "border-bottom-left-radius: 4px; border-bottom-right-radius: 4px; border-bottom: none"},
    // 77
    {"switch, switch > slider, P switch, P switch > slider",
     "border-radius: 4px; box-shadow: none"},
    // 78
    {"switch",
     "background-color: transparent; border: 1px solid [3]; min-height: 20px; min-width: 38px"},
    // 79
    {"switch:checked",
     "background-color: [5]; border-color: [3]"},
    // 80
    {"switch > slider",
     "background-color: [2]; min-height: 16px; min-width: 16px; margin: 2px"},
    // 81
    {"spinbutton, P spinbutton",
     "border-radius: 4px; min-height: 32px; padding: 0; border: 1px solid [3]; box-shadow: none; T; color: [2]"},
    // 82
    {"spinbutton > button, P spinbutton > button",
     "border-radius: 4px; min-height: 32px; min-width: 32px; padding: 0; margin: 0; border: none; box-shadow: none; background-color: transparent; color: [2]"},
    // 83
    {"spinbutton > button:hover, P spinbutton > button:hover",
     "background-color: [4]"},
    // 84
    {"spinbutton > button:active, P spinbutton > button:active",
     "background-color: [5]"},
    // 85
    {"spinbutton > text, P spinbutton > text",
     "min-height: 0; padding: 0 4px; border: none; box-shadow: none; background: transparent; color: [2]"},
    // 86
    {"dropdown, dropdown > button, P dropdown, P dropdown > button, .ombrix-theme-dropdown, .ombrix-theme-dropdown > button",
     "border-radius: 4px; min-height: 32px; padding: 0 8px; border: 1px solid [3]; box-shadow: none; T; color: [2]"},
    // 87
    {"P dropdown > button, .ombrix-theme-dropdown > button",
     "min-width: 32px; border: none; background: transparent; background-color: transparent"},
    // 88
    {"adwentryrow entry, adwentryrow entry:focus, P row.entry entry, P entry",
     "border-radius: 4px; min-height: 30px; padding: 0 8px; border: 1px solid [3]; box-shadow: none; T; color: [2]"},
    // 89
    {"adwentryrow entry > text, adwentryrow text, P row.entry entry > text, P entry > text",
     "min-height: 0; padding: 0; margin: 0; border: none; box-shadow: none; background: transparent; color: [2]"},
    // 90
    {"switch, switch > slider",
     "border-radius: 4px"},
    // 91
    {"scrollbar slider",
     "border-radius: 4px"},
    // 92
    {"tooltip, tooltip > contents",
     "border-radius: 4px"},
    // 93
    {"scale slider, scale trough, scale highlight",
     "border-radius: 4px"},
    // 94
    {"progressbar, progressbar trough, progressbar progress",
     "border-radius: 4px"},
    // 95
    {"checkbutton check, radiobutton radio",
     "border-radius: 4px"},
    // 96
    {"dialog, dialog > contents",
     "border-radius: 4px"},
};
// clang-format on

constexpr std::array<std::string_view, 4> preference_roots{
    "dialog.preferences", "preferencesdialog", ".ombrix-preferences", ".ombrix-preferences-dialog"};
constexpr std::array<std::string_view, 6> no_spacing{"padding: 0",       "padding-left: 0",
                                                     "padding-right: 0", "margin: 0",
                                                     "margin-left: 0",   "margin-right: 0"};
constexpr std::array<std::string_view, 3> no_background{
    "background: transparent", "background-color: transparent", "background-image: none"};

constexpr int slot_count = 8;

// Literal text followed by the value of a slot (or by nothing, for the last piece).
struct Piece {
    std::string text;
    int slot = -1;
};

std::vector<std::string_view> split(std::string_view text, std::string_view separator) {
    std::vector<std::string_view> parts;
    for (;;) {
        std::size_t at = text.find(separator);
        parts.push_back(text.substr(0, at));
        if (at == std::string_view::npos) {
            return parts;
        }
        text.remove_prefix(at + separator.size());
    }
}

std::string expanded_template() {
    std::string out;
    out.reserve(40000);
    for (const RuleSource& rule : rule_sources) {
        bool first = true;
        auto add_selector = [&](std::string_view root, std::string_view rest) {
            out += first ? "" : ",\n";
            first = false;
            out += root;
            out += rest;
        };
        for (std::string_view selector : split(rule.selectors, ", ")) {
            if (selector == "P" || selector.starts_with("P ")) {
                for (std::string_view root : preference_roots) {
                    add_selector(root, selector.substr(1));
                }
            } else {
                add_selector(selector, "");
            }
        }
        out += " {\n";
        auto add_declaration = [&](std::string_view declaration) {
            out += "    ";
            out += declaration;
            out += ";\n";
        };
        for (std::string_view declaration : split(rule.declarations, "; ")) {
            if (declaration == "Z") {
                std::ranges::for_each(no_spacing, add_declaration);
            } else if (declaration == "T") {
                std::ranges::for_each(no_background, add_declaration);
            } else {
                add_declaration(declaration);
            }
        }
        out += "}\n\n";
    }
    return out;
}

// The template cut at its slot markers, built once.
const std::vector<Piece>& template_pieces() {
    static const std::vector<Piece> pieces = [] {
        std::vector<Piece> result;
        const std::string text = expanded_template();
        std::size_t start = 0;
        for (std::size_t pos = 0; pos + 2 < text.size(); ++pos) {
            if (text[pos] == '[' && text[pos + 1] >= '0' && text[pos + 1] < '0' + slot_count &&
                text[pos + 2] == ']') {
                result.push_back({text.substr(start, pos - start), text[pos + 1] - '0'});
                start = pos + 3;
                pos += 2;
            }
        }
        result.push_back({text.substr(start), -1});
        return result;
    }();
    return pieces;
}

void append_hex_byte(std::string& out, unsigned value) {
    static constexpr char digits[] = "0123456789abcdef";
    out += digits[(value >> 4) & 0xF];
    out += digits[value & 0xF];
}

// The text as the contents of a double-quoted CSS string: quotes and backslashes are escaped,
// control characters and invalid UTF-8 become hex escapes, so no configured font name can end
// the string or the rule.
std::string css_string_contents(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    std::size_t pos = 0;
    while (pos < text.size()) {
        const char* start = text.data() + pos;
        gunichar c = g_utf8_get_char_validated(start, static_cast<gssize>(text.size() - pos));
        if (c == static_cast<gunichar>(-1) || c == static_cast<gunichar>(-2)) {
            out += "\\fffd ";
            ++pos;
            continue;
        }
        auto length = static_cast<std::size_t>(g_utf8_next_char(start) - start);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20 || c == 0x7F) {
            out += '\\';
            if (c >= 0x10) {
                append_hex_byte(out, c);
            } else {
                out += "0123456789abcdef"[c];
            }
            out += ' ';
        } else {
            out.append(start, length);
        }
        pos += length;
    }
    return out;
}

// A colour text in a form GTK's CSS reads. A valid colour keeps its digits; only what CSS
// cannot take is normalised (surrounding white space, a missing "#", a "+" sign inside a
// component). Anything that does not parse goes in as written only if it cannot leave the
// declaration.
std::string css_color(std::string_view text) {
    if (parse_hex_color(text)) {
        std::string_view hex = util::trim_white_space(text);
        if (hex.front() == '#') {
            hex.remove_prefix(1);
        }
        std::string out = "#";
        for (char c : hex) {
            out += c == '+' ? '0' : c;
        }
        return out;
    }
    bool harmless = !text.empty() && std::ranges::all_of(text, [](char c) {
        return g_ascii_isalnum(c) ||
               std::string_view("#(),.% -_").find(c) != std::string_view::npos;
    });
    return harmless ? std::string(text) : std::string("transparent");
}

} // namespace

std::string interface_font(std::string_view app_font_family) {
    std::string_view family = util::trim_white_space(app_font_family);
    if (family.empty() || util::equals_ignore_ascii_case(family, "poppines")) {
        return "Poppins";
    }
    return std::string(family);
}

std::string sidebar_background(const Theme& theme) {
    auto rgba = parse_hex_color(theme.background);
    if (!rgba) {
        return theme.background;
    }
    const float factor = theme.dark ? 0.88f : 0.94f;
    std::string out = "#";
    for (float component : {rgba->red, rgba->green, rgba->blue}) {
        float scaled = component * factor * 255.0f;
        // std::round rounds halves away from zero.
        float rounded = std::clamp(std::round(scaled), 0.0f, 255.0f);
        append_hex_byte(out, static_cast<unsigned>(rounded));
    }
    return out;
}

std::string build_stylesheet(const Theme& theme, std::string_view app_font_family) {
    const bool dark = theme.dark;
    const std::array<std::string, slot_count> slots{
        css_string_contents(interface_font(app_font_family)),
        css_color(theme.background),
        css_color(theme.foreground),
        dark ? "rgba(255, 255, 255, 0.08)" : "rgba(0, 0, 0, 0.12)",
        dark ? "rgba(255, 255, 255, 0.08)" : "rgba(0, 0, 0, 0.08)",
        dark ? "rgba(255, 255, 255, 0.12)" : "rgba(0, 0, 0, 0.12)",
        dark ? "rgba(255, 255, 255, 0.04)" : "rgba(0, 0, 0, 0.04)",
        css_color(sidebar_background(theme)),
    };

    const std::vector<Piece>& pieces = template_pieces();
    std::size_t size = 0;
    for (const Piece& piece : pieces) {
        size += piece.text.size() + (piece.slot >= 0 ? slots[piece.slot].size() : 0);
    }
    std::string out;
    out.reserve(size);
    for (const Piece& piece : pieces) {
        out += piece.text;
        if (piece.slot >= 0) {
            out += slots[piece.slot];
        }
    }
    return out;
}

} // namespace ombrix::theme
