#pragma once

#include <adwaita.h>
#include <functional>
#include <gtk/gtk.h>
#include <string>
#include <string_view>
#include <vector>

// The one place that knows which toolkit version is in use. Widgets newer than the oldest
// supported libadwaita/GTK are used when the headers provide them; otherwise the nearest
// older equivalent stands in with the same texts, classes and behaviour. The rest of the code
// calls only these functions.
namespace ombrix::ui::compat {

// Replaces the provider's whole content with the stylesheet text.
void css_provider_load(GtkCssProvider* provider, std::string_view css);

// --- Sidebar split view (AdwOverlaySplitView, or AdwFlap before libadwaita 1.4) ---
GtkWidget* split_view_new();
void split_view_set_sidebar(GtkWidget* split_view, GtkWidget* sidebar);
void split_view_set_content(GtkWidget* split_view, GtkWidget* content);
void split_view_set_show_sidebar(GtkWidget* split_view, bool shown);
bool split_view_get_show_sidebar(GtkWidget* split_view);
void split_view_set_sidebar_width_limits(GtkWidget* split_view, double min_width, double max_width);
// The property whose "notify::" signal reports sidebar visibility changes.
const char* split_view_show_sidebar_property();

// --- Alert dialog (AdwAlertDialog, or AdwMessageDialog before libadwaita 1.5) ---
struct AlertResponse {
    std::string id;
    std::string label;
    bool destructive = false;
};

struct AlertSpec {
    std::string heading;
    std::string body;
    std::vector<AlertResponse> responses;
    std::string default_response;
    std::string close_response;
};

// Presents the alert over parent (may be null) and calls on_response exactly once with the
// chosen response id (the close response for Escape or dismissal). Returns the dialog widget
// so tests can find and answer it.
GtkWidget* present_alert(GtkWindow* parent, const AlertSpec& details,
                         std::function<void(const std::string& response)> on_response);

// Answers an alert presented by present_alert as if the user chose response (for tests and
// for programmatic dismissal).
void respond_to_alert(GtkWidget* alert, const std::string& response);

} // namespace ombrix::ui::compat
