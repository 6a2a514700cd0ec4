#pragma once

#include "config/config.hpp"

#include <gio/gio.h>

namespace ombrix::app {

// The "command-line" handler: runs in the primary instance for every launch. Activates the
// application (one new window) and returns 0.
int handle_command_line(GApplication* application, GApplicationCommandLine* command_line,
                        const config::ConfigHandle& config);

} // namespace ombrix::app
