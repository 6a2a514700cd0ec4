#pragma once

#include <adwaita.h>
#include <functional>
#include <string>
#include <vte/vte.h>

// Helpers shared by the GUI tests: a registered application, main-loop pumping and a private
// home directory per test.
namespace ombrix::test {

// The process's test application: registered (non-unique) and held, never run.
AdwApplication* application();

// Iterates the default main context until pred() holds or timeout_ms passed; returns pred().
bool pump_until(const std::function<bool()>& pred, int timeout_ms = 10000);
// Iterates the default main context for about ms milliseconds.
void pump_for(int ms);

// A fresh HOME with XDG_CONFIG_HOME and XDG_DATA_HOME under it for the lifetime of the
// object; the previous values are restored and the directory removed afterwards.
class TempHome {
public:
    TempHome();
    TempHome(const TempHome&) = delete;
    TempHome& operator=(const TempHome&) = delete;
    ~TempHome();
    const std::string& path() const { return path_; }
    std::string config_dir() const { return path_ + "/.config/ombrix"; }
    std::string data_dir() const { return path_ + "/.local/share/ombrix"; }

private:
    std::string path_;
    std::string saved_home_, saved_config_, saved_data_;
    bool had_home_ = false, had_config_ = false, had_data_ = false;
};

// The terminal's whole text (scrollback and screen) as plain text.
std::string terminal_text(VteTerminal* terminal);

// Removes a directory tree (test clean-up).
void remove_tree(const std::string& path);

// Reads a whole file, or "" if it cannot be read.
std::string read_file(const std::string& path);

} // namespace ombrix::test
