#include "config/paths.hpp"

#include <cerrno>
#include <cstdlib>
#include <pwd.h>
#include <unistd.h>
#include <vector>

namespace ombrix::config {
namespace {

std::optional<std::string> system_variable(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr) {
        return std::nullopt;
    }
    return std::string(value);
}

std::optional<std::string> system_password_home() {
    long suggested = ::sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(suggested > 0 ? static_cast<std::size_t>(suggested) : 1024);
    for (;;) {
        struct passwd entry {};
        struct passwd* found = nullptr;
        int error = ::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found);
        if (error == ERANGE && buffer.size() < (1u << 20)) {
            buffer.resize(buffer.size() * 2);
            continue;
        }
        if (error != 0 || found == nullptr || found->pw_dir == nullptr) {
            return std::nullopt;
        }
        return std::string(found->pw_dir);
    }
}

// An XDG base variable counts only when set, non-empty and absolute.
std::optional<std::string> xdg_base(const PathEnvironment& environment, const char* variable,
                                    std::string_view home_relative) {
    if (auto value = environment.variable(variable); value && value->starts_with('/')) {
        return value;
    }
    if (auto home = home_dir(environment)) {
        return join_path(*home, home_relative);
    }
    return std::nullopt;
}

} // namespace

PathEnvironment PathEnvironment::system() {
    return {system_variable, system_password_home};
}

std::string join_path(std::string_view base, std::string_view name) {
    std::string path(base);
    if (!path.empty() && !path.ends_with('/')) {
        path += '/';
    }
    path += name;
    return path;
}

std::optional<std::string> home_dir(const PathEnvironment& environment) {
    if (auto home = environment.variable("HOME"); home && !home->empty()) {
        return home;
    }
    if (auto home = environment.password_home(); home && !home->empty()) {
        return home;
    }
    return std::nullopt;
}

std::string config_dir(const PathEnvironment& environment) {
    if (auto base = xdg_base(environment, "XDG_CONFIG_HOME", ".config")) {
        return join_path(*base, "ombrix");
    }
    return "~/.config/ombrix";
}

std::optional<std::string> data_dir(const PathEnvironment& environment) {
    if (auto base = xdg_base(environment, "XDG_DATA_HOME", ".local/share")) {
        return join_path(*base, "ombrix");
    }
    return std::nullopt;
}

std::optional<std::string> home_dir() {
    return home_dir(PathEnvironment::system());
}
std::string config_dir() {
    return config_dir(PathEnvironment::system());
}
std::optional<std::string> data_dir() {
    return data_dir(PathEnvironment::system());
}
std::string config_file_path() {
    return join_path(config_dir(), "config.toml");
}
std::string themes_dir() {
    return join_path(config_dir(), "themes");
}

} // namespace ombrix::config
