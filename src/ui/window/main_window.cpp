#include "ui/window/main_window.hpp"

namespace ombrix::ui {

MainWindow build_main_window(AdwApplication* application, const config::ConfigHandle& config,
                             const theme::CatalogueHandle& catalogue) {
    GtkWidget* window = GTK_WIDGET(g_object_new(
        ADW_TYPE_APPLICATION_WINDOW, "application", application, "title", "Zelvane Terminal",
        "icon-name", OMBRIX_APP_ID, "default-width", config->window.width, "default-height",
        config->window.height, nullptr));
    if (config->window.is_maximized) {
        gtk_window_maximize(GTK_WINDOW(window));
    }
    return MainWindow{ref(window), config, catalogue};
}

} // namespace ombrix::ui
