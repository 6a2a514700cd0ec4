// Tabs and split panes of a real window: opening, splitting, removing, focus, shell exits.
#include "window_fixture.hpp"

#include <cstdlib>
#include <gdk/x11/gdkx.h>
#include <string>

namespace ombrix::test {
namespace {

using TabsAndPanesTest = WindowTest;

GtkWidget* content_root(const ui::TabEntry& entry) {
    return gtk_widget_get_first_child(entry.tree->content());
}

const ui::TabEntry& selected_entry(ui::TabManager& tabs, AdwTabView* view) {
    return *tabs.find(adw_tab_view_get_selected_page(view));
}

TEST_F(TabsAndPanesTest, NewTabsAreAppendedSelectedAndNavigableWithoutWrapping) {
    open_window();
    tabs().new_tab(std::nullopt);
    tabs().new_tab(std::nullopt);
    ASSERT_TRUE(wait_for_shells());
    ASSERT_EQ(page_count(), 3);
    ASSERT_EQ(tabs().tabs().size(), 3u);
    EXPECT_EQ(
        adw_tab_view_get_page_position(tab_view(), adw_tab_view_get_selected_page(tab_view())), 2);

    tabs().next_tab();
    EXPECT_EQ(
        adw_tab_view_get_page_position(tab_view(), adw_tab_view_get_selected_page(tab_view())), 2);
    tabs().prev_tab();
    tabs().prev_tab();
    tabs().prev_tab();
    EXPECT_EQ(
        adw_tab_view_get_page_position(tab_view(), adw_tab_view_get_selected_page(tab_view())), 0);

    // Every tab has its own shell.
    auto panes = tabs().all_panes();
    ASSERT_EQ(panes.size(), 3u);
    EXPECT_NE(panes[0]->child_pid, panes[1]->child_pid);
    EXPECT_NE(panes[1]->child_pid, panes[2]->child_pid);
}

TEST_F(TabsAndPanesTest, SplitsNestRemoveWithCollapseAndCycleFocusInTreeOrder) {
    open_window();
    auto top = focused();
    tabs().split_horizontal(); // new pane below
    ASSERT_TRUE(wait_for_shells());
    auto lower_left = focused();
    const auto& entry = selected_entry(tabs(), tab_view());
    GtkWidget* root = content_root(entry);
    ASSERT_TRUE(GTK_IS_PANED(root));
    EXPECT_EQ(gtk_orientable_get_orientation(GTK_ORIENTABLE(root)), GTK_ORIENTATION_VERTICAL);
    EXPECT_EQ(gtk_paned_get_start_child(GTK_PANED(root)), top->container.get());
    EXPECT_EQ(gtk_paned_get_end_child(GTK_PANED(root)), lower_left->container.get());

    tabs().split_vertical(); // new pane to the right of the lower one
    ASSERT_TRUE(wait_for_shells());
    auto lower_right = focused();
    GtkWidget* inner = gtk_paned_get_end_child(GTK_PANED(root));
    ASSERT_TRUE(GTK_IS_PANED(inner));
    EXPECT_EQ(gtk_orientable_get_orientation(GTK_ORIENTABLE(inner)), GTK_ORIENTATION_HORIZONTAL);
    EXPECT_EQ(gtk_paned_get_start_child(GTK_PANED(inner)), lower_left->container.get());
    EXPECT_EQ(gtk_paned_get_end_child(GTK_PANED(inner)), lower_right->container.get());
    EXPECT_EQ(selected_leaves(), (std::vector<terminal::PaneRef>{top, lower_left, lower_right}));
    EXPECT_EQ(tabs().all_panes().size(), 3u);

    // Exactly one pane carries the focus mark.
    auto marked = [&] {
        std::vector<bool> result;
        for (const auto& pane : selected_leaves()) {
            result.push_back(pane->focused && gtk_widget_has_css_class(pane->container.get(),
                                                                       "ombrix-pane-focused"));
        }
        return result;
    };
    EXPECT_EQ(marked(), (std::vector<bool>{false, false, true}));

    tabs().focus_next_pane();
    EXPECT_EQ(focused(), top);
    tabs().focus_prev_pane();
    EXPECT_EQ(focused(), lower_right);
    tabs().focus_prev_pane();
    EXPECT_EQ(focused(), lower_left);
    EXPECT_EQ(marked(), (std::vector<bool>{false, true, false}));

    // Closing the lower-right pane collapses the inner split; the focus goes to the first
    // pane in tree order, not to the neighbour.
    tabs().focus_next_pane();
    ASSERT_EQ(focused(), lower_right);
    tabs().close_pane();
    EXPECT_EQ(focused(), top);
    root = content_root(entry);
    EXPECT_EQ(gtk_paned_get_end_child(GTK_PANED(root)), lower_left->container.get());
    EXPECT_EQ(selected_leaves(), (std::vector<terminal::PaneRef>{top, lower_left}));

    // Closing the top pane collapses the root: the survivor becomes the tab's content.
    tabs().close_pane();
    EXPECT_EQ(content_root(entry), lower_left->container.get());
    EXPECT_EQ(focused(), lower_left);
    EXPECT_TRUE(gtk_widget_has_css_class(lower_left->container.get(), "ombrix-pane-focused"));
    EXPECT_EQ(page_count(), 1);

    // The last pane's close closes the tab; the window stays, and a new tab can be opened.
    tabs().close_pane();
    ASSERT_TRUE(pump_until([&] { return page_count() == 0; }));
    EXPECT_TRUE(tabs().tabs().empty());
    EXPECT_EQ(tabs().focused_pane(), nullptr);
    tabs().focus_next_pane(); // nothing to act on
    tabs().new_tab(std::nullopt);
    EXPECT_EQ(page_count(), 1);
}

TEST_F(TabsAndPanesTest, ShellExitRemovesItsPaneOrClosesTheTab) {
    open_window();
    auto first = focused();
    tabs().split_vertical();
    ASSERT_TRUE(wait_for_shells());
    auto second = focused();

    type(second, "exit\n");
    ASSERT_TRUE(pump_until([&] { return selected_leaves().size() == 1; }));
    EXPECT_EQ(selected_leaves()[0], first);
    EXPECT_EQ(focused(), first);
    EXPECT_TRUE(gtk_widget_has_css_class(first->container.get(), "ombrix-pane-focused"));
    EXPECT_EQ(page_count(), 1);

    type(first, "exit\n");
    ASSERT_TRUE(pump_until([&] { return page_count() == 0; }));
    EXPECT_TRUE(tabs().tabs().empty());
}

TEST_F(TabsAndPanesTest, SplitStartsInTheDirectoryTheFocusedPaneReported) {
    config_->general.shell = "/bin/bash";
    std::string dir = home_.path() + "/work dir";
    ASSERT_EQ(g_mkdir_with_parents(dir.c_str(), 0755), 0);
    open_window();
    auto first = focused();
    // Report the directory the way shell integrations do.
    type(first,
         ("cd '" + dir +
          "' && printf '\\033]7;file://%s%s\\007' \"$HOSTNAME\" \"$(pwd | sed 's/ /%20/g')\"\n")
             .c_str());
    ASSERT_TRUE(pump_until([&] { return first->cwd == dir; })) << first->cwd;
    tabs().split_horizontal();
    ASSERT_TRUE(wait_for_shells());
    EXPECT_EQ(focused()->cwd, dir);
    std::string link = "/proc/" + std::to_string(focused()->child_pid) + "/cwd";
    ui::GCharPtr target(g_file_read_link(link.c_str(), nullptr));
    ASSERT_TRUE(target);
    EXPECT_EQ(std::string(target.get()), dir);
}

TEST_F(TabsAndPanesTest, KeyBindingsReachTheWindowThroughTheTerminal) {
    open_window();
    GdkSurface* surface = gtk_native_get_surface(GTK_NATIVE(window()));
    ASSERT_TRUE(GDK_IS_X11_SURFACE(surface));
    std::string id = std::to_string(gdk_x11_surface_get_xid(surface));
    ASSERT_EQ(std::system(("xdotool windowfocus --sync " + id).c_str()), 0);
    pump_for(200);

    auto press = [&](const char* keys) {
        ASSERT_EQ(std::system((std::string("xdotool key ") + keys).c_str()), 0);
        pump_for(300);
    };
    press("ctrl+shift+t");
    ASSERT_TRUE(pump_until([&] { return page_count() == 2; }));
    press("ctrl+shift+e");
    ASSERT_TRUE(pump_until([&] { return selected_leaves().size() == 2; }));
    ASSERT_TRUE(wait_for_shells());
    auto lower = focused();
    auto* toggle = GTK_TOGGLE_BUTTON(window_.sidebar_toggle.get());
    press("alt+Up");
    EXPECT_TRUE(pump_until([&] { return focused() != lower; }));
    press("ctrl+equal"); // Ctrl+= zooms in like Ctrl+plus
    EXPECT_TRUE(pump_until([&] { return focused()->backend.font_scale() > 1.05; }));
    press("ctrl+0");
    EXPECT_TRUE(pump_until([&] { return focused()->backend.font_scale() == 1.0; }));
    press("ctrl+Page_Up");
    EXPECT_TRUE(pump_until([&] {
        return adw_tab_view_get_page_position(tab_view(),
                                              adw_tab_view_get_selected_page(tab_view())) == 0;
    }));
    press("F9");
    EXPECT_TRUE(pump_until([&] { return gtk_toggle_button_get_active(toggle); }));
    press("ctrl+shift+b");
    EXPECT_TRUE(pump_until([&] { return !gtk_toggle_button_get_active(toggle); }));
}

} // namespace
} // namespace ombrix::test

namespace ombrix::test {
namespace {

TEST_F(TabsAndPanesTest, SwitchingBackToATabGivesTheKeyboardToItsMarkedPane) {
    open_window();
    tabs().split_horizontal();
    tabs().split_vertical();
    ASSERT_TRUE(wait_for_shells());
    auto marked = focused();
    AdwTabPage* split_tab = adw_tab_view_get_selected_page(tab_view());
    tabs().new_tab(std::nullopt);
    ASSERT_TRUE(wait_for_shells());
    pump_for(100);
    adw_tab_view_set_selected_page(tab_view(), split_tab);
    pump_for(200);
    EXPECT_EQ(focused(), marked);
    EXPECT_TRUE(gtk_widget_has_focus(marked->backend.widget()));
}

} // namespace
} // namespace ombrix::test
