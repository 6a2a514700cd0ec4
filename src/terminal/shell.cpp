#include "terminal/shell.hpp"

#include "config/paths.hpp"
#include "util/unicode.hpp"

#include <cstdlib>
#include <sys/stat.h>

namespace ombrix::terminal {
namespace {

// stat() follows links; a text with an embedded NUL would silently name a shorter path.
bool stat_path(const std::string& path, struct stat& info) {
    if (path.empty() || path.find('\0') != std::string::npos) {
        return false;
    }
    return ::stat(path.c_str(), &info) == 0;
}

// The last component of path, or "shell" when there is none or it is not valid UTF-8.
std::string name_of(const std::string& path) {
    std::string_view rest = path;
    while (rest.size() > 1 && rest.back() == '/') {
        rest.remove_suffix(1);
    }
    std::size_t slash = rest.rfind('/');
    std::string_view last = slash == std::string_view::npos ? rest : rest.substr(slash + 1);
    if (last.empty() || last == "." || last == ".." || !util::is_valid_utf8(last)) {
        return "shell";
    }
    return std::string(last);
}

std::string pick_shell(const std::optional<std::string>& shell_override,
                       const std::optional<std::string>& configured_shell,
                       const ShellSearch& search) {
    const std::optional<std::string>& candidate =
        shell_override ? shell_override : configured_shell;
    if (candidate && is_regular_file(*candidate)) {
        return *candidate;
    }
    for (const std::string& path : search.fixed_paths) {
        if (is_regular_file(path)) {
            return path;
        }
    }
    if (search.shell_variable && is_regular_file(*search.shell_variable)) {
        return *search.shell_variable;
    }
    return "/bin/sh";
}

} // namespace

bool is_regular_file(const std::string& path) {
    struct stat info {};
    return stat_path(path, info) && S_ISREG(info.st_mode);
}

bool is_directory(const std::string& path) {
    struct stat info {};
    return stat_path(path, info) && S_ISDIR(info.st_mode);
}

ShellSearch ShellSearch::from_environment() {
    ShellSearch search;
    if (const char* value = std::getenv("SHELL"); value && util::is_valid_utf8(value)) {
        search.shell_variable = value;
    }
    return search;
}

ShellChoice resolve_shell(const std::optional<std::string>& shell_override,
                          const std::optional<std::string>& configured_shell,
                          const ShellSearch& search) {
    ShellChoice choice;
    choice.shell = pick_shell(shell_override, configured_shell, search);
    choice.shell_name = name_of(choice.shell);
    if (choice.shell_name == "fish") {
        // fish has no switch for its greeting; the start-up command turns it off.
        choice.args = {"-l", "-C", "set -g fish_greeting ''"};
    } else {
        choice.args = {"-l"};
    }
    return choice;
}

std::string choose_working_directory(const std::optional<std::string>& directory_override,
                                     const std::optional<std::string>& configured_directory,
                                     const std::optional<std::string>& home_directory) {
    // A split's override is the other pane's last reported directory, which may have been
    // removed since; starting the shell there would fail and leave a dead pane.
    if (directory_override && is_directory(*directory_override)) {
        return *directory_override;
    }
    if (configured_directory && is_directory(*configured_directory)) {
        return *configured_directory;
    }
    if (home_directory && !home_directory->empty()) {
        return *home_directory;
    }
    return "/";
}

std::string choose_working_directory(const std::optional<std::string>& directory_override,
                                     const std::optional<std::string>& configured_directory) {
    return choose_working_directory(directory_override, configured_directory, config::home_dir());
}

} // namespace ombrix::terminal
