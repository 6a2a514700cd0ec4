#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Which program a new terminal runs, with which arguments, and where.
namespace ombrix::terminal {

struct ShellChoice {
    std::string shell;      // path of the program
    std::string shell_name; // its last path component, or "shell"
    std::vector<std::string> args;
    bool operator==(const ShellChoice&) const = default;
};

// The fixed shells tried when no usable shell is configured, in order.
inline constexpr std::string_view default_shell_paths[] = {
    "/usr/bin/fish", "/bin/fish", "/bin/bash", "/usr/bin/bash", "/bin/zsh", "/usr/bin/zsh"};

// What resolve_shell consults besides its arguments; injectable for tests.
struct ShellSearch {
    std::vector<std::string> fixed_paths{std::begin(default_shell_paths),
                                         std::end(default_shell_paths)};
    // The SHELL variable; std::nullopt when unset or not valid Unicode.
    std::optional<std::string> shell_variable;
    // The process's own view: fixed paths as above and SHELL from the environment.
    static ShellSearch from_environment();
};

// Override, else configured shell, if it names a regular file; else the first fixed path that
// is a regular file; else SHELL if it names a regular file; else "/bin/sh". Fish gets
// "-l", "-C", "set -g fish_greeting ''"; every other program "-l".
ShellChoice resolve_shell(const std::optional<std::string>& shell_override,
                          const std::optional<std::string>& configured_shell,
                          const ShellSearch& search = ShellSearch::from_environment());

// The initial working directory: the override if it is an existing directory, else the
// configured directory if it is one, else the home directory (config::home_dir), else "/".
std::string choose_working_directory(const std::optional<std::string>& directory_override,
                                     const std::optional<std::string>& configured_directory);
// The same choice with the home directory given; an empty home counts as none.
std::string choose_working_directory(const std::optional<std::string>& directory_override,
                                     const std::optional<std::string>& configured_directory,
                                     const std::optional<std::string>& home_directory);

// True if path (following links; relative to the current directory) is a regular file.
bool is_regular_file(const std::string& path);
// True if path (following links) is a directory.
bool is_directory(const std::string& path);

} // namespace ombrix::terminal
