#include "terminal/vte_backend.hpp"

#include "terminal/terminal_settings.hpp"
#include "theme/color.hpp"

#define PCRE2_CODE_UNIT_WIDTH 8
#include <algorithm>
#include <cstdio>
#include <pcre2.h>
#include <string_view>
#include <vector>

namespace ombrix::terminal {

namespace {

GdkRGBA to_gdk(const theme::Rgba& color) {
    return GdkRGBA{color.red, color.green, color.blue, color.alpha};
}

// A colour for the optional cursor and selection setters: none when missing or unparsable,
// which makes VTE fall back to its own default.
std::optional<GdkRGBA> optional_color(const std::optional<std::string>& text) {
    if (!text) {
        return std::nullopt;
    }
    auto parsed = theme::parse_hex_color(*text);
    if (!parsed) {
        return std::nullopt;
    }
    return to_gdk(*parsed);
}

const GdkRGBA* pointer_or_null(const std::optional<GdkRGBA>& color) {
    return color ? &*color : nullptr;
}

// The palette sizes vte_terminal_set_colors accepts; any other count is a critical there.
bool palette_size_accepted(std::size_t count) {
    return count == 0 || count == 8 || count == 16 || count == 232 || count == 256;
}

// Puts a backslash before every character that is special in a PCRE2 pattern, so the text
// is matched literally.
std::string escape_for_regex(std::string_view text) {
    constexpr std::string_view special = "#$&()*+-.?[\\]^{|}~";
    std::string escaped;
    escaped.reserve(text.size() * 2);
    for (char c : text) {
        if (special.find(c) != std::string_view::npos) {
            escaped.push_back('\\');
        }
        escaped.push_back(c);
    }
    return escaped;
}

// VTE searches row by row and, when wrapping, skips the row holding the current match, so a
// pattern found only on that row (the single match in the buffer, or a new pattern typed over
// the previous match) is reported missing and the selection dropped. With the selection gone
// VTE searches the whole buffer, so one more step finds it if it exists at all.
bool find_wrapping(VteTerminal* terminal, gboolean (*find)(VteTerminal*)) {
    if (find(terminal)) {
        return true;
    }
    return find(terminal) != FALSE;
}

} // namespace

VteBackend::VteBackend(VteTerminal* terminal, double opacity)
    : terminal_(ui::ref(terminal)), font_scale_(std::make_shared<double>(1.0)),
      opacity_(std::make_shared<double>(opacity)) {}

GtkWidget* VteBackend::widget() const {
    return GTK_WIDGET(terminal_.get());
}

void VteBackend::apply_theme(const theme::Theme& theme) {
    auto background = theme::parse_hex_color(theme.background);
    auto foreground = theme::parse_hex_color(theme.foreground);
    if (!background || !foreground) {
        return;
    }
    std::vector<GdkRGBA> palette;
    palette.reserve(theme.palette.size());
    for (const auto& text : theme.palette) {
        auto color = theme::parse_hex_color(text);
        if (!color) {
            return;
        }
        palette.push_back(to_gdk(*color));
    }

    GdkRGBA bg = to_gdk(*background);
    GdkRGBA fg = to_gdk(*foreground);
    if (*opacity_ < 1.0) {
        bg.alpha = static_cast<float>(*opacity_);
    }
    VteTerminal* vte = terminal_.get();
    // Validated themes always carry 16 colours; a count VTE rejects would only raise a
    // critical there and change nothing, so it is skipped here instead.
    if (palette_size_accepted(palette.size())) {
        vte_terminal_set_colors(vte, &fg, &bg, palette.empty() ? nullptr : palette.data(),
                                palette.size());
    }

    auto cursor = optional_color(theme.cursor);
    vte_terminal_set_color_cursor(vte, pointer_or_null(cursor));
    auto cursor_foreground = optional_color(theme.cursor_foreground);
    vte_terminal_set_color_cursor_foreground(vte, pointer_or_null(cursor_foreground));
    auto selection_background = optional_color(theme.selection_background);
    vte_terminal_set_color_highlight(vte, pointer_or_null(selection_background));
    auto selection_foreground = optional_color(theme.selection_foreground);
    vte_terminal_set_color_highlight_foreground(vte, pointer_or_null(selection_foreground));
}

void VteBackend::set_font(const std::string& family, double size_points) {
    PangoFontDescription* description = pango_font_description_new();
    pango_font_description_set_family(description, family.c_str());
    // Pango refuses negative sizes with a critical; a configured size is never negative after
    // normalisation, so this only guards against values set from elsewhere.
    pango_font_description_set_size(
        description, std::max<std::int32_t>(0, font_size_to_pango_units(size_points)));
    // The boxed property stores its own copy.
    g_object_set(terminal_.get(), "font-desc", description, nullptr);
    pango_font_description_free(description);
}

void VteBackend::set_cursor(std::string_view shape, std::string_view blink) {
    vte_terminal_set_cursor_shape(terminal_.get(),
                                  static_cast<VteCursorShape>(map_cursor_shape(shape)));
    vte_terminal_set_cursor_blink_mode(terminal_.get(),
                                       static_cast<VteCursorBlinkMode>(map_cursor_blink(blink)));
}

void VteBackend::set_scrollback_lines(std::int64_t lines) {
    vte_terminal_set_scrollback_lines(terminal_.get(), static_cast<glong>(lines));
}

void VteBackend::set_audible_bell(bool enabled) {
    vte_terminal_set_audible_bell(terminal_.get(), enabled ? TRUE : FALSE);
}

void VteBackend::copy() {
    vte_terminal_copy_clipboard_format(terminal_.get(), VTE_FORMAT_TEXT);
}

void VteBackend::paste() {
    vte_terminal_paste_clipboard(terminal_.get());
}

void VteBackend::select_all() {
    vte_terminal_select_all(terminal_.get());
}

bool VteBackend::search(const std::string& text, bool match_case, bool regex) {
    VteTerminal* vte = terminal_.get();
    if (text.empty()) {
        vte_terminal_search_set_regex(vte, nullptr, 0);
        return false;
    }
    const std::string pattern = regex ? text : escape_for_regex(text);
    // VTE requires multi-line mode for search regexes and warns about any regex without it.
    guint32 flags = PCRE2_MULTILINE;
    if (!match_case) {
        flags |= PCRE2_CASELESS;
    }
    ui::GErrorHolder error;
    VteRegex* compiled = vte_regex_new_for_search(
        pattern.c_str(), static_cast<gssize>(pattern.size()), flags, error);
    if (compiled == nullptr) {
        std::fprintf(stderr, "Invalid search pattern: %s\n", error.message());
        std::fflush(stderr);
        return false;
    }
    vte_terminal_search_set_regex(vte, compiled, 0);
    const bool found = find_wrapping(vte, &vte_terminal_search_find_next);
    vte_regex_unref(compiled);
    return found;
}

bool VteBackend::search_next() {
    return find_wrapping(terminal_.get(), &vte_terminal_search_find_next);
}

bool VteBackend::search_previous() {
    return find_wrapping(terminal_.get(), &vte_terminal_search_find_previous);
}

void VteBackend::clear_search() {
    vte_terminal_search_set_regex(terminal_.get(), nullptr, 0);
}

void VteBackend::set_font_scale(double factor) {
    *font_scale_ = factor;
    vte_terminal_set_font_scale(terminal_.get(), factor);
}

void VteBackend::zoom_in() {
    set_font_scale(zoom_in_step(*font_scale_));
}

void VteBackend::zoom_out() {
    set_font_scale(zoom_out_step(*font_scale_));
}

void VteBackend::zoom_reset() {
    set_font_scale(zoom_reset_factor);
}

std::optional<std::string> VteBackend::window_title() const {
    const char* title = vte_terminal_get_window_title(terminal_.get());
    if (title == nullptr) {
        return std::nullopt;
    }
    return std::string(title);
}

std::optional<std::string> VteBackend::current_directory() const {
    const char* uri = vte_terminal_get_current_directory_uri(terminal_.get());
    if (uri == nullptr) {
        return std::nullopt;
    }
    // Shells report "file://HOST/percent-encoded/path"; the pane needs the local path.
    return directory_from_uri(uri);
}

} // namespace ombrix::terminal
