// The window's widget tree, its title and the tab indicators.
#include "ui/adw_compat.hpp"
#include "ui/tab_manager/tab_icons.hpp"
#include "window_fixture.hpp"

#include <string>
#include <vector>

namespace ombrix::test {
namespace {

std::vector<GtkWidget*> children_of(GtkWidget* widget) {
    std::vector<GtkWidget*> children;
    for (GtkWidget* c = gtk_widget_get_first_child(widget); c; c = gtk_widget_get_next_sibling(c)) {
        children.push_back(c);
    }
    return children;
}

// Depth-first search for the first descendant with a CSS class.
GtkWidget* find_by_class(GtkWidget* root, const char* css_class) {
    if (gtk_widget_has_css_class(root, css_class)) {
        return root;
    }
    for (GtkWidget* child : children_of(root)) {
        if (GtkWidget* found = find_by_class(child, css_class)) {
            return found;
        }
    }
    return nullptr;
}

int requested_height(GtkWidget* widget) {
    int height = 0;
    gtk_widget_get_size_request(widget, nullptr, &height);
    return height;
}

using WindowStructureTest = WindowTest;

TEST_F(WindowStructureTest, BuildsTheWidgetTreeWithItsClassesAndSettings) {
    open_window();
    GtkWidget* win = GTK_WIDGET(window());
    EXPECT_TRUE(gtk_widget_has_css_class(win, "ombrix-window"));
    EXPECT_STREQ(gtk_window_get_icon_name(window()), OMBRIX_APP_ID);
    int width = 0, height = 0;
    gtk_window_get_default_size(window(), &width, &height);
    EXPECT_EQ(width, 960);
    EXPECT_EQ(height, 640);

    GtkWidget* box = adw_application_window_get_content(ADW_APPLICATION_WINDOW(win));
    ASSERT_TRUE(GTK_IS_BOX(box));
    auto rows = children_of(box);
    ASSERT_EQ(rows.size(), 2u);
    GtkWidget* header = rows[0];
    EXPECT_TRUE(ADW_IS_HEADER_BAR(header));
    EXPECT_TRUE(gtk_widget_has_css_class(header, "ombrix-header"));
    EXPECT_FALSE(gtk_widget_has_css_class(header, "default-decoration"));
    EXPECT_EQ(requested_height(header), 32);
    EXPECT_EQ(rows[1], window_.split_view.get());
    EXPECT_FALSE(ui::compat::split_view_get_show_sidebar(rows[1]));

    // Header: toggle and new tab on the left, the tab bar as title, find and preferences.
    GtkWidget* left = find_by_class(header, "ombrix-header-left");
    ASSERT_NE(left, nullptr);
    auto left_buttons = children_of(left);
    ASSERT_EQ(left_buttons.size(), 2u);
    EXPECT_TRUE(GTK_IS_TOGGLE_BUTTON(left_buttons[0]));
    EXPECT_TRUE(gtk_widget_has_css_class(left_buttons[0], "ombrix-sidebar-toggle"));
    EXPECT_STREQ(gtk_widget_get_tooltip_text(left_buttons[0]), "Toggle Sidebar (F9)");
    EXPECT_STREQ(gtk_button_get_icon_name(GTK_BUTTON(left_buttons[0])), "pan-end-symbolic");
    EXPECT_TRUE(gtk_widget_has_css_class(left_buttons[1], "ombrix-new-tab-btn"));
    EXPECT_STREQ(gtk_widget_get_tooltip_text(left_buttons[1]), "New Tab (Ctrl+Shift+T)");
    EXPECT_STREQ(gtk_button_get_icon_name(GTK_BUTTON(left_buttons[1])), "list-add-symbolic");

    GtkWidget* right = find_by_class(header, "ombrix-header-right");
    ASSERT_NE(right, nullptr);
    EXPECT_EQ(gtk_box_get_spacing(GTK_BOX(right)), 2);
    auto right_buttons = children_of(right);
    ASSERT_EQ(right_buttons.size(), 2u);
    EXPECT_STREQ(gtk_widget_get_tooltip_text(right_buttons[0]), "Find (Ctrl+Shift+F)");
    EXPECT_STREQ(gtk_button_get_icon_name(GTK_BUTTON(right_buttons[0])), "edit-find-symbolic");
    EXPECT_STREQ(gtk_widget_get_tooltip_text(right_buttons[1]), "Preferences");
    for (GtkWidget* button :
         {left_buttons[0], left_buttons[1], right_buttons[0], right_buttons[1]}) {
        int w = 0, h = 0;
        gtk_widget_get_size_request(button, &w, &h);
        EXPECT_EQ(w, 32);
        EXPECT_EQ(h, 32);
        EXPECT_TRUE(gtk_widget_has_css_class(button, "flat"));
    }

    AdwTabBar* bar = window_.tab_bar.get();
    EXPECT_EQ(adw_header_bar_get_title_widget(ADW_HEADER_BAR(header)), GTK_WIDGET(bar));
    EXPECT_TRUE(gtk_widget_has_css_class(GTK_WIDGET(bar), "ombrix-tabbar"));
    EXPECT_EQ(adw_tab_bar_get_view(bar), tab_view());
    EXPECT_FALSE(adw_tab_bar_get_autohide(bar));
    EXPECT_FALSE(adw_tab_bar_get_expand_tabs(bar));
    EXPECT_TRUE(gtk_widget_get_visible(GTK_WIDGET(bar))) << "visible with a single tab";

    // Content: the hidden search row above the tab view; one tab with one pane.
    GtkWidget* search = window_.search_row.get();
    EXPECT_FALSE(gtk_widget_get_visible(search));
    EXPECT_EQ(gtk_widget_get_next_sibling(search), GTK_WIDGET(tab_view()));
    EXPECT_EQ(page_count(), 1);
    ASSERT_EQ(tabs().all_panes().size(), 1u);
    auto pane = tabs().all_panes()[0];
    EXPECT_TRUE(pane->focused);
    EXPECT_TRUE(gtk_widget_has_css_class(pane->container.get(), "ombrix-pane-focused"));
}

TEST_F(WindowStructureTest, SidebarToggleSwitchesIconAndVisibility) {
    open_window();
    auto* toggle = GTK_TOGGLE_BUTTON(window_.sidebar_toggle.get());
    gtk_toggle_button_set_active(toggle, TRUE);
    EXPECT_STREQ(gtk_button_get_icon_name(GTK_BUTTON(toggle)), "pan-start-symbolic");
    EXPECT_TRUE(ui::compat::split_view_get_show_sidebar(window_.split_view.get()));
    ui::set_sidebar_visible(window_.split_view.get(), toggle, false);
    EXPECT_FALSE(gtk_toggle_button_get_active(toggle));
    EXPECT_STREQ(gtk_button_get_icon_name(GTK_BUTTON(toggle)), "pan-end-symbolic");
    EXPECT_FALSE(ui::compat::split_view_get_show_sidebar(window_.split_view.get()));
}

TEST_F(WindowStructureTest, WindowTitleFollowsTheSelectedTabAndTheDotMarksIt) {
    open_window();
    // The first tab's title is the shell's name, also in the window title.
    EXPECT_STREQ(gtk_window_get_title(window()), "Zelvane Terminal - sh");

    tabs().new_tab(std::nullopt);
    tabs().new_tab(std::nullopt);
    ASSERT_TRUE(wait_for_shells());
    ASSERT_EQ(page_count(), 3);
    AdwTabPage* first = adw_tab_view_get_nth_page(tab_view(), 0);
    AdwTabPage* third = adw_tab_view_get_nth_page(tab_view(), 2);

    auto dots = [&] {
        std::vector<bool> marked;
        for (const auto& entry : tabs().tabs()) {
            marked.push_back(adw_tab_page_get_indicator_icon(entry.page.get()) != nullptr);
        }
        return marked;
    };
    EXPECT_EQ(dots(), (std::vector<bool>{false, false, true}));

    // A tab whose shell sets a title shows it; the window title takes it when selected.
    adw_tab_page_set_title(first, "build logs");
    adw_tab_view_set_selected_page(tab_view(), first);
    EXPECT_STREQ(gtk_window_get_title(window()), "Zelvane Terminal - build logs");
    EXPECT_EQ(dots(), (std::vector<bool>{true, false, false}));

    // A later title change of the selected tab leaves the window title alone.
    adw_tab_page_set_title(first, "other");
    EXPECT_STREQ(gtk_window_get_title(window()), "Zelvane Terminal - build logs");

    adw_tab_view_set_selected_page(tab_view(), third);
    EXPECT_STREQ(gtk_window_get_title(window()), "Zelvane Terminal - sh");
}

TEST_F(WindowStructureTest, ShellSetTitlesReachTheTabOnlyFromItsFirstPane) {
    open_window();
    auto first = focused();
    type(first, "printf '\\033]0;%s\\007' first-title\n");
    AdwTabPage* page = adw_tab_view_get_selected_page(tab_view());
    ASSERT_TRUE(
        pump_until([&] { return std::string(adw_tab_page_get_title(page)) == "first-title"; }));

    tabs().split_vertical();
    ASSERT_TRUE(wait_for_shells());
    auto second = focused();
    ASSERT_NE(second, first);
    type(second, "printf '\\033]0;%s\\007' second-title\n");
    ASSERT_TRUE(pump_until([&] { return second->title == "second-title"; }));
    pump_for(100);
    EXPECT_STREQ(adw_tab_page_get_title(page), "first-title");

    // An empty title changes nothing.
    type(first, "printf '\\033]0;\\007'\n");
    pump_for(300);
    EXPECT_EQ(first->title, "first-title");
    EXPECT_STREQ(adw_tab_page_get_title(page), "first-title");
}

} // namespace
} // namespace ombrix::test
