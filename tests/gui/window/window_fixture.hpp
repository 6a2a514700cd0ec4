#pragma once

#include "config/config.hpp"
#include "gui_fixture.hpp"
#include "terminal/process.hpp"
#include "theme/catalogue.hpp"
#include "ui/window/main_window.hpp"

#include <cstdio>
#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <signal.h>
#include <string>

namespace ombrix::test {

// A real main window with real shells, in a private home.
class WindowTest : public testing::Test {
protected:
    void SetUp() override {
        config_ = std::make_shared<config::Config>();
        // sh starts fastest; the tests do not depend on the shell's features.
        config_->general.shell = "/bin/sh";
        catalogue_ = std::make_shared<theme::ThemeCatalogue>(theme::ThemeCatalogue::load());
    }
    void TearDown() override {
        if (window_.window) {
            gtk_window_destroy(GTK_WINDOW(window_.window.get()));
        }
        window_ = {};
        pump_for(50);
    }

    void open_window() {
        window_ = ui::build_main_window(application(), config_, catalogue_);
        gtk_window_present(GTK_WINDOW(window_.window.get()));
        ASSERT_TRUE(wait_for_shells());
    }

    // Waits until every pane of the window has a running shell.
    bool wait_for_shells() {
        return pump_until([&] {
            for (const auto& pane : tabs().all_panes()) {
                if (pane->child_pid == 0) {
                    return false;
                }
            }
            return true;
        });
    }

    ui::TabManager& tabs() { return *window_.tabs; }
    AdwTabView* tab_view() { return window_.tab_view.get(); }
    GtkWindow* window() { return GTK_WINDOW(window_.window.get()); }
    int page_count() { return adw_tab_view_get_n_pages(tab_view()); }

    terminal::PaneRef focused() { return tabs().focused_pane(); }
    std::vector<terminal::PaneRef> selected_leaves() {
        const ui::TabEntry* entry = tabs().find(adw_tab_view_get_selected_page(tab_view()));
        return entry ? entry->tree->leaves() : std::vector<terminal::PaneRef>{};
    }

    void type(const terminal::PaneRef& pane, const char* text) {
        vte_terminal_feed_child(pane->terminal(), text, -1);
    }

    // Whether every one of these processes has ended (and been reaped).
    static bool all_ended(const std::vector<pid_t>& pids) {
        for (pid_t pid : pids) {
            if (kill(pid, 0) == 0) {
                return false;
            }
        }
        return true;
    }

    // Waits until the pane's shell runs `sleep` (login shells also start short-lived
    // children of their own while reading their profile, which must not be mistaken for it).
    bool wait_for_child_program(const terminal::PaneRef& pane) {
        return pump_until([&] { return runs_sleep(pane->child_pid); });
    }

    static bool runs_sleep(std::uint32_t shell_pid) {
        GDir* dir = g_dir_open("/proc", 0, nullptr);
        if (dir == nullptr) {
            return false;
        }
        bool found = false;
        while (const char* name = g_dir_read_name(dir)) {
            std::string stat = read_file(std::string("/proc/") + name + "/stat");
            auto close = stat.rfind(')');
            auto open = stat.find('(');
            if (close == std::string::npos || open == std::string::npos) {
                continue;
            }
            std::string comm = stat.substr(open + 1, close - open - 1);
            unsigned state_char = 0, parent = 0;
            if (std::sscanf(stat.c_str() + close + 1, " %c %u",
                            reinterpret_cast<char*>(&state_char), &parent) == 2 &&
                parent == shell_pid && comm == "sleep") {
                found = true;
                break;
            }
        }
        g_dir_close(dir);
        return found;
    }

    TempHome home_;
    config::ConfigHandle config_;
    theme::CatalogueHandle catalogue_;
    ui::MainWindow window_;
};

} // namespace ombrix::test
