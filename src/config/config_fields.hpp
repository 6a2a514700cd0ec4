#pragma once

#include "config/config.hpp"

#include <string_view>
#include <type_traits>

// The one list of tables and keys in record order. The TOML reader and writer both walk it, so
// the written order and the accepted keys cannot drift apart. Private to src/config.
namespace ombrix::config::detail {

// Calls visit(key, member) for every key of each section, in record order. Section is the
// section record, const or not.
template <class Section, class Visitor>
requires std::is_same_v<std::remove_const_t<Section>, GeneralConfig>
void visit_keys(Section& s, Visitor&& visit) {
    visit(std::string_view("shell"), s.shell);
    visit(std::string_view("working_directory"), s.working_directory);
    visit(std::string_view("confirm_on_close"), s.confirm_on_close);
    visit(std::string_view("restore_window_state"), s.restore_window_state);
}

template <class Section, class Visitor>
requires std::is_same_v<std::remove_const_t<Section>, AppearanceConfig>
void visit_keys(Section& s, Visitor&& visit) {
    visit(std::string_view("theme"), s.theme);
    visit(std::string_view("app_font_family"), s.app_font_family);
    visit(std::string_view("font_family"), s.font_family);
    visit(std::string_view("font_size"), s.font_size);
    visit(std::string_view("line_spacing"), s.line_spacing);
    visit(std::string_view("opacity"), s.opacity);
    visit(std::string_view("cursor_shape"), s.cursor_shape);
    visit(std::string_view("cursor_blink"), s.cursor_blink);
}

template <class Section, class Visitor>
requires std::is_same_v<std::remove_const_t<Section>, TerminalConfig>
void visit_keys(Section& s, Visitor&& visit) {
    visit(std::string_view("scrollback_lines"), s.scrollback_lines);
    visit(std::string_view("audible_bell"), s.audible_bell);
    visit(std::string_view("copy_on_select"), s.copy_on_select);
}

template <class Section, class Visitor>
requires std::is_same_v<std::remove_const_t<Section>, ShortcutsConfig>
void visit_keys(Section& s, Visitor&& visit) {
    visit(std::string_view("new_tab"), s.new_tab);
    visit(std::string_view("close_tab"), s.close_tab);
    visit(std::string_view("next_tab"), s.next_tab);
    visit(std::string_view("prev_tab"), s.prev_tab);
    visit(std::string_view("split_horizontal"), s.split_horizontal);
    visit(std::string_view("split_vertical"), s.split_vertical);
    visit(std::string_view("close_pane"), s.close_pane);
    visit(std::string_view("focus_next_pane"), s.focus_next_pane);
    visit(std::string_view("focus_prev_pane"), s.focus_prev_pane);
    visit(std::string_view("toggle_sidebar"), s.toggle_sidebar);
    visit(std::string_view("search"), s.search);
    visit(std::string_view("copy"), s.copy);
    visit(std::string_view("paste"), s.paste);
    visit(std::string_view("select_all"), s.select_all);
    visit(std::string_view("zoom_in"), s.zoom_in);
    visit(std::string_view("zoom_out"), s.zoom_out);
    visit(std::string_view("zoom_reset"), s.zoom_reset);
}

template <class Section, class Visitor>
requires std::is_same_v<std::remove_const_t<Section>, WindowConfig>
void visit_keys(Section& s, Visitor&& visit) {
    visit(std::string_view("width"), s.width);
    visit(std::string_view("height"), s.height);
    visit(std::string_view("is_maximized"), s.is_maximized);
    visit(std::string_view("sidebar_visible"), s.sidebar_visible);
}

// Calls visit(table_name, section) for the five sections in file order.
template <class C, class Visitor>
requires std::is_same_v<std::remove_const_t<C>, Config>
void visit_sections(C& config, Visitor&& visit) {
    visit(std::string_view("general"), config.general);
    visit(std::string_view("appearance"), config.appearance);
    visit(std::string_view("terminal"), config.terminal);
    visit(std::string_view("shortcuts"), config.shortcuts);
    visit(std::string_view("window"), config.window);
}

} // namespace ombrix::config::detail
