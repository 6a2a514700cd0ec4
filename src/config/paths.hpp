#pragma once

#include <optional>
#include <string>

// Where the configuration and data live, following the XDG base-directory rules. Resolved
// anew at every call from the environment and the password database.
namespace ombrix::config {

// HOME if set and non-empty, else the password database's home of the real user id.
std::optional<std::string> home_dir();

// XDG_CONFIG_HOME (absolute) or ~/.config, joined with "ombrix". Without a home directory the
// relative path "~/.config/ombrix" is used (the tilde is not expanded).
std::string config_dir();

// XDG_DATA_HOME (absolute) or ~/.local/share, joined with "ombrix"; none without a home.
std::optional<std::string> data_dir();

// config_dir()/config.toml and config_dir()/themes.
std::string config_file_path();
std::string themes_dir();

} // namespace ombrix::config
