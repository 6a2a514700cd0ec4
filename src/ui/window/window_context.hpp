#pragma once

#include "config/config.hpp"
#include "theme/catalogue.hpp"
#include "ui/gobject_ptr.hpp"
#include "ui/tab_manager/tab_manager.hpp"

#include <gtk/gtk.h>
#include <memory>

namespace ombrix::ui {

// What a window's handlers share: the process-wide configuration and catalogue, and the
// window's own stylesheet provider and tabs. Holds no widget of the window strongly, so
// handlers on the window's widgets can keep it without keeping the window alive.
struct WindowContext {
    config::ConfigHandle config;
    theme::CatalogueHandle catalogue;
    GObjectPtr<GtkCssProvider> provider;
    std::shared_ptr<TabManager> tabs;
};

using WindowContextRef = std::shared_ptr<WindowContext>;

} // namespace ombrix::ui
