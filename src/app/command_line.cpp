#include "app/command_line.hpp"

namespace ombrix::app {

int handle_command_line(GApplication* application, GApplicationCommandLine* /*command_line*/,
                        const config::ConfigHandle& /*config*/) {
    g_application_activate(application);
    return 0;
}

} // namespace ombrix::app
