// Prints how long building the window stylesheet and loading it into a GtkCssProvider take.
// Usage: stylesheet_benchmark [RUNS]   (default 200; the loading part needs a display)
#include "theme/catalogue.hpp"
#include "theme/stylesheet.hpp"

#include <charconv>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <gtk/gtk.h>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;

// Locale-independent, since gtk_init() switches to the user's locale.
std::string fixed(double value, int precision = 1) {
    char buffer[64];
    auto [end, error] =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, precision);
    return error == std::errc() ? std::string(buffer, end) : std::string("?");
}

void report(const char* what, Clock::duration total, int runs) {
    double mean_us = std::chrono::duration<double, std::micro>(total).count() / runs;
    std::printf("%-44s %10s us (mean of %d)\n", what, fixed(mean_us).c_str(), runs);
}

} // namespace

int main(int argc, char** argv) {
    int runs = argc > 1 ? std::atoi(argv[1]) : 200;
    if (runs <= 0) {
        runs = 200;
    }
    auto catalogue = ombrix::theme::ThemeCatalogue::load_from("/nonexistent/ombrix/themes");
    auto names = catalogue.list();

    std::size_t bytes = 0;
    auto start = Clock::now();
    for (int i = 0; i < runs; ++i) {
        auto theme = catalogue.get(names[static_cast<std::size_t>(i) % names.size()].first);
        bytes += ombrix::theme::build_stylesheet(theme, "Poppins").size();
    }
    report("build_stylesheet", Clock::now() - start, runs);
    std::printf("%-44s %10zu bytes\n", "stylesheet size", bytes / static_cast<std::size_t>(runs));

    if (!gtk_init_check()) {
        std::printf("no display: provider loading not measured\n");
        return 0;
    }
    GtkCssProvider* provider = gtk_css_provider_new();
    const std::string css = ombrix::theme::build_stylesheet(catalogue.get("kitty-dark"), "");
    start = Clock::now();
    for (int i = 0; i < runs; ++i) {
        gtk_css_provider_load_from_data(provider, css.data(), static_cast<gssize>(css.size()));
    }
    report("gtk_css_provider_load_from_data", Clock::now() - start, runs);

    // As the window does it: a provider registered for the display, rebuilt and reloaded.
    gtk_style_context_add_provider_for_display(
        gdk_display_get_default(), GTK_STYLE_PROVIDER(provider), GTK_STYLE_PROVIDER_PRIORITY_USER);
    GtkWidget* window = gtk_window_new();
    gtk_window_set_child(GTK_WINDOW(window), gtk_label_new("benchmark"));
    gtk_window_present(GTK_WINDOW(window));
    while (g_main_context_iteration(nullptr, FALSE)) {
    }
    start = Clock::now();
    for (int i = 0; i < runs; ++i) {
        auto theme = catalogue.get(names[static_cast<std::size_t>(i) % names.size()].first);
        std::string text = ombrix::theme::build_stylesheet(theme, "Poppins");
        gtk_css_provider_load_from_data(provider, text.data(), static_cast<gssize>(text.size()));
        while (g_main_context_iteration(nullptr, FALSE)) {
        }
    }
    report("build + load + restyle a shown window", Clock::now() - start, runs);

    gtk_style_context_remove_provider_for_display(gdk_display_get_default(),
                                                  GTK_STYLE_PROVIDER(provider));
    gtk_window_destroy(GTK_WINDOW(window));
    g_object_unref(provider);
    return 0;
}
