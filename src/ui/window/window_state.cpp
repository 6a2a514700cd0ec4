#include "ui/window/window_state.hpp"

#include "config/storage.hpp"
#include "ui/signal.hpp"

namespace ombrix::ui {
namespace {

void store_size(GtkWindow* window, config::Config& config, bool width) {
    if (gtk_window_is_maximized(window)) {
        return;
    }
    // The new default size is what the next window is built with. The widget's allocation
    // is the wrong measure here: when the notification arrives it still holds the previous
    // size (and excludes the window frame), so the stored size would drift on every start.
    int default_width = 0;
    int default_height = 0;
    gtk_window_get_default_size(window, &default_width, &default_height);
    int value = width ? default_width : default_height;
    if (value <= 0) {
        return;
    }
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
