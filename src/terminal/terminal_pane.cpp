#include "terminal/terminal_pane.hpp"

#include <atomic>

namespace ombrix::terminal {

std::uint64_t next_pane_id() {
    static std::atomic<std::uint64_t> counter{0};
    return counter.fetch_add(1, std::memory_order_relaxed) + 1;
}

TerminalPane::~TerminalPane() {
    VteTerminal* vte = terminal();
    if (vte == nullptr) {
        return;
    }
    for (gulong id : terminal_handlers) {
        if (g_signal_handler_is_connected(vte, id)) {
            g_signal_handler_disconnect(vte, id);
        }
    }
}

} // namespace ombrix::terminal
