#include "ui/window/window_state.hpp"

#include "config/storage.hpp"
#include "ui/signal.hpp"

namespace ombrix::ui {
namespace {

void store_size(GtkWindow* window, config::Config& config, bool width) {
    if (gtk_window_is_maximized(window)) {
        return;
    }
    int value = width ? gtk_widget_get_width(GTK_WIDGET(window))
                      : gtk_widget_get_height(GTK_WIDGET(window));
    (width ? config.window.width : config.window.height) = value;
    (void)config::save_config(config);
}

} // namespace

void track_window_state(GtkWindow* window, const config::ConfigHandle& config) {
    connect<void(GtkWindow*, GParamSpec*)>(
        window, "notify::default-width",
        [config](GtkWindow* w, GParamSpec*) { store_size(w, *config, true); });
    connect<void(GtkWindow*, GParamSpec*)>(
        window, "notify::default-height",
        [config](GtkWindow* w, GParamSpec*) { store_size(w, *config, false); });
    connect<void(GtkWindow*, GParamSpec*)>(
        window, "notify::maximized", [config](GtkWindow* w, GParamSpec*) {
            config->window.is_maximized = gtk_window_is_maximized(w);
            (void)config::save_config(*config);
        });
}

} // namespace ombrix::ui
