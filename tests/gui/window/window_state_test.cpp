// The window's size and maximized state are written to the configuration as they change.
// Maximizing needs a window manager, so this test runs one (openbox) on the test display.
#include "config/storage.hpp"
#include "window_fixture.hpp"

#include <cstdlib>
#include <gdk/x11/gdkx.h>
#include <signal.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace ombrix::test {
namespace {

class WindowStateTest : public WindowTest {
protected:
    static void SetUpTestSuite() {
        window_manager_ = fork();
        if (window_manager_ == 0) {
            execlp("openbox", "openbox", "--sm-disable", static_cast<char*>(nullptr));
            _exit(127);
        }
        pump_for(1000);
    }
    static void TearDownTestSuite() {
        if (window_manager_ > 0) {
            kill(window_manager_, SIGTERM);
            waitpid(window_manager_, nullptr, 0);
        }
    }

    std::string xid() {
        GdkSurface* surface = gtk_native_get_surface(GTK_NATIVE(window()));
        return std::to_string(gdk_x11_surface_get_xid(surface));
    }
    config::Config saved() {
        auto text = read_file(home_.config_dir() + "/config.toml");
        auto parsed = config::Config::from_toml(text);
        EXPECT_TRUE(parsed.has_value()) << text;
        return parsed.value_or(config::Config{});
    }

    static inline pid_t window_manager_ = 0;
};

TEST_F(WindowStateTest, ResizingAndMaximizingAreSavedAtOnce) {
    open_window();
    // No --sync: the window manager waits for this process to answer while it resizes.
    ASSERT_EQ(std::system(("xdotool windowsize " + xid() + " 1100 700").c_str()), 0);
    ASSERT_TRUE(pump_until([&] {
        auto c = saved();
        return c.window.width == 1100 && c.window.height == 700;
    })) << "saved "
        << saved().window.width << "x" << saved().window.height;
    EXPECT_EQ(config_->window.width, 1100);
    EXPECT_FALSE(saved().window.is_maximized);

    gtk_window_maximize(window());
    ASSERT_TRUE(pump_until([&] { return saved().window.is_maximized; }));
    // Sizes seen while maximized are not recorded.
    EXPECT_EQ(saved().window.width, 1100);
    EXPECT_EQ(saved().window.height, 700);

    gtk_window_unmaximize(window());
    ASSERT_TRUE(pump_until([&] { return !saved().window.is_maximized; }));
    EXPECT_FALSE(config_->window.is_maximized);
}

TEST_F(WindowStateTest, AWindowStartsMaximizedFromTheConfiguration) {
    config_->window.is_maximized = true;
    config_->window.width = 1000;
    open_window();
    ASSERT_TRUE(pump_until([&] { return gtk_window_is_maximized(window()); }));
    int width = 0;
    int height = 0;
    gtk_window_get_default_size(window(), &width, &height);
    EXPECT_EQ(width, 1000) << "the stored size stays for leaving the maximized state";
}

} // namespace
} // namespace ombrix::test
