#include "terminal/terminal_pane.hpp"

#include "terminal/shell.hpp"
#include "ui/pane/context_menu.hpp"
#include "ui/signal.hpp"

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

namespace {

void configure_widget(VteTerminal* vte) {
    GtkWidget* widget = GTK_WIDGET(vte);
    gtk_widget_set_hexpand(widget, TRUE);
    gtk_widget_set_vexpand(widget, TRUE);
    gtk_widget_set_halign(widget, GTK_ALIGN_FILL);
    gtk_widget_set_valign(widget, GTK_ALIGN_FILL);
    g_object_set(vte, "pointer-autohide", TRUE, nullptr);
    vte_terminal_set_scroll_on_keystroke(vte, TRUE);
    vte_terminal_set_scroll_on_output(vte, FALSE);
    vte_terminal_set_enable_sixel(vte, TRUE);
    vte_terminal_search_set_wrap_around(vte, TRUE);
}

// Title and directory tracking. The handlers hold the pane weakly: the pane owns the terminal,
// and the destructor disconnects them anyway.
void connect_tracking(const PaneRef& pane) {
    std::weak_ptr<TerminalPane> weak = pane;
    VteTerminal* vte = pane->terminal();
    pane->terminal_handlers.push_back(
        ui::connect<void(VteTerminal*)>(vte, "window-title-changed", [weak](VteTerminal*) {
            auto strong = weak.lock();
            if (!strong) {
                return;
            }
            auto title = strong->backend.window_title();
            if (title && !title->empty()) {
                strong->title = std::move(*title);
            }
        }));
    pane->terminal_handlers.push_back(ui::connect<void(VteTerminal*, GParamSpec*)>(
        vte, "notify::current-directory-uri", [weak](VteTerminal*, GParamSpec*) {
            auto strong = weak.lock();
            if (!strong) {
                return;
            }
            if (auto directory = strong->backend.current_directory()) {
                strong->cwd = std::move(*directory);
            }
        }));
}

} // namespace

PaneRef create_terminal_pane(const config::Config& config, const theme::Theme& theme,
                             const std::optional<std::string>& shell_override,
                             const std::optional<std::string>& directory_override) {
    const std::uint64_t id = next_pane_id();

    auto terminal = ui::ref_sink(VTE_TERMINAL(vte_terminal_new()));
    configure_widget(terminal.get());

    VteBackend backend(terminal.get(), config.appearance.opacity);
    backend.apply_theme(theme);
    backend.set_font(config.appearance.font_family, config.appearance.font_size);
    backend.set_cursor(config.appearance.cursor_shape, config.appearance.cursor_blink);
    backend.set_scrollback_lines(config.terminal.scrollback_lines);
    backend.set_audible_bell(config.terminal.audible_bell);

    ShellChoice choice = resolve_shell(shell_override, config.general.shell);
    // The override (a split's directory) may name a directory that has gone since; the choice
    // falls back to the configured or home directory then.
    std::string working_directory =
        choose_working_directory(directory_override, config.general.working_directory);

    auto container = ui::ref_sink(gtk_box_new(GTK_ORIENTATION_VERTICAL, 0));
    gtk_widget_set_hexpand(container.get(), TRUE);
    gtk_widget_set_vexpand(container.get(), TRUE);
    gtk_widget_set_halign(container.get(), GTK_ALIGN_FILL);
    gtk_widget_set_valign(container.get(), GTK_ALIGN_FILL);
    gtk_box_append(GTK_BOX(container.get()), GTK_WIDGET(terminal.get()));

    auto pane = std::make_shared<TerminalPane>(std::move(backend), std::move(container), id);
    pane->shell = std::move(choice.shell);
    pane->shell_name = std::move(choice.shell_name);
    pane->args = std::move(choice.args);
    pane->title = pane->shell_name;
    pane->cwd = std::move(working_directory);

    connect_tracking(pane);
    ui::attach_context_menu(terminal.get());
    return pane;
}

void apply_terminal_settings(TerminalPane& pane, const config::Config& config) {
    pane.backend.set_font(config.appearance.font_family, config.appearance.font_size);
    pane.backend.set_cursor(config.appearance.cursor_shape, config.appearance.cursor_blink);
    pane.backend.set_scrollback_lines(config.terminal.scrollback_lines);
    pane.backend.set_audible_bell(config.terminal.audible_bell);
}

} // namespace ombrix::terminal
