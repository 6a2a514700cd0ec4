#pragma once

#include "ui/gobject_ptr.hpp"

#include <gdk-pixbuf/gdk-pixbuf.h>

// The two small pictures of the tab bar, decoded from inline SVG on first use and then shared
// by every tab of the process. A picture that cannot be decoded is empty, and the next use
// tries again.
namespace ombrix::ui {

// The teal prompt chevron of every tab and session row (16 × 16).
GObjectPtr<GdkPixbuf> tab_icon();
// The selection dot of the selected tab (8 × 8).
GObjectPtr<GdkPixbuf> selection_dot();

} // namespace ombrix::ui
