// The tab list follows the tab bar: reordered tabs, and tabs dragged into another window's
// tab bar, which keep their terminals and stay under that window's close question and theme.
#include "ui/window/window_theme.hpp"
#include "window_fixture.hpp"

namespace ombrix::test {
namespace {

using TabMovesTest = WindowTest;

std::vector<AdwTabPage*> list_order(const ui::TabManager& tabs) {
    std::vector<AdwTabPage*> pages;
    for (const auto& entry : tabs.tabs()) {
        pages.push_back(entry.page.get());
    }
    return pages;
}

std::vector<AdwTabPage*> view_order(AdwTabView* view) {
    std::vector<AdwTabPage*> pages;
    for (int i = 0; i < adw_tab_view_get_n_pages(view); ++i) {
        pages.push_back(adw_tab_view_get_nth_page(view, i));
    }
    return pages;
}

TEST_F(TabMovesTest, ReorderingInTheTabBarReordersTheList) {
    open_window();
    tabs().new_tab(std::nullopt);
    tabs().new_tab(std::nullopt);
    ASSERT_TRUE(wait_for_shells());
    AdwTabPage* last = adw_tab_view_get_nth_page(tab_view(), 2);
    adw_tab_view_reorder_page(tab_view(), last, 0);
    EXPECT_EQ(list_order(tabs()), view_order(tab_view()));
    EXPECT_EQ(list_order(tabs()).front(), last);
    adw_tab_view_reorder_last(tab_view(), last);
    EXPECT_EQ(list_order(tabs()), view_order(tab_view()));
}

TEST_F(TabMovesTest, ATabMovedToAnotherWindowKeepsItsPanesThere) {
    open_window();
    tabs().split_vertical();
    ASSERT_TRUE(wait_for_shells());
    auto moved_panes = selected_leaves();
    ASSERT_EQ(moved_panes.size(), 2u);
    AdwTabPage* page = adw_tab_view_get_selected_page(tab_view());

    ui::MainWindow other = ui::build_main_window(application(), config_, catalogue_);
    gtk_window_present(GTK_WINDOW(other.window.get()));
    ASSERT_TRUE(pump_until([&] { return other.tabs->all_panes()[0]->child_pid != 0; }));

    adw_tab_view_transfer_page(tab_view(), page, other.tab_view.get(), 0);
    EXPECT_TRUE(tabs().tabs().empty());
    ASSERT_EQ(other.tabs->tabs().size(), 2u);
    EXPECT_EQ(other.tabs->tabs()[0].page.get(), page);
    EXPECT_EQ(other.tabs->tabs()[0].tree->leaves(), moved_panes);

    // The moved shells still run, and their exits act on the new window.
    for (const auto& pane : moved_panes) {
        EXPECT_EQ(kill(static_cast<pid_t>(pane->child_pid), 0), 0);
    }
    vte_terminal_feed_child(moved_panes[1]->terminal(), "exit\n", -1);
    ASSERT_TRUE(pump_until([&] { return other.tabs->tabs()[0].tree->pane_count() == 1; }));

    // A theme change in the new window reaches the moved terminal.
    config_->appearance.theme = "nord";
    ui::apply_window_theme(*other.context);
    GdkRGBA background{};
    vte_terminal_get_color_background_for_draw(moved_panes[0]->terminal(), &background);
    EXPECT_NEAR(background.red, 0x2e / 255.0, 1e-6);

    // And its close question is the new window's: an idle tab closes at once.
    adw_tab_view_close_page(other.tab_view.get(), page);
    ASSERT_TRUE(pump_until([&] { return other.tabs->tabs().size() == 1; }));
    gtk_window_destroy(GTK_WINDOW(other.window.get()));
}

} // namespace
} // namespace ombrix::test
