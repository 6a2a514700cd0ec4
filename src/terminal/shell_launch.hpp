#pragma once

#include "terminal/terminal_pane.hpp"

#include <functional>

namespace ombrix::terminal {

// Called once when the pane's shell exits. The owner of the pane (the tab manager) decides
// whether the pane or its whole tab goes.
using ChildExitedHandler = std::function<void()>;

// Builds argv and environment, connects the exit handler, feeds the welcome banner and spawns
// the shell asynchronously. A spawn that completes after the pane is gone touches nothing;
// a failure prints "Failed to spawn shell: ..." on standard error.
void launch_shell(const PaneRef& pane, ChildExitedHandler on_child_exited);

// Writes the welcome banner into the terminal's display.
void feed_welcome_banner(VteTerminal* terminal);

} // namespace ombrix::terminal
