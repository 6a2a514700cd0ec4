// Prints figures for a real window: new-tab time until the shell runs, resident memory with 1
// and 20 tabs, and the time of one apply_window_theme with 20 panes. Needs a display.
#include "config/config.hpp"
#include "theme/catalogue.hpp"
#include "ui/window/main_window.hpp"
#include "ui/window/window_theme.hpp"

#include <adwaita.h>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;

double ms_since(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

template <class Pred> bool pump_until(Pred pred, int timeout_ms = 20000) {
    auto deadline = Clock::now() + std::chrono::milliseconds(timeout_ms);
    while (!pred()) {
        if (Clock::now() > deadline) {
            return false;
        }
        g_main_context_iteration(nullptr, TRUE);
    }
    return true;
}

long rss_kib() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0) {
            return std::stol(line.substr(6));
        }
    }
    return -1;
}

bool all_running(const ombrix::ui::TabManager& tabs) {
    for (const auto& pane : tabs.all_panes()) {
        if (pane->child_pid == 0) {
            return false;
        }
    }
    return true;
}

} // namespace

int main() {
    gtk_init();
    adw_init();
    AdwApplication* app =
        adw_application_new("io.github.zelvane.Ombrix.Benchmark", G_APPLICATION_NON_UNIQUE);
    g_application_register(G_APPLICATION(app), nullptr, nullptr);
    g_application_hold(G_APPLICATION(app));

    auto config = std::make_shared<ombrix::config::Config>();
    auto catalogue =
        std::make_shared<ombrix::theme::ThemeCatalogue>(ombrix::theme::ThemeCatalogue::load());

    auto start = Clock::now();
    ombrix::ui::MainWindow window = ombrix::ui::build_main_window(app, config, catalogue);
    gtk_window_present(GTK_WINDOW(window.window.get()));
    pump_until([&] { return all_running(*window.tabs); });
    std::printf("window with first shell running: %.1f ms (shell %s)\n", ms_since(start),
                window.tabs->all_panes()[0]->shell.c_str());
    std::printf("RSS with 1 tab: %ld KiB\n", rss_kib());

    double total = 0;
    for (int i = 1; i < 20; ++i) {
        auto tab_start = Clock::now();
        window.tabs->new_tab(std::nullopt);
        pump_until([&] { return all_running(*window.tabs); });
        total += ms_since(tab_start);
    }
    std::printf("new tab until its shell runs: %.1f ms (mean of 19)\n", total / 19);
    for (int i = 0; i < 100; ++i) {
        g_main_context_iteration(nullptr, FALSE);
    }
    std::printf("RSS with 20 tabs: %ld KiB\n", rss_kib());

    const int runs = 20;
    auto theme_start = Clock::now();
    for (int i = 0; i < runs; ++i) {
        config->appearance.theme = i % 2 ? "nord" : "dracula";
        ombrix::ui::apply_window_theme(*window.context);
    }
    std::printf("apply_window_theme with %zu panes: %.2f ms (mean of %d)\n",
                window.tabs->all_panes().size(), ms_since(theme_start) / runs, runs);

    gtk_window_destroy(GTK_WINDOW(window.window.get()));
    window = {};
    pump_until([] { return false; }, 300);
    return 0;
}
