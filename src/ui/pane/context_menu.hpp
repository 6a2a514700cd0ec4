#pragma once

#include <vte/vte.h>

namespace ombrix::ui {

// Gives the terminal its right-click popover (Copy, Paste, Select All). The popover and the
// click gesture live as long as the terminal widget.
void attach_context_menu(VteTerminal* terminal);

// The popover attached by attach_context_menu, or null (for tests).
GtkPopover* context_menu_of(VteTerminal* terminal);

} // namespace ombrix::ui
