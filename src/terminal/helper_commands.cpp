#include "terminal/helper_commands.hpp"

#include "config/paths.hpp"
#include "util/file_io.hpp"

#include <glib.h>

namespace ombrix::terminal {

// Literal \033 and \n: the shell's printf turns them into escapes when the script runs.
const std::string_view specs_script = R"script(#!/bin/sh
printf "\033[1;36mOmbrix System Specifications\033[0m\n"
printf "  \033[36mOS:\033[0m Linux $(uname -m)\n"
printf "  \033[36mHost:\033[0m Zelvane Terminal (Ombrix) v0.1.4\n"
printf "  \033[36mToolkit:\033[0m GTK4 & Libadwaita\n"
printf "  \033[36mTerminal Engine:\033[0m VTE (Virtual Terminal Emulator)\n"
printf "  \033[36mShell:\033[0m $SHELL\n"
)script";

const std::string_view themes_script = R"script(#!/bin/sh
printf "\033[1;36mAvailable Ombrix Built-in Themes:\033[0m\n"
printf "  1. \033[1mkitty-dark\033[0m       (Default Modern Dark)\n"
printf "  2. \033[1mnord\033[0m             (Arctic Blue Dark)\n"
printf "  3. \033[1mdracula\033[0m          (Vampire Violet)\n"
printf "  4. \033[1mcatppuccin-mocha\033[0m (Warm Pastel Dark)\n"
printf "  5. \033[1mgruvbox-dark\033[0m     (Retro Warm Dark)\n"
printf "  6. \033[1mtokyo-night\033[0m      (Neon Cyberpunk)\n"
printf "  7. \033[1mone-dark\033[0m         (Atom Vibrant Dark)\n"
printf "  8. \033[1mkanagawa\033[0m         (Japanese Ink Dark)\n\n"
printf "\033[2mChange themes via Sidebar dropdown or Preferences (Ctrl+,)\033[0m\n"
)script";

const std::string_view ombrix_script = R"script(#!/bin/sh
case "$1" in
specs) specs ;;
themes) themes ;;
*) printf "Ombrix (Zelvane Terminal) v0.1.4\nCommands: specs, themes, clear\n" ;;
esac
)script";

void write_helper_commands(const std::string& helper_dir) {
    // Failures are ignored: the shell then simply reports an unknown command.
    (void)g_mkdir_with_parents(helper_dir.c_str(), 0777);
    const std::pair<const char*, std::string_view> scripts[] = {
        {"specs", specs_script}, {"themes", themes_script}, {"ombrix", ombrix_script}};
    for (const auto& [name, text] : scripts) {
        // Rewritten at every new terminal; a shell in another tab may be running the old
        // copy, so the new one is renamed into place rather than written over it.
        (void)util::replace_file_atomically(helper_dir + "/" + name, text, 0755);
    }
}

std::optional<std::string> install_helper_commands() {
    std::optional<std::string> data = config::data_dir();
    if (!data) {
        return std::nullopt;
    }
    std::string helper_dir = *data + "/bin";
    write_helper_commands(helper_dir);
    return helper_dir;
}

} // namespace ombrix::terminal
