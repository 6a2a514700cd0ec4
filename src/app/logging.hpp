#pragma once

#include "app/log_filter.hpp"

namespace ombrix::app {

// Installs the process-wide logger writing text records to standard output, filtered by the
// log filter variable (default "ombrix=info").
void install_logging();

} // namespace ombrix::app
