#include "ui/window/window_theme.hpp"

#include "theme/stylesheet.hpp"
#include "ui/adw_compat.hpp"

#include <adwaita.h>

namespace ombrix::ui {

void apply_window_theme(const WindowContext& window) {
    theme::Theme theme = window.catalogue->get(window.config->appearance.theme);
    // The toolkit's own colours (window frame, scrollbars, focus rings, dialogs) follow the
    // theme's darkness, so nothing light shows through around a dark theme.
    AdwStyleManager* style = adw_style_manager_get_default();
    AdwColorScheme scheme = theme.dark ? ADW_COLOR_SCHEME_FORCE_DARK : ADW_COLOR_SCHEME_FORCE_LIGHT;
    if (adw_style_manager_get_color_scheme(style) != scheme) {
        adw_style_manager_set_color_scheme(style, scheme);
    }
    compat::css_provider_load(
        window.provider.get(),
        theme::build_stylesheet(theme, window.config->appearance.app_font_family));
    const double opacity = window.config->appearance.opacity;
    for (const auto& pane : window.tabs->all_panes()) {
        pane->backend.set_opacity(opacity);
        pane->backend.apply_theme(theme);
    }
}

void apply_config_to_terminals(const WindowContext& window) {
    apply_window_theme(window);
    for (const auto& pane : window.tabs->all_panes()) {
        terminal::apply_terminal_settings(*pane, *window.config);
    }
}

} // namespace ombrix::ui
