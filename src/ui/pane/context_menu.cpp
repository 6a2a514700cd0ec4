#include "ui/pane/context_menu.hpp"

#include "terminal/terminal_settings.hpp"
#include "ui/gobject_ptr.hpp"
#include "ui/signal.hpp"

namespace ombrix::ui {

namespace {

constexpr const char* popover_key = "ombrix-context-menu";
constexpr const char* copy_item_key = "ombrix-context-copy";

GtkWidget* context_menu_item(const char* icon_name, const char* label_text,
                             const char* shortcut_text) {
    GtkWidget* button = gtk_button_new();
    gtk_widget_add_css_class(button, "flat");
    gtk_widget_add_css_class(button, "ombrix-context-item");
    gtk_widget_set_can_focus(button, FALSE);

    GtkWidget* row = gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 8);
    GtkWidget* image = gtk_image_new_from_icon_name(icon_name);
    gtk_image_set_pixel_size(GTK_IMAGE(image), 14);
    GtkWidget* label = gtk_label_new(label_text);
    gtk_widget_set_halign(label, GTK_ALIGN_START);
    gtk_widget_set_hexpand(label, TRUE);
    GtkWidget* shortcut = gtk_label_new(shortcut_text);
    gtk_widget_set_halign(shortcut, GTK_ALIGN_END);
    gtk_widget_add_css_class(shortcut, "ombrix-context-shortcut");
    gtk_box_append(GTK_BOX(row), image);
    gtk_box_append(GTK_BOX(row), label);
    gtk_box_append(GTK_BOX(row), shortcut);
    gtk_button_set_child(GTK_BUTTON(button), row);
    return button;
}

// Closes the menu, then runs the terminal command. The popover lives inside the terminal, so
// the handler refers to both weakly instead of keeping either alive.
template <class Action>
void on_item_clicked(GtkWidget* item, GtkPopover* popover, VteTerminal* terminal, Action action) {
    connect<void(GtkButton*)>(item, "clicked",
                              [weak_popover = GWeakPtr<GtkPopover>(popover),
                               weak_terminal = GWeakPtr<VteTerminal>(terminal),
                               action](GtkButton*) {
                                  if (auto menu = weak_popover.get()) {
                                      gtk_popover_popdown(menu.get());
                                  }
                                  if (auto vte = weak_terminal.get()) {
                                      action(vte.get());
                                  }
                              });
}

void on_secondary_press(GtkGestureClick* gesture, int /*n_press*/, double x, double y) {
    GtkWidget* widget = gtk_event_controller_get_widget(GTK_EVENT_CONTROLLER(gesture));
    auto* terminal = VTE_TERMINAL(widget);
    GtkPopover* popover = context_menu_of(terminal);
    if (popover == nullptr) {
        return;
    }
    auto* copy_item = static_cast<GtkWidget*>(g_object_get_data(G_OBJECT(popover), copy_item_key));
    if (copy_item != nullptr) {
        gtk_widget_set_sensitive(copy_item, vte_terminal_get_has_selection(terminal));
    }
    const GdkRectangle target{terminal::saturating_int32(x), terminal::saturating_int32(y), 1, 1};
    gtk_popover_set_pointing_to(popover, &target);
    gtk_popover_popup(popover);
    gtk_gesture_set_state(GTK_GESTURE(gesture), GTK_EVENT_SEQUENCE_CLAIMED);
}

// A parented popover must be unparented before its parent finalizes; "destroy" runs while the
// terminal is being disposed. An open popover is closed first: unparented while shown, it
// stays referenced and is never freed.
void on_terminal_destroy(GtkWidget* widget) {
    auto* terminal = VTE_TERMINAL(widget);
    GtkPopover* popover = context_menu_of(terminal);
    if (popover == nullptr) {
        return;
    }
    g_object_set_data(G_OBJECT(terminal), popover_key, nullptr);
    gtk_popover_popdown(popover);
    gtk_widget_unparent(GTK_WIDGET(popover));
}

} // namespace

void attach_context_menu(VteTerminal* terminal) {
    if (context_menu_of(terminal) != nullptr) {
        return;
    }
    GtkWidget* widget = GTK_WIDGET(terminal);
    GtkWidget* popover = gtk_popover_new();
    gtk_widget_set_parent(popover, widget);
    gtk_popover_set_has_arrow(GTK_POPOVER(popover), FALSE);
    gtk_widget_add_css_class(popover, "ombrix-context-menu");

    GtkWidget* items = gtk_box_new(GTK_ORIENTATION_VERTICAL, 2);
    GtkWidget* copy = context_menu_item("edit-copy-symbolic", "Copy", "Ctrl+Shift+C");
    GtkWidget* paste = context_menu_item("edit-paste-symbolic", "Paste", "Ctrl+Shift+V");
    GtkWidget* select_all =
        context_menu_item("edit-select-all-symbolic", "Select All", "Ctrl+Shift+A");
    gtk_box_append(GTK_BOX(items), copy);
    gtk_box_append(GTK_BOX(items), paste);
    gtk_box_append(GTK_BOX(items), select_all);
    gtk_popover_set_child(GTK_POPOVER(popover), items);

    auto* menu = GTK_POPOVER(popover);
    on_item_clicked(copy, menu, terminal, [](VteTerminal* vte) {
        vte_terminal_copy_clipboard_format(vte, VTE_FORMAT_TEXT);
    });
    on_item_clicked(paste, menu, terminal,
                    [](VteTerminal* vte) { vte_terminal_paste_clipboard(vte); });
    on_item_clicked(select_all, menu, terminal,
                    [](VteTerminal* vte) { vte_terminal_select_all(vte); });

    g_object_set_data(G_OBJECT(popover), copy_item_key, copy);
    g_object_set_data(G_OBJECT(terminal), popover_key, popover);
    g_signal_connect(terminal, "destroy", G_CALLBACK(on_terminal_destroy), nullptr);

    GtkGesture* gesture = gtk_gesture_click_new();
    gtk_gesture_single_set_button(GTK_GESTURE_SINGLE(gesture), GDK_BUTTON_SECONDARY);
    gtk_event_controller_set_propagation_phase(GTK_EVENT_CONTROLLER(gesture), GTK_PHASE_CAPTURE);
    g_signal_connect(gesture, "pressed", G_CALLBACK(on_secondary_press), nullptr);
    gtk_widget_add_controller(widget, GTK_EVENT_CONTROLLER(gesture));
}

GtkPopover* context_menu_of(VteTerminal* terminal) {
    return static_cast<GtkPopover*>(g_object_get_data(G_OBJECT(terminal), popover_key));
}

} // namespace ombrix::ui
