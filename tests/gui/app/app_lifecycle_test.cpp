// End-to-end tests of the real binary: single instance, first-run configuration, exit when
// the last window closes, and the warning for a broken configuration.
#include "config/config.hpp"
#include "gui_fixture.hpp"
#include "launched_app.hpp"

#include <chrono>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <thread>

namespace ombrix::test {
namespace {

class AppLifecycleTest : public testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/ombrix-app-test.XXXXXX";
        home_ = g_mkdtemp(pattern);
        env_ = {{"HOME", home_},
                {"XDG_CONFIG_HOME", home_ + "/.config"},
                {"XDG_DATA_HOME", home_ + "/.local/share"}};
    }
    void TearDown() override { remove_tree(home_); }

    std::string config_path() const { return home_ + "/.config/ombrix/config.toml"; }

    // Polls until the process shows `count` windows; returns them.
    std::vector<unsigned long> wait_for_windows(LaunchedApp& app, std::size_t count,
                                                int timeout_ms = 20000) {
        auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
        std::vector<unsigned long> windows;
        while (std::chrono::steady_clock::now() < deadline && app.running()) {
            windows = visible_windows_of(app.pid());
            if (windows.size() >= count) {
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return windows;
    }

    static void close_window(unsigned long window) {
        std::string tool = std::string(OMBRIX_BUILD_DIR) + "/tests/gui/app/x11-close-window";
        ASSERT_EQ(std::system((tool + " " + std::to_string(window)).c_str()), 0);
    }

    std::string home_;
    std::map<std::string, std::string> env_;
};

TEST_F(AppLifecycleTest, FirstLaunchWritesDefaultsBeforeShowingAWindowAndExitsWithLastWindow) {
    struct stat info {};
    ASSERT_NE(::stat((home_ + "/.config").c_str(), &info), 0) << "no configuration dir yet";

    LaunchedApp app({}, env_, home_, "first");
    // At the first moment a window is visible, the file must already hold the defaults.
    std::vector<unsigned long> windows;
    std::string config_at_first_window;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (windows.empty() && std::chrono::steady_clock::now() < deadline && app.running()) {
        windows = visible_windows_of(app.pid());
        if (!windows.empty()) {
            config_at_first_window = read_file(config_path());
        }
    }
    ASSERT_EQ(windows.size(), 1u) << app.standard_error();
    EXPECT_EQ(config_at_first_window, *config::Config::defaults().to_toml());
    EXPECT_EQ(app.standard_error().find("Warning"), std::string::npos) << app.standard_error();

    close_window(windows[0]);
    EXPECT_EQ(app.wait(15000), 0) << app.standard_error();
}

TEST_F(AppLifecycleTest, SecondLaunchOpensAWindowInTheFirstProcessAndExitsZero) {
    LaunchedApp first({}, env_, home_, "first");
    ASSERT_EQ(wait_for_windows(first, 1).size(), 1u) << first.standard_error();

    LaunchedApp second({}, env_, home_, "second");
    EXPECT_EQ(second.wait(15000), 0) << second.standard_error();
    EXPECT_TRUE(second.standard_output().empty());

    auto windows = wait_for_windows(first, 2);
    ASSERT_EQ(windows.size(), 2u) << "the first process opens the second window";
    EXPECT_TRUE(first.running());

    // The process lives while any window is open and ends with the last one.
    close_window(windows[0]);
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    EXPECT_TRUE(first.running());
    close_window(windows[1]);
    EXPECT_EQ(first.wait(15000), 0) << first.standard_error();
}

TEST_F(AppLifecycleTest, BrokenConfigurationWarnsStartsWithDefaultsAndKeepsTheFile) {
    ASSERT_EQ(g_mkdir_with_parents((home_ + "/.config/ombrix").c_str(), 0755), 0);
    const std::string broken = "[window]\nwidth = 1200\nheight = \n";
    {
        std::ofstream out(config_path());
        out << broken;
    }
    LaunchedApp app({}, env_, home_, "broken");
    auto windows = wait_for_windows(app, 1);
    ASSERT_EQ(windows.size(), 1u) << app.standard_error();

    std::string error = app.standard_error();
    EXPECT_NE(error.find("Warning: Failed to parse " + config_path() + ": "), std::string::npos)
        << error;
    EXPECT_NE(error.find(". Using default configuration.\n"), std::string::npos) << error;
    EXPECT_EQ(read_file(config_path()), broken) << "the broken file is left untouched";

    // The window got the default size, not the 1200 of the broken file.
    std::string geometry =
        run_command("xdotool getwindowgeometry " + std::to_string(windows[0]) + " | grep Geometry");
    EXPECT_NE(geometry.find("960x640"), std::string::npos) << geometry;
}

} // namespace
} // namespace ombrix::test
