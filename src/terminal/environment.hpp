#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace ombrix::terminal {

using Environment = std::map<std::string, std::string>;

// The environment of this process. Variables whose name or value is not valid UTF-8 are
// passed through unchanged (the map holds bytes).
Environment process_environment();

// The child's environment from an inherited one: TERM, COLORTERM and TERM_PROGRAM set, and the
// helper directory (when there is one) first on PATH.
Environment child_environment(Environment inherited, const std::optional<std::string>& helper_dir);

// Installs the helper commands and builds the child environment of this process, rendered as
// "NAME=value" entries for a spawn.
std::vector<std::string> build_environment();

std::vector<std::string> render_environment(const Environment& environment);

} // namespace ombrix::terminal
