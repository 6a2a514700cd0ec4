#include "gui_fixture.hpp"

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <glib/gstdio.h>
#include <sstream>

namespace ombrix::test {

AdwApplication* application() {
    static AdwApplication* app = [] {
        AdwApplication* created =
            adw_application_new("io.github.zelvane.Ombrix.Tests", G_APPLICATION_NON_UNIQUE);
        GError* error = nullptr;
        if (!g_application_register(G_APPLICATION(created), nullptr, &error)) {
            g_error("cannot register the test application: %s", error->message);
        }
        g_application_hold(G_APPLICATION(created));
        return created;
    }();
    return app;
}

bool pump_until(const std::function<bool()>& pred, int timeout_ms) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
    while (!pred()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return pred();
        }
        if (!g_main_context_iteration(nullptr, FALSE)) {
            g_usleep(2000);
        }
    }
    return true;
}

void pump_for(int ms) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (std::chrono::steady_clock::now() < deadline) {
        if (!g_main_context_iteration(nullptr, FALSE)) {
            g_usleep(2000);
        }
    }
}

namespace {
void save(const char* name, std::string& value, bool& had) {
    const char* current = std::getenv(name);
    had = current != nullptr;
    if (had) {
        value = current;
    }
}
void restore(const char* name, const std::string& value, bool had) {
    if (had) {
        g_setenv(name, value.c_str(), TRUE);
    } else {
        g_unsetenv(name);
    }
}
} // namespace

TempHome::TempHome() {
    char pattern[] = "/tmp/ombrix-gui-home.XXXXXX";
    path_ = g_mkdtemp(pattern);
    save("HOME", saved_home_, had_home_);
    save("XDG_CONFIG_HOME", saved_config_, had_config_);
    save("XDG_DATA_HOME", saved_data_, had_data_);
    g_setenv("HOME", path_.c_str(), TRUE);
    g_setenv("XDG_CONFIG_HOME", (path_ + "/.config").c_str(), TRUE);
    g_setenv("XDG_DATA_HOME", (path_ + "/.local/share").c_str(), TRUE);
}

TempHome::~TempHome() {
    restore("HOME", saved_home_, had_home_);
    restore("XDG_CONFIG_HOME", saved_config_, had_config_);
    restore("XDG_DATA_HOME", saved_data_, had_data_);
    remove_tree(path_);
}

std::string terminal_text(VteTerminal* terminal) {
    glong rows = vte_terminal_get_row_count(terminal);
    glong columns = vte_terminal_get_column_count(terminal);
    glong cursor_row = 0;
    vte_terminal_get_cursor_position(terminal, nullptr, &cursor_row);
    // Everything from the first row of the buffer to the bottom of the screen.
    G_GNUC_BEGIN_IGNORE_DEPRECATIONS
    char* text = vte_terminal_get_text_range(terminal, 0, 0, cursor_row + rows, columns, nullptr,
                                             nullptr, nullptr);
    G_GNUC_END_IGNORE_DEPRECATIONS
    std::string result = text ? text : "";
    g_free(text);
    return result;
}

void remove_tree(const std::string& path) {
    if (path.empty() || path == "/") {
        return;
    }
    std::string command = "rm -rf '" + path + "'";
    if (std::system(command.c_str()) != 0) {
        g_printerr("could not remove %s\n", path.c_str());
    }
}

std::string read_file(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

} // namespace ombrix::test
