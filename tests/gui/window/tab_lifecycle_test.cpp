// Opening and closing many tabs leaks no file descriptors and leaves no processes; closing
// the window ends everything without a question.
#include "window_fixture.hpp"

#include <dirent.h>
#include <signal.h>

namespace ombrix::test {
namespace {

int open_descriptors() {
    int count = 0;
    if (DIR* dir = opendir("/proc/self/fd")) {
        while (readdir(dir) != nullptr) {
            ++count;
        }
        closedir(dir);
    }
    return count;
}

bool has_children() {
    return terminal::has_child_processes(static_cast<std::uint32_t>(getpid()));
}

using TabLifecycleTest = WindowTest;

TEST_F(TabLifecycleTest, FiftyTabsOpenedAndClosedLeaveNothingBehind) {
    open_window();
    // The first tab stays; its descriptors and shell are part of the baseline.
    pump_for(300);
    const int baseline = open_descriptors();

    for (int i = 0; i < 50; ++i) {
        tabs().new_tab(std::nullopt);
        if (i % 5 == 0) {
            tabs().split_vertical();
        }
        if (i % 10 == 0) {
            tabs().split_horizontal();
        }
    }
    ASSERT_TRUE(wait_for_shells());
    ASSERT_EQ(page_count(), 51);
    EXPECT_EQ(tabs().all_panes().size(), 51u + 10u + 5u);
    std::vector<pid_t> closed_shells;
    for (const auto& pane : tabs().all_panes()) {
        closed_shells.push_back(static_cast<pid_t>(pane->child_pid));
    }
    closed_shells.erase(closed_shells.begin()); // the first tab stays open
    while (page_count() > 1) {
        adw_tab_view_close_page(tab_view(), adw_tab_view_get_nth_page(tab_view(), 1));
        pump_for(5);
    }
    ASSERT_EQ(tabs().tabs().size(), 1u);
    auto first_shell = tabs().all_panes()[0]->child_pid;
    EXPECT_TRUE(pump_until([&] { return open_descriptors() <= baseline; }, 20000))
        << open_descriptors() << " descriptors open, " << baseline << " before";
    EXPECT_EQ(kill(static_cast<pid_t>(first_shell), 0), 0);
    EXPECT_TRUE(pump_until([&] { return all_ended(closed_shells); }, 20000))
        << "every closed tab's shell has ended and been reaped";
}

TEST_F(TabLifecycleTest, ClosingTheWindowEndsEveryShellWithoutAQuestion) {
    open_window();
    tabs().new_tab(std::nullopt);
    tabs().split_vertical();
    ASSERT_TRUE(wait_for_shells());
    auto busy = focused();
    type(busy, "sleep 100\n");
    ASSERT_TRUE(wait_for_child_program(busy));
    std::vector<pid_t> shells;
    for (const auto& pane : tabs().all_panes()) {
        shells.push_back(static_cast<pid_t>(pane->child_pid));
    }
    busy.reset();

    gtk_window_destroy(window());
    window_ = {};
    EXPECT_TRUE(pump_until([&] { return all_ended(shells); }, 20000))
        << "every shell of the closed window has ended";
    EXPECT_TRUE(pump_until([] { return !has_children(); }, 20000));
}

} // namespace
} // namespace ombrix::test
