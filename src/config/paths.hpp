#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

// Where the configuration and data live, following the XDG base-directory rules. Resolved
// anew at every call from the environment and the password database.
namespace ombrix::config {

// The two sources the directories are resolved from. system() reads the process environment
// and the password database; tests substitute their own.
struct PathEnvironment {
    // The value of an environment variable, or none when it is not set.
    std::function<std::optional<std::string>(const char* name)> variable;
    // The password database's home directory of the real user id, or none.
    std::function<std::optional<std::string>()> password_home;

    static PathEnvironment system();
};

// HOME if set and non-empty, else the password database's home of the real user id; none if
// neither gives a non-empty directory.
std::optional<std::string> home_dir();
std::optional<std::string> home_dir(const PathEnvironment& environment);

// XDG_CONFIG_HOME (absolute) or ~/.config, joined with "ombrix". Without a home directory the
// relative path "~/.config/ombrix" is used (the tilde is not expanded).
std::string config_dir();
std::string config_dir(const PathEnvironment& environment);

// XDG_DATA_HOME (absolute) or ~/.local/share, joined with "ombrix"; none without a home.
std::optional<std::string> data_dir();
std::optional<std::string> data_dir(const PathEnvironment& environment);

// config_dir()/config.toml and config_dir()/themes.
std::string config_file_path();
std::string themes_dir();

// base + "/" + name, without doubling a slash that base already ends with.
std::string join_path(std::string_view base, std::string_view name);

} // namespace ombrix::config
