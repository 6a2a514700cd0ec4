#pragma once

#include "config/config.hpp"
#include "theme/catalogue.hpp"
#include "ui/gobject_ptr.hpp"
#include "ui/tab_manager/tab_manager.hpp"
#include "ui/window/window_context.hpp"

#include <adwaita.h>

namespace ombrix::ui {

// The handle the window builder returns to activation. Activation drops it after presenting
// the window; the window and the handlers' own references keep everything alive.
struct MainWindow {
    GObjectPtr<GtkWidget> window;
    config::ConfigHandle config;
    theme::CatalogueHandle catalogue;
    GObjectPtr<AdwTabView> tab_view;
    GObjectPtr<AdwTabBar> tab_bar;
    std::shared_ptr<TabManager> tabs;
    GObjectPtr<GtkWidget> sidebar;
    GObjectPtr<GtkWidget> header_bar;
    GObjectPtr<GtkWidget> sidebar_toggle;
    GObjectPtr<GtkWidget> search_row;
    GObjectPtr<GtkWidget> split_view;
    GObjectPtr<GtkCssProvider> provider;
    WindowContextRef context;
};

// Creates and fully wires a new main window with its first tab open (not yet shown).
MainWindow build_main_window(AdwApplication* application, const config::ConfigHandle& config,
                             const theme::CatalogueHandle& catalogue);

// Shows or hides the window's sidebar and keeps the header toggle (state and icon) in step.
void set_sidebar_visible(GtkWidget* split_view, GtkToggleButton* toggle, bool visible);

} // namespace ombrix::ui
