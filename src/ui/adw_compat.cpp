#include "ui/adw_compat.hpp"

#include "ui/gobject_ptr.hpp"
#include "ui/signal.hpp"

#include <algorithm>
#include <memory>

namespace ombrix::ui::compat {

void css_provider_load(GtkCssProvider* provider, std::string_view css) {
#if GTK_CHECK_VERSION(4, 12, 0)
    std::string text(css);
    gtk_css_provider_load_from_string(provider, text.c_str());
#else
    gtk_css_provider_load_from_data(provider, css.data(), static_cast<gssize>(css.size()));
#endif
}

#if ADW_CHECK_VERSION(1, 4, 0)

GtkWidget* split_view_new() {
    return adw_overlay_split_view_new();
}
void split_view_set_sidebar(GtkWidget* view, GtkWidget* sidebar) {
    adw_overlay_split_view_set_sidebar(ADW_OVERLAY_SPLIT_VIEW(view), sidebar);
}
void split_view_set_content(GtkWidget* view, GtkWidget* content) {
    adw_overlay_split_view_set_content(ADW_OVERLAY_SPLIT_VIEW(view), content);
}
void split_view_set_show_sidebar(GtkWidget* view, bool shown) {
    adw_overlay_split_view_set_show_sidebar(ADW_OVERLAY_SPLIT_VIEW(view), shown);
}
bool split_view_get_show_sidebar(GtkWidget* view) {
    return adw_overlay_split_view_get_show_sidebar(ADW_OVERLAY_SPLIT_VIEW(view));
}
void split_view_set_sidebar_width_limits(GtkWidget* view, double min_width, double max_width) {
    adw_overlay_split_view_set_min_sidebar_width(ADW_OVERLAY_SPLIT_VIEW(view), min_width);
    adw_overlay_split_view_set_max_sidebar_width(ADW_OVERLAY_SPLIT_VIEW(view), max_width);
}
const char* split_view_show_sidebar_property() {
    return "show-sidebar";
}

#else

// AdwFlap that never folds behaves like a split view that is not collapsed: the sidebar
// sits beside the content and slides in and out.
GtkWidget* split_view_new() {
    GtkWidget* flap = adw_flap_new();
    adw_flap_set_fold_policy(ADW_FLAP(flap), ADW_FLAP_FOLD_POLICY_NEVER);
    adw_flap_set_locked(ADW_FLAP(flap), TRUE);
    adw_flap_set_swipe_to_open(ADW_FLAP(flap), FALSE);
    adw_flap_set_swipe_to_close(ADW_FLAP(flap), FALSE);
    gtk_widget_set_hexpand(flap, TRUE);
    gtk_widget_set_vexpand(flap, TRUE);
    return flap;
}
void split_view_set_sidebar(GtkWidget* view, GtkWidget* sidebar) {
    // AdwFlap gives the flap its child's requested width: hold that within the limits.
    int min_width = GPOINTER_TO_INT(g_object_get_data(G_OBJECT(view), "ombrix-min-sidebar-width"));
    int max_width = GPOINTER_TO_INT(g_object_get_data(G_OBJECT(view), "ombrix-max-sidebar-width"));
    if (sidebar != nullptr && max_width > 0) {
        int width = -1;
        int height = -1;
        gtk_widget_get_size_request(sidebar, &width, &height);
        gtk_widget_set_size_request(sidebar, std::clamp(width, min_width, max_width), height);
        gtk_widget_set_hexpand(sidebar, FALSE);
    }
    adw_flap_set_flap(ADW_FLAP(view), sidebar);
}
void split_view_set_content(GtkWidget* view, GtkWidget* content) {
    adw_flap_set_content(ADW_FLAP(view), content);
}
void split_view_set_show_sidebar(GtkWidget* view, bool shown) {
    adw_flap_set_reveal_flap(ADW_FLAP(view), shown);
}
bool split_view_get_show_sidebar(GtkWidget* view) {
    return adw_flap_get_reveal_flap(ADW_FLAP(view));
}
void split_view_set_sidebar_width_limits(GtkWidget* view, double min_width, double max_width) {
    // Applied to the sidebar when it is set (split_view_set_sidebar).
    g_object_set_data(G_OBJECT(view), "ombrix-min-sidebar-width",
                      GINT_TO_POINTER(static_cast<int>(min_width)));
    g_object_set_data(G_OBJECT(view), "ombrix-max-sidebar-width",
                      GINT_TO_POINTER(static_cast<int>(max_width)));
}
const char* split_view_show_sidebar_property() {
    return "reveal-flap";
}

#endif

namespace {

struct AlertCallback {
    std::function<void(const std::string&)> on_response;
    bool answered = false;
    void answer(const std::string& response) {
        if (answered) {
            return;
        }
        answered = true;
        on_response(response);
    }
};

} // namespace

#if ADW_CHECK_VERSION(1, 5, 0)

GtkWidget* present_alert(GtkWindow* parent, const AlertSpec& details,
                         std::function<void(const std::string&)> on_response) {
    AdwDialog* dialog = adw_alert_dialog_new(details.heading.c_str(), details.body.c_str());
    auto* alert = ADW_ALERT_DIALOG(dialog);
    for (const auto& response : details.responses) {
        adw_alert_dialog_add_response(alert, response.id.c_str(), response.label.c_str());
        if (response.destructive) {
            adw_alert_dialog_set_response_appearance(alert, response.id.c_str(),
                                                     ADW_RESPONSE_DESTRUCTIVE);
        }
    }
    adw_alert_dialog_set_default_response(alert, details.default_response.c_str());
    adw_alert_dialog_set_close_response(alert, details.close_response.c_str());
    auto* callback = new AlertCallback{std::move(on_response)};
    adw_alert_dialog_choose(
        alert, parent ? GTK_WIDGET(parent) : nullptr, nullptr,
        [](GObject* source, GAsyncResult* result, gpointer data) {
            std::unique_ptr<AlertCallback> cb(static_cast<AlertCallback*>(data));
            const char* id = adw_alert_dialog_choose_finish(ADW_ALERT_DIALOG(source), result);
            cb->answer(id ? id : "");
        },
        callback);
    return GTK_WIDGET(dialog);
}

void respond_to_alert(GtkWidget* alert, const std::string& response) {
    g_signal_emit_by_name(alert, "response", response.c_str());
    adw_dialog_force_close(ADW_DIALOG(alert));
}

#else

GtkWidget* present_alert(GtkWindow* parent, const AlertSpec& details,
                         std::function<void(const std::string&)> on_response) {
    GtkWidget* dialog =
        adw_message_dialog_new(parent, details.heading.c_str(), details.body.c_str());
    auto* message = ADW_MESSAGE_DIALOG(dialog);
    for (const auto& response : details.responses) {
        adw_message_dialog_add_response(message, response.id.c_str(), response.label.c_str());
        if (response.destructive) {
            adw_message_dialog_set_response_appearance(message, response.id.c_str(),
                                                       ADW_RESPONSE_DESTRUCTIVE);
        }
    }
    adw_message_dialog_set_default_response(message, details.default_response.c_str());
    adw_message_dialog_set_close_response(message, details.close_response.c_str());
    if (parent) {
        gtk_window_set_modal(GTK_WINDOW(dialog), TRUE);
        // Closing the window must not wait for the answer (nor keep the dialog's references).
        gtk_window_set_destroy_with_parent(GTK_WINDOW(dialog), TRUE);
    }
    // The "response" signal exists since libadwaita 1.2; the dialog closes itself after it.
    connect<void(AdwMessageDialog*, const char*)>(
        dialog, "response",
        [callback = std::make_shared<AlertCallback>(AlertCallback{std::move(on_response)})](
            AdwMessageDialog*, const char* id) { callback->answer(id ? id : ""); });
    gtk_window_present(GTK_WINDOW(dialog));
    return dialog;
}

void respond_to_alert(GtkWidget* alert, const std::string& response) {
    // A button click answers and then closes; a programmatic answer has to close by itself.
    adw_message_dialog_response(ADW_MESSAGE_DIALOG(alert), response.c_str());
    gtk_window_destroy(GTK_WINDOW(alert));
}

#endif

} // namespace ombrix::ui::compat
