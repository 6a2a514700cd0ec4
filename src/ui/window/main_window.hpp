#pragma once

#include "config/config.hpp"
#include "theme/catalogue.hpp"
#include "ui/gobject_ptr.hpp"

#include <adwaita.h>

namespace ombrix::ui {

// The handle the window builder returns to activation. Activation drops it after presenting
// the window; the window and its handlers keep everything alive.
struct MainWindow {
    GObjectPtr<GtkWidget> window;
    config::ConfigHandle config;
    theme::CatalogueHandle catalogue;
};

// Creates and fully wires a new main window (not yet shown).
MainWindow build_main_window(AdwApplication* application, const config::ConfigHandle& config,
                             const theme::CatalogueHandle& catalogue);

} // namespace ombrix::ui
