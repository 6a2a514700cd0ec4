#pragma once

#include <cstdint>
#include <expected>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

// The configuration record: five sections whose member initialisers are the defaults. Its
// TOML form is config.toml; storage (paths, load, atomic save) lives in storage.hpp.
namespace ombrix::config {

inline constexpr std::string_view DEFAULT_THEME_NAME = "kitty-dark";

struct GeneralConfig {
    std::optional<std::string> shell;
    std::optional<std::string> working_directory;
    bool confirm_on_close = true;
    bool restore_window_state = true;
    bool operator==(const GeneralConfig&) const = default;
};

struct AppearanceConfig {
    std::string theme{DEFAULT_THEME_NAME};
    std::string app_font_family = "Poppins";
    std::string font_family = "Monospace";
    double font_size = 11.0;
    double line_spacing = 1.0;
    double opacity = 1.0;
    std::string cursor_shape = "block";
    std::string cursor_blink = "system";
    bool operator==(const AppearanceConfig&) const = default;
};

struct TerminalConfig {
    std::int64_t scrollback_lines = 10000;
    bool audible_bell = false;
    bool copy_on_select = false;
    bool operator==(const TerminalConfig&) const = default;
};

struct ShortcutsConfig {
    std::string new_tab = "<Primary><Shift>t";
    std::string close_tab = "<Primary><Shift>w";
    std::string next_tab = "<Primary>Page_Down";
    std::string prev_tab = "<Primary>Page_Up";
    std::string split_horizontal = "<Primary><Shift>e";
    std::string split_vertical = "<Primary><Shift>o";
    std::string close_pane = "<Primary><Shift>x";
    std::string focus_next_pane = "<Alt>Right";
    std::string focus_prev_pane = "<Alt>Left";
    std::string toggle_sidebar = "F9";
    std::string search = "<Primary><Shift>f";
    std::string copy = "<Primary><Shift>c";
    std::string paste = "<Primary><Shift>v";
    std::string select_all = "<Primary><Shift>a";
    std::string zoom_in = "<Primary>plus";
    std::string zoom_out = "<Primary>minus";
    std::string zoom_reset = "<Primary>0";
    bool operator==(const ShortcutsConfig&) const = default;
};

struct WindowConfig {
    std::int32_t width = 960;
    std::int32_t height = 640;
    bool is_maximized = false;
    bool sidebar_visible = false;
    bool operator==(const WindowConfig&) const = default;
};

struct Config {
    GeneralConfig general;
    AppearanceConfig appearance;
    TerminalConfig terminal;
    ShortcutsConfig shortcuts;
    WindowConfig window;

    static Config defaults() { return Config{}; }

    // Maps a TOML document onto the record (not yet normalised). Fails as a whole, with the
    // TOML reader's description, on a syntax error, a wrongly typed key or an out-of-range
    // width/height. Unknown keys and tables are ignored.
    static std::expected<Config, std::string> from_toml(std::string_view text);

    // Brings a configuration read from the file into the accepted ranges.
    void normalize();

    // The document text: tables and keys in record order, unset optional texts left out.
    std::expected<std::string, std::string> to_toml() const;

    bool operator==(const Config&) const = default;
};

// The one configuration of the process, shared by the application's handlers and every
// window. Used on the main thread only.
using ConfigHandle = std::shared_ptr<Config>;

} // namespace ombrix::config
