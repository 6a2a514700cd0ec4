#pragma once

#include "config/config.hpp"
#include "terminal/vte_backend.hpp"
#include "theme/theme.hpp"
#include "ui/gobject_ptr.hpp"

#include <cstdint>
#include <gtk/gtk.h>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace ombrix::terminal {

// One terminal with its shell: a leaf of a tab's pane tree. Shared by the tree, the tab
// list's look-ups and (weakly) the terminal's own signal handlers.
struct TerminalPane {
    std::string shell;
    std::string shell_name;
    std::vector<std::string> args;
    VteBackend backend;
    ui::GObjectPtr<GtkWidget> container; // vertical box holding the terminal
    std::uint64_t id = 0;
    std::string title;
    std::string cwd;
    std::uint32_t child_pid = 0;
    bool focused = false;
    // Handlers this system connected on the terminal; disconnected by the destructor.
    std::vector<gulong> terminal_handlers;

    TerminalPane(VteBackend backend_, ui::GObjectPtr<GtkWidget> container_, std::uint64_t id_)
        : backend(std::move(backend_)), container(std::move(container_)), id(id_) {}
    TerminalPane(const TerminalPane&) = delete;
    TerminalPane& operator=(const TerminalPane&) = delete;
    // Disconnects every handler this system put on the terminal, so a terminal that outlives
    // its pane (VTE emits "child-exited" while disposing) never calls back into freed state.
    ~TerminalPane();

    VteTerminal* terminal() const { return backend.terminal(); }
};

using PaneRef = std::shared_ptr<TerminalPane>;

// The next process-wide pane id (1, 2, ...; never reused).
std::uint64_t next_pane_id();

// Builds and configures a terminal from the configuration and theme, settles shell and
// working directory, wires title/directory tracking and the context menu. Does not start the
// shell (see launch_shell).
PaneRef create_terminal_pane(const config::Config& config, const theme::Theme& theme,
                             const std::optional<std::string>& shell_override,
                             const std::optional<std::string>& directory_override);

// Re-applies font, cursor, scrollback and bell from the configuration (zoom is kept).
void apply_terminal_settings(TerminalPane& pane, const config::Config& config);

} // namespace ombrix::terminal
