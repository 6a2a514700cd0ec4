#include "terminal/environment.hpp"

#include "terminal/helper_commands.hpp"

#include <unistd.h>

namespace ombrix::terminal {

Environment process_environment() {
    // environ rather than a UTF-8 view of it: variables that are not valid UTF-8 still reach
    // the shell unchanged. The first of duplicate names wins, as with getenv().
    Environment environment;
    for (char** entry = environ; entry != nullptr && *entry != nullptr; ++entry) {
        std::string_view text(*entry);
        std::size_t equals = text.find('=');
        if (equals == std::string_view::npos || equals == 0) {
            continue;
        }
        environment.emplace(std::string(text.substr(0, equals)),
                            std::string(text.substr(equals + 1)));
    }
    return environment;
}

Environment child_environment(Environment inherited, const std::optional<std::string>& helper_dir) {
    inherited["TERM"] = "xterm-256color";
    inherited["COLORTERM"] = "truecolor";
    inherited["TERM_PROGRAM"] = "ombrix";
    if (helper_dir) {
        auto path = inherited.find("PATH");
        std::string rest =
            path != inherited.end() ? path->second : std::string("/usr/local/bin:/usr/bin:/bin");
        inherited["PATH"] = *helper_dir + ":" + rest;
    }
    return inherited;
}

std::vector<std::string> render_environment(const Environment& environment) {
    std::vector<std::string> entries;
    entries.reserve(environment.size());
    for (const auto& [name, value] : environment) {
        entries.push_back(name + "=" + value);
    }
    return entries;
}

std::vector<std::string> build_environment() {
    return render_environment(child_environment(process_environment(), install_helper_commands()));
}

} // namespace ombrix::terminal
