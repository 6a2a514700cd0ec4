#include "ui/window/main_window.hpp"

#include "ui/adw_compat.hpp"
#include "ui/signal.hpp"
#include "ui/window/key_bindings.hpp"
#include "ui/window/window_state.hpp"
#include "ui/window/window_theme.hpp"

#include <string>

namespace ombrix::ui {
namespace {

constexpr int user_priority = 800; // GTK_STYLE_PROVIDER_PRIORITY_USER

GtkWidget* header_button(const char* icon, const char* tooltip) {
    GtkWidget* button = gtk_button_new_from_icon_name(icon);
    gtk_widget_set_tooltip_text(button, tooltip);
    gtk_widget_set_size_request(button, 32, 32);
    gtk_widget_set_valign(button, GTK_ALIGN_CENTER);
    gtk_widget_add_css_class(button, "flat");
    return button;
}

const char* toggle_icon(bool active) {
    return active ? "pan-start-symbolic" : "pan-end-symbolic";
}

void install_provider(GtkWindow* window, GtkCssProvider* provider) {
    GdkDisplay* display = gdk_display_get_default();
    if (display == nullptr) {
        return;
    }
    gtk_style_context_add_provider_for_display(display, GTK_STYLE_PROVIDER(provider),
                                               user_priority);
    GtkIconTheme* icons = gtk_icon_theme_get_for_display(display);
    gtk_icon_theme_add_search_path(icons, "resources/icons");
    gtk_icon_theme_add_search_path(icons, "assets");
    // A closed window's stylesheet must not go on styling (and accumulating on) the display.
    connect<void(GtkWidget*)>(window, "destroy", [provider = ref(provider)](GtkWidget* widget) {
        gtk_style_context_remove_provider_for_display(gtk_widget_get_display(widget),
                                                      GTK_STYLE_PROVIDER(provider.get()));
    });
}

GtkWidget* build_sidebar_column() {
    // The sidebar's sessions, profiles, split buttons and theme chooser go in here.
    GtkWidget* sidebar = gtk_box_new(GTK_ORIENTATION_VERTICAL, 6);
    gtk_widget_add_css_class(sidebar, "ombrix-sidebar");
    gtk_widget_set_size_request(sidebar, 180, -1);
    return sidebar;
}

GtkWidget* build_search_row() {
    // The find-in-scrollback bar lives in this row, hidden until asked for.
    GtkWidget* row = gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 6);
    gtk_widget_add_css_class(row, "ombrix-searchbar");
    gtk_widget_set_visible(row, FALSE);
    return row;
}

void run_action(WindowAction action, const WindowContext& window, GtkWidget* split_view,
                GtkToggleButton* toggle) {
    TabManager& tabs = *window.tabs;
    auto with_pane = [&](auto&& operation) {
        if (terminal::PaneRef pane = tabs.focused_pane()) {
            operation(pane->backend);
        }
    };
    switch (action) {
    case WindowAction::new_tab:
        tabs.new_tab(std::nullopt);
        break;
    case WindowAction::close_tab:
        tabs.close_tab();
        tabs.notify_sessions_changed();
        break;
    case WindowAction::next_tab:
        tabs.next_tab();
        break;
    case WindowAction::prev_tab:
        tabs.prev_tab();
        break;
    case WindowAction::split_horizontal:
        tabs.split_horizontal();
        break;
    case WindowAction::split_vertical:
        tabs.split_vertical();
        break;
    case WindowAction::close_pane:
        tabs.close_pane();
        tabs.notify_sessions_changed();
        break;
    case WindowAction::focus_next_pane:
        tabs.focus_next_pane();
        break;
    case WindowAction::focus_prev_pane:
        tabs.focus_prev_pane();
        break;
    case WindowAction::toggle_sidebar:
        set_sidebar_visible(split_view, toggle, !compat::split_view_get_show_sidebar(split_view));
        break;
    case WindowAction::search:
        break;
    case WindowAction::copy:
        with_pane([](terminal::VteBackend& b) { b.copy(); });
        break;
    case WindowAction::paste:
        with_pane([](terminal::VteBackend& b) { b.paste(); });
        break;
    case WindowAction::select_all:
        with_pane([](terminal::VteBackend& b) { b.select_all(); });
        break;
    case WindowAction::zoom_in:
        with_pane([](terminal::VteBackend& b) { b.zoom_in(); });
        break;
    case WindowAction::zoom_out:
        with_pane([](terminal::VteBackend& b) { b.zoom_out(); });
        break;
    case WindowAction::zoom_reset:
        with_pane([](terminal::VteBackend& b) { b.zoom_reset(); });
        break;
    }
}

} // namespace

void set_sidebar_visible(GtkWidget* split_view, GtkToggleButton* toggle, bool visible) {
    if (static_cast<bool>(gtk_toggle_button_get_active(toggle)) != visible) {
        gtk_toggle_button_set_active(toggle, visible);
        gtk_button_set_icon_name(GTK_BUTTON(toggle), toggle_icon(visible));
    }
    compat::split_view_set_show_sidebar(split_view, visible);
}

MainWindow build_main_window(AdwApplication* application, const config::ConfigHandle& config,
                             const theme::CatalogueHandle& catalogue) {
    MainWindow result;
    result.config = config;
    result.catalogue = catalogue;

    // 1. The window.
    GtkWidget* window = GTK_WIDGET(
        g_object_new(ADW_TYPE_APPLICATION_WINDOW, "application", application, "title",
                     "Zelvane Terminal", "icon-name", OMBRIX_APP_ID, "default-width",
                     config->window.width, "default-height", config->window.height, nullptr));
    gtk_widget_add_css_class(window, "ombrix-window");
    if (config->window.is_maximized) {
        gtk_window_maximize(GTK_WINDOW(window));
    }
    result.window = ref(window);

    // 2. The window's stylesheet provider.
    result.provider = adopt(gtk_css_provider_new());
    install_provider(GTK_WINDOW(window), result.provider.get());

    // 3. Tab view, tab bar and the tab list.
    AdwTabView* tab_view = adw_tab_view_new();
    result.tab_view = ref(tab_view);
    gtk_widget_set_hexpand(GTK_WIDGET(tab_view), TRUE);
    gtk_widget_set_vexpand(GTK_WIDGET(tab_view), TRUE);
    AdwTabBar* tab_bar = adw_tab_bar_new();
    result.tab_bar = ref(tab_bar);
    adw_tab_bar_set_view(tab_bar, tab_view);
    adw_tab_bar_set_autohide(tab_bar, FALSE);
    adw_tab_bar_set_expand_tabs(tab_bar, FALSE);
    result.tabs = TabManager::create(tab_view, config, catalogue);

    // 4. Search-bar row.
    GtkWidget* search_row = build_search_row();
    result.search_row = ref(search_row);

    // 5. Split view and its content.
    GtkWidget* split_view = compat::split_view_new();
    result.split_view = ref(split_view);
    gtk_widget_set_hexpand(split_view, TRUE);
    gtk_widget_set_vexpand(split_view, TRUE);
    compat::split_view_set_sidebar_width_limits(split_view, 160.0, 220.0);
    GtkWidget* content = gtk_box_new(GTK_ORIENTATION_VERTICAL, 0);
    gtk_widget_set_hexpand(content, TRUE);
    gtk_widget_set_vexpand(content, TRUE);
    gtk_box_append(GTK_BOX(content), search_row);
    gtk_box_append(GTK_BOX(content), GTK_WIDGET(tab_view));
    compat::split_view_set_content(split_view, content);
    compat::split_view_set_show_sidebar(split_view, false);

    // 6. What the window's handlers share.
    auto context = std::make_shared<WindowContext>(
        WindowContext{config, catalogue, result.provider, result.tabs});
    result.context = context;

    // 7. Header bar and its buttons.
    GtkWidget* header = adw_header_bar_new();
    result.header_bar = ref(header);
    gtk_widget_add_css_class(header, "ombrix-header");
    gtk_widget_remove_css_class(header, "default-decoration");
    gtk_widget_set_size_request(header, -1, 32);

    GtkWidget* toggle = gtk_toggle_button_new();
    result.sidebar_toggle = ref(toggle);
    gtk_button_set_icon_name(GTK_BUTTON(toggle), toggle_icon(false));
    gtk_widget_set_tooltip_text(toggle, "Toggle Sidebar (F9)");
    gtk_widget_set_size_request(toggle, 32, 32);
    gtk_widget_set_valign(toggle, GTK_ALIGN_CENTER);
    gtk_widget_add_css_class(toggle, "flat");
    gtk_widget_add_css_class(toggle, "ombrix-sidebar-toggle");
    GtkWidget* new_tab = header_button("list-add-symbolic", "New Tab (Ctrl+Shift+T)");
    gtk_widget_add_css_class(new_tab, "ombrix-new-tab-btn");
    GtkWidget* find = header_button("edit-find-symbolic", "Find (Ctrl+Shift+F)");
    GtkWidget* preferences = header_button("emblem-system-symbolic", "Preferences");

    GtkWidget* start = gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 0);
    gtk_widget_add_css_class(start, "ombrix-header-left");
    gtk_widget_set_valign(start, GTK_ALIGN_CENTER);
    gtk_box_append(GTK_BOX(start), toggle);
    gtk_box_append(GTK_BOX(start), new_tab);
    adw_header_bar_pack_start(ADW_HEADER_BAR(header), start);

    gtk_widget_add_css_class(GTK_WIDGET(tab_bar), "ombrix-tabbar");
    gtk_widget_set_hexpand(GTK_WIDGET(tab_bar), TRUE);
    gtk_widget_set_size_request(GTK_WIDGET(tab_bar), -1, 32);
    gtk_widget_set_valign(GTK_WIDGET(tab_bar), GTK_ALIGN_CENTER);
    adw_header_bar_set_title_widget(ADW_HEADER_BAR(header), GTK_WIDGET(tab_bar));

    GtkWidget* end = gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 2);
    gtk_widget_add_css_class(end, "ombrix-header-right");
    gtk_widget_set_valign(end, GTK_ALIGN_CENTER);
    gtk_box_append(GTK_BOX(end), find);
    gtk_box_append(GTK_BOX(end), preferences);
    adw_header_bar_pack_end(ADW_HEADER_BAR(header), end);

    connect<void(GtkToggleButton*)>(
        toggle, "toggled", [weak_split = GWeakPtr<GtkWidget>(split_view)](GtkToggleButton* b) {
            bool active = gtk_toggle_button_get_active(b);
            gtk_button_set_icon_name(GTK_BUTTON(b), toggle_icon(active));
            if (auto split = weak_split.get()) {
                compat::split_view_set_show_sidebar(split.get(), active);
            }
        });
    connect<void(GtkButton*)>(new_tab, "clicked",
                              [tabs = result.tabs](GtkButton*) { tabs->new_tab(std::nullopt); });

    // 8. Sidebar column, hidden.
    GtkWidget* sidebar = build_sidebar_column();
    result.sidebar = ref(sidebar);
    compat::split_view_set_sidebar(split_view, sidebar);
    compat::split_view_set_show_sidebar(split_view, false);

    // 9. Window content.
    GtkWidget* window_box = gtk_box_new(GTK_ORIENTATION_VERTICAL, 0);
    gtk_widget_set_hexpand(window_box, TRUE);
    gtk_widget_set_vexpand(window_box, TRUE);
    gtk_box_append(GTK_BOX(window_box), header);
    gtk_box_append(GTK_BOX(window_box), split_view);
    adw_application_window_set_content(ADW_APPLICATION_WINDOW(window), window_box);

    // 10. The selected tab decides the indicators and the window title.
    connect<void(AdwTabView*, GParamSpec*)>(
        tab_view, "notify::selected-page",
        [tabs = std::weak_ptr<TabManager>(result.tabs),
         weak_window = GWeakPtr<GtkWidget>(window)](AdwTabView* view, GParamSpec*) {
            auto manager = tabs.lock();
            if (!manager) {
                return;
            }
            manager->update_tab_indicators();
            AdwTabPage* page = adw_tab_view_get_selected_page(view);
            auto window = weak_window.get();
            if (page != nullptr && window) {
                std::string title =
                    std::string("Zelvane Terminal - ") + adw_tab_page_get_title(page);
                gtk_window_set_title(GTK_WINDOW(window.get()), title.c_str());
            }
            // The keyboard goes to the tab's marked pane, the one its key actions act on.
            if (terminal::PaneRef pane = manager->focused_pane()) {
                gtk_widget_grab_focus(pane->backend.widget());
            }
            manager->notify_sessions_changed();
        });

    // 11. Key bindings. A terminal consumes every key it is given, so the window sees the
    // keys first (capture phase); keys that match no binding still reach the terminal.
    GtkEventController* keys = gtk_event_controller_key_new();
    gtk_event_controller_set_propagation_phase(keys, GTK_PHASE_CAPTURE);
    connect<gboolean(GtkEventControllerKey*, guint, guint, GdkModifierType)>(
        keys, "key-pressed",
        [context, weak_split = GWeakPtr<GtkWidget>(split_view),
         weak_toggle = GWeakPtr<GtkWidget>(toggle)](GtkEventControllerKey*, guint keyval, guint,
                                                    GdkModifierType state) -> gboolean {
            auto action = match_key(keyval, static_cast<std::uint32_t>(state));
            if (!action) {
                return FALSE;
            }
            auto split = weak_split.get();
            auto toggle = weak_toggle.get();
            if (split && toggle) {
                run_action(*action, *context, split.get(), GTK_TOGGLE_BUTTON(toggle.get()));
            }
            return TRUE;
        });
    gtk_widget_add_controller(window, keys);

    // 12. Size and maximized state go to the configuration.
    track_window_state(GTK_WINDOW(window), config);

    // 13. Stylesheet and terminal colours.
    apply_window_theme(*context);

    // 14. The first tab.
    result.tabs->new_tab(std::nullopt);
    return result;
}

} // namespace ombrix::ui
