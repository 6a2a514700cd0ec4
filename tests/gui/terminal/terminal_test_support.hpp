#pragma once

#include "../gui_fixture.hpp"
#include "config/config.hpp"
#include "terminal/terminal_pane.hpp"
#include "theme/theme.hpp"

#include <cstdio>
#include <fcntl.h>
#include <optional>
#include <string>
#include <unistd.h>
#include <vector>

// Helpers for the terminal GUI tests: a theme written out in full, a window hosting one pane,
// standard error captured into a file, and environment variables set for one test.
namespace ombrix::test {

inline theme::Theme sample_theme() {
    theme::Theme theme;
    theme.name = "sample";
    theme.display_name = "Sample";
    theme.background = "#1e1e2e";
    theme.foreground = "#cdd6f4";
    theme.cursor = "#f5e0dc";
    theme.cursor_foreground = "#1e1e2e";
    theme.selection_background = "#585b70";
    theme.selection_foreground = "#cdd6f4";
    theme.palette = {"#45475a", "#f38ba8", "#a6e3a1", "#f9e2af", "#89b4fa", "#f5c2e7",
                     "#94e2d5", "#bac2de", "#585b70", "#f38ba8", "#a6e3a1", "#f9e2af",
                     "#89b4fa", "#f5c2e7", "#94e2d5", "#a6adc8"};
    return theme;
}

// A toplevel showing one pane's container, destroyed with the object.
class PaneWindow {
public:
    explicit PaneWindow(const terminal::PaneRef& pane) : window_(gtk_window_new()) {
        gtk_window_set_default_size(GTK_WINDOW(window_), 640, 400);
        gtk_window_set_child(GTK_WINDOW(window_), pane->container.get());
        gtk_window_present(GTK_WINDOW(window_));
    }
    PaneWindow(const PaneWindow&) = delete;
    PaneWindow& operator=(const PaneWindow&) = delete;
    ~PaneWindow() { destroy(); }
    void destroy() {
        if (window_ != nullptr) {
            gtk_window_destroy(GTK_WINDOW(window_));
            window_ = nullptr;
        }
    }
    GtkWidget* get() const { return window_; }

private:
    GtkWidget* window_;
};

// Redirects file descriptor 2 into a temporary file until destroyed.
class StderrCapture {
public:
    StderrCapture() {
        char pattern[] = "/tmp/ombrix-stderr.XXXXXX";
        int fd = mkstemp(pattern);
        path_ = pattern;
        std::fflush(stderr);
        saved_ = dup(2);
        dup2(fd, 2);
        close(fd);
    }
    StderrCapture(const StderrCapture&) = delete;
    StderrCapture& operator=(const StderrCapture&) = delete;
    ~StderrCapture() {
        std::fflush(stderr);
        dup2(saved_, 2);
        close(saved_);
        unlink(path_.c_str());
    }
    std::string text() const {
        std::fflush(stderr);
        return read_file(path_);
    }

private:
    std::string path_;
    int saved_ = -1;
};

// Sets (or, with nullopt, unsets) environment variables and restores them afterwards.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::optional<std::string>& value) { set(name, value); }
    ScopedEnv() = default;
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;
    ~ScopedEnv() {
        for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) {
            if (it->second) {
                g_setenv(it->first.c_str(), it->second->c_str(), TRUE);
            } else {
                g_unsetenv(it->first.c_str());
            }
        }
    }
    void set(const char* name, const std::optional<std::string>& value) {
        const char* old = g_getenv(name);
        saved_.emplace_back(name, old ? std::optional<std::string>(old) : std::nullopt);
        if (value) {
            g_setenv(name, value->c_str(), TRUE);
        } else {
            g_unsetenv(name);
        }
    }

private:
    std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

// True once the object has been finalized.
class FinalizeWatch {
public:
    explicit FinalizeWatch(gpointer object) {
        g_object_weak_ref(G_OBJECT(object), &FinalizeWatch::notify, &finalized_);
        object_ = object;
    }
    FinalizeWatch(const FinalizeWatch&) = delete;
    FinalizeWatch& operator=(const FinalizeWatch&) = delete;
    ~FinalizeWatch() {
        if (!finalized_) {
            g_object_weak_unref(G_OBJECT(object_), &FinalizeWatch::notify, &finalized_);
        }
    }
    bool finalized() const { return finalized_; }

private:
    static void notify(gpointer data, GObject*) { *static_cast<bool*>(data) = true; }
    gpointer object_ = nullptr;
    bool finalized_ = false;
};

} // namespace ombrix::test
