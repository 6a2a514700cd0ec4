#pragma once

#include <optional>
#include <string>
#include <string_view>

// The small scripts "specs", "themes" and "ombrix" put first on every shell's PATH.
namespace ombrix::terminal {

extern const std::string_view specs_script;
extern const std::string_view themes_script;
extern const std::string_view ombrix_script;

// Writes the three scripts (mode 0755) into helper_dir, creating it if needed. Each script is
// written to a temporary file and renamed into place, so a running shell never reads a
// half-written script and a planted link is replaced, not followed. Errors are ignored.
void write_helper_commands(const std::string& helper_dir);

// data_dir()/bin after writing the scripts there; none without a data directory.
std::optional<std::string> install_helper_commands();

} // namespace ombrix::terminal
