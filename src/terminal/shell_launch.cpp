#include "terminal/shell_launch.hpp"

#include "terminal/banner.hpp"
#include "terminal/environment.hpp"
#include "ui/signal.hpp"

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace ombrix::terminal {

namespace {

// Owned by the pending spawn. The pane may be gone by the time the spawn completes (VTE then
// calls back with a null terminal), so it is held weakly.
struct SpawnData {
    std::weak_ptr<TerminalPane> pane;
};

void on_spawned(VteTerminal* /*terminal*/, GPid pid, GError* error, gpointer user_data) {
    std::unique_ptr<SpawnData> data(static_cast<SpawnData*>(user_data));
    auto pane = data->pane.lock();
    if (!pane) {
        // Closed while spawning; VTE itself hangs up on a child nobody wants.
        return;
    }
    if (error != nullptr) {
        std::fprintf(stderr, "Failed to spawn shell: %s\n", error->message);
        std::fflush(stderr);
        return;
    }
    pane->child_pid = static_cast<std::uint32_t>(pid);
}

// A NULL-terminated array of pointers into strings that outlive it.
std::vector<char*> c_strings(std::vector<std::string>& strings) {
    std::vector<char*> pointers;
    pointers.reserve(strings.size() + 1);
    for (auto& s : strings) {
        pointers.push_back(s.data());
    }
    pointers.push_back(nullptr);
    return pointers;
}

} // namespace

void feed_welcome_banner(VteTerminal* terminal) {
    const std::string banner = welcome_banner();
    vte_terminal_feed(terminal, banner.data(), static_cast<gssize>(banner.size()));
}

void launch_shell(const PaneRef& pane, ChildExitedHandler on_child_exited) {
    VteTerminal* vte = pane->terminal();

    std::vector<std::string> argv_strings;
    argv_strings.reserve(pane->args.size() + 1);
    argv_strings.push_back(pane->shell);
    argv_strings.insert(argv_strings.end(), pane->args.begin(), pane->args.end());
    std::vector<std::string> env_strings = build_environment();

    std::weak_ptr<TerminalPane> weak = pane;
    pane->terminal_handlers.push_back(ui::connect<void(VteTerminal*, int)>(
        vte, "child-exited",
        [weak, on_exit = std::move(on_child_exited)](VteTerminal*, int /*status*/) {
            // No strong hold across the call: the handler may remove the pane and with it
            // the last reference to this terminal.
            if (weak.expired() || !on_exit) {
                return;
            }
            on_exit();
        }));

    feed_welcome_banner(vte);

    auto argv = c_strings(argv_strings);
    auto envv = c_strings(env_strings);
    auto* data = new SpawnData{weak};
    // VTE copies argv and envv before returning.
    vte_terminal_spawn_async(vte, VTE_PTY_DEFAULT, pane->cwd.c_str(), argv.data(), envv.data(),
                             G_SPAWN_SEARCH_PATH, nullptr, nullptr, nullptr, -1, nullptr,
                             &on_spawned, data);
}

} // namespace ombrix::terminal
