#pragma once

namespace ombrix::app {

// The process: logging, the single-instance application, configuration and theme catalogue,
// then the main loop. Returns the exit status.
int run(int argc, char** argv);

} // namespace ombrix::app
