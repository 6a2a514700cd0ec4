#pragma once

#include <adwaita.h>

namespace ombrix::ui {

struct TabEntry;

// Decides a "close-page" request: closes at once when no pane's shell runs a program (or the
// page has no entry), otherwise asks "Close Terminal?" first. Finishes the close exactly once,
// now or after the answer. The entry is only read before this returns.
void confirm_close_page(AdwTabView* tab_view, AdwTabPage* page, const TabEntry* entry);

} // namespace ombrix::ui
