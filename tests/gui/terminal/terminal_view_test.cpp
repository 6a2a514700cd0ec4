// The terminal view over a real VteTerminal: settings, colours, font, zoom, title and
// directory tracking, and search, as the widget reports them.
#include "terminal_test_support.hpp"

#include <cmath>
#include <gtest/gtest.h>
#include <memory>
#include <string>

namespace ombrix::test {
namespace {

using terminal::PaneRef;

class TerminalViewTest : public ::testing::Test {
protected:
    PaneRef make_pane(const config::Config& config, const theme::Theme& theme = sample_theme()) {
        pane_ = terminal::create_terminal_pane(config, theme, std::nullopt, std::nullopt);
        window_ = std::make_unique<PaneWindow>(pane_);
        pump_until([&] { return gtk_widget_get_mapped(pane_->backend.widget()); }, 3000);
        return pane_;
    }
    PaneRef make_pane() { return make_pane(config::Config::defaults()); }

    void feed(const std::string& text) {
        vte_terminal_feed(pane_->terminal(), text.data(), static_cast<gssize>(text.size()));
        pump_for(50);
    }
    // Feeds plain lines and waits until the terminal shows them.
    void feed_lines(const std::string& first_line, const std::string& rest = "") {
        feed(first_line + "\r\n" + rest);
        ASSERT_TRUE(pump_until(
            [&] { return terminal_text(pane_->terminal()).find(first_line) != std::string::npos; },
            3000));
    }

    std::string selected_text() {
        char* text = vte_terminal_get_text_selected(pane_->terminal(), VTE_FORMAT_TEXT);
        std::string result = text ? text : "";
        g_free(text);
        return result;
    }

    void TearDown() override {
        window_.reset();
        pane_.reset();
        pump_for(20);
    }

    TempHome home_;
    PaneRef pane_;
    std::unique_ptr<PaneWindow> window_;
};

GdkRGBA background_for_draw(VteTerminal* terminal) {
    GdkRGBA color{};
    vte_terminal_get_color_background_for_draw(terminal, &color);
    return color;
}

TEST_F(TerminalViewTest, NewTerminalCarriesTheConfiguredSettings) {
    auto config = config::Config::defaults();
    config.terminal.scrollback_lines = 2345;
    config.terminal.audible_bell = true;
    auto pane = make_pane(config);
    VteTerminal* vte = pane->terminal();

    gboolean autohide = FALSE;
    g_object_get(vte, "pointer-autohide", &autohide, nullptr);
    EXPECT_TRUE(autohide);
    EXPECT_TRUE(vte_terminal_get_scroll_on_keystroke(vte));
    EXPECT_FALSE(vte_terminal_get_scroll_on_output(vte));
    // Only builds of VTE with SIXEL support keep the setting.
    const bool sixel_built = (vte_get_feature_flags() & VTE_FEATURE_FLAG_SIXEL) != 0;
    EXPECT_EQ(vte_terminal_get_enable_sixel(vte) != FALSE, sixel_built);
    EXPECT_TRUE(vte_terminal_search_get_wrap_around(vte));
    EXPECT_EQ(vte_terminal_get_scrollback_lines(vte), 2345);
    EXPECT_TRUE(vte_terminal_get_audible_bell(vte));
    EXPECT_EQ(vte_terminal_get_font_scale(vte), 1.0);

    // The pane's container is a vertical box whose only child is the terminal.
    GtkWidget* container = pane->container.get();
    ASSERT_TRUE(GTK_IS_BOX(container));
    EXPECT_EQ(gtk_orientable_get_orientation(GTK_ORIENTABLE(container)), GTK_ORIENTATION_VERTICAL);
    EXPECT_EQ(gtk_widget_get_first_child(container), GTK_WIDGET(vte));
    EXPECT_EQ(gtk_widget_get_last_child(container), GTK_WIDGET(vte));
    EXPECT_TRUE(gtk_widget_get_hexpand(GTK_WIDGET(vte)));
    EXPECT_TRUE(gtk_widget_get_vexpand(GTK_WIDGET(vte)));

    EXPECT_EQ(pane->title, pane->shell_name);
    EXPECT_EQ(pane->child_pid, 0u);
    EXPECT_FALSE(pane->focused);
}

TEST_F(TerminalViewTest, PaneIdsIncrease) {
    auto config = config::Config::defaults();
    auto first = terminal::create_terminal_pane(config, sample_theme(), std::nullopt, std::nullopt);
    auto second =
        terminal::create_terminal_pane(config, sample_theme(), std::nullopt, std::nullopt);
    EXPECT_GE(first->id, 1u);
    EXPECT_GT(second->id, first->id);
}

struct CursorCase {
    const char* shape;
    const char* blink;
    VteCursorShape expected_shape;
    VteCursorBlinkMode expected_blink;
};

class CursorMappingTest : public TerminalViewTest,
                          public ::testing::WithParamInterface<CursorCase> {};

TEST_P(CursorMappingTest, WidgetReportsMappedCursor) {
    const auto& c = GetParam();
    auto config = config::Config::defaults();
    config.appearance.cursor_shape = c.shape;
    config.appearance.cursor_blink = c.blink;
    auto pane = make_pane(config);
    EXPECT_EQ(vte_terminal_get_cursor_shape(pane->terminal()), c.expected_shape);
    EXPECT_EQ(vte_terminal_get_cursor_blink_mode(pane->terminal()), c.expected_blink);

    // Re-applying the defaults goes back to a blinking-as-system block.
    terminal::apply_terminal_settings(*pane, config::Config::defaults());
    EXPECT_EQ(vte_terminal_get_cursor_shape(pane->terminal()), VTE_CURSOR_SHAPE_BLOCK);
    EXPECT_EQ(vte_terminal_get_cursor_blink_mode(pane->terminal()), VTE_CURSOR_BLINK_SYSTEM);
}

INSTANTIATE_TEST_SUITE_P(
    Mapping, CursorMappingTest,
    ::testing::Values(
        CursorCase{"ibeam", "on", VTE_CURSOR_SHAPE_IBEAM, VTE_CURSOR_BLINK_ON},
        CursorCase{"underline", "off", VTE_CURSOR_SHAPE_UNDERLINE, VTE_CURSOR_BLINK_OFF},
        CursorCase{"IBeam", "ON", VTE_CURSOR_SHAPE_BLOCK, VTE_CURSOR_BLINK_SYSTEM},
        CursorCase{"bar", "sometimes", VTE_CURSOR_SHAPE_BLOCK, VTE_CURSOR_BLINK_SYSTEM}));

struct AlphaCase {
    const char* background;
    double opacity;
    float expected_alpha;
};

class BackgroundAlphaTest : public TerminalViewTest,
                            public ::testing::WithParamInterface<AlphaCase> {};

TEST_P(BackgroundAlphaTest, OpacityReplacesAlphaOnlyBelowOne) {
    const auto& c = GetParam();
    auto config = config::Config::defaults();
    config.appearance.opacity = c.opacity;
    auto theme = sample_theme();
    theme.background = c.background;
    auto pane = make_pane(config, theme);

    GdkRGBA color = background_for_draw(pane->terminal());
    EXPECT_FLOAT_EQ(color.red, 0x1e / 255.0f);
    EXPECT_FLOAT_EQ(color.blue, 0x2e / 255.0f);
    EXPECT_FLOAT_EQ(color.alpha, c.expected_alpha);

    // The window stylesheet path: a new opacity in the cell, then the theme again.
    pane->backend.set_opacity(0.5);
    pane->backend.apply_theme(theme);
    EXPECT_FLOAT_EQ(background_for_draw(pane->terminal()).alpha, 0.5f);
}

INSTANTIATE_TEST_SUITE_P(Alpha, BackgroundAlphaTest,
                         ::testing::Values(AlphaCase{"#1e1e2e", 0.85, 0.85f},
                                           AlphaCase{"#1e1e2e", 1.0, 1.0f},
                                           AlphaCase{"#1e1e2e80", 1.0, 128 / 255.0f},
                                           AlphaCase{"#1e1e2e80", 0.85, 0.85f}));

TEST_F(TerminalViewTest, ThemeWithAnUnparsableColourChangesNothing) {
    auto pane = make_pane();
    const GdkRGBA before = background_for_draw(pane->terminal());

    auto bad_palette = sample_theme();
    bad_palette.background = "#ff0000";
    bad_palette.palette[7] = "#12345g";
    auto bad_background = sample_theme();
    bad_background.background = "red";
    auto bad_foreground = sample_theme();
    bad_foreground.background = "#ff0000";
    bad_foreground.foreground = "#12";
    // VTE accepts only certain palette sizes; a theme that was never validated must not
    // trip its checks.
    auto odd_palette = sample_theme();
    odd_palette.background = "#ff0000";
    odd_palette.palette.resize(10);

    for (const auto& theme : {bad_palette, bad_background, bad_foreground, odd_palette}) {
        pane->backend.apply_theme(theme);
        const GdkRGBA after = background_for_draw(pane->terminal());
        EXPECT_TRUE(gdk_rgba_equal(&before, &after)) << theme.background;
    }

    // Missing or unparsable cursor and selection colours restore the widget's defaults
    // (passing none); the main colours still apply.
    auto no_extras = sample_theme();
    no_extras.background = "#102030";
    no_extras.cursor.reset();
    no_extras.cursor_foreground = "not a colour";
    no_extras.selection_background.reset();
    no_extras.selection_foreground.reset();
    pane->backend.apply_theme(no_extras);
    EXPECT_FLOAT_EQ(background_for_draw(pane->terminal()).red, 0x10 / 255.0f);
}

TEST_F(TerminalViewTest, FontIsSetInPointsAndZoomOnlyScales) {
    auto config = config::Config::defaults();
    config.appearance.font_family = "DejaVu Sans Mono";
    config.appearance.font_size = 14.5;
    auto pane = make_pane(config);

    auto font_desc = [&] {
        PangoFontDescription* desc = nullptr;
        g_object_get(pane->terminal(), "font-desc", &desc, nullptr);
        return std::unique_ptr<PangoFontDescription, decltype(&pango_font_description_free)>(
            desc, &pango_font_description_free);
    };
    auto desc = font_desc();
    ASSERT_TRUE(desc);
    EXPECT_STREQ(pango_font_description_get_family(desc.get()), "DejaVu Sans Mono");
    EXPECT_EQ(pango_font_description_get_size(desc.get()), 14848);
    EXPECT_FALSE(pango_font_description_get_size_is_absolute(desc.get()));

    // Five steps of zoom, then a new size from the preferences: the size is the configured
    // one and the factor is kept, so the text shows at about 21 points.
    for (int i = 0; i < 5; ++i) {
        pane->backend.zoom_in();
    }
    config.appearance.font_size = 14.0;
    terminal::apply_terminal_settings(*pane, config);
    desc = font_desc();
    EXPECT_EQ(pango_font_description_get_size(desc.get()), 14 * PANGO_SCALE);
    EXPECT_NEAR(vte_terminal_get_font_scale(pane->terminal()) * 14.0, 21.0, 1e-9);
    EXPECT_EQ(pane->backend.font_scale(), vte_terminal_get_font_scale(pane->terminal()));
}

TEST_F(TerminalViewTest, ZoomStepsAreExactAndClamped) {
    auto pane = make_pane();
    auto& view = pane->backend;
    VteTerminal* vte = pane->terminal();

    view.zoom_in();
    EXPECT_EQ(vte_terminal_get_font_scale(vte), 1.1);
    view.zoom_in();
    EXPECT_EQ(vte_terminal_get_font_scale(vte), 1.2000000000000002);
    for (int i = 2; i < 19; ++i) {
        view.zoom_in();
    }
    EXPECT_EQ(vte_terminal_get_font_scale(vte), 2.9000000000000017);
    view.zoom_in();
    EXPECT_EQ(vte_terminal_get_font_scale(vte), 3.0);
    view.zoom_in();
    EXPECT_EQ(vte_terminal_get_font_scale(vte), 3.0);
    EXPECT_EQ(view.font_scale(), 3.0);

    view.zoom_reset();
    EXPECT_EQ(vte_terminal_get_font_scale(vte), 1.0);
    for (int i = 0; i < 6; ++i) {
        view.zoom_out();
    }
    EXPECT_EQ(vte_terminal_get_font_scale(vte), 0.40000000000000013);
    view.zoom_out();
    EXPECT_EQ(vte_terminal_get_font_scale(vte), 0.4);
    view.zoom_out();
    EXPECT_EQ(view.font_scale(), 0.4);

    // Copies of the view share the factor.
    terminal::VteBackend copy = view;
    copy.zoom_reset();
    EXPECT_EQ(view.font_scale(), 1.0);
}

TEST_F(TerminalViewTest, PaneTitleFollowsNonEmptyWindowTitles) {
    auto pane = make_pane();
    const std::string initial = pane->title;
    EXPECT_FALSE(initial.empty());

    feed("\033]0;build: make -j2\007");
    EXPECT_TRUE(pump_until([&] { return pane->title == "build: make -j2"; }, 3000));
    EXPECT_EQ(pane->backend.window_title(), std::optional<std::string>("build: make -j2"));

    feed("\033]0;\007");
    EXPECT_TRUE(pump_until([&] { return pane->backend.window_title() == ""; }, 3000));
    EXPECT_EQ(pane->title, "build: make -j2");
}

TEST_F(TerminalViewTest, CwdFollowsReportedDirectoryAsLocalPath) {
    auto pane = make_pane();
    const std::string initial = pane->cwd;

    // Debian's bash integration and fish report the host name and escape the path.
    feed("\033]7;file://some-host/tmp/with%20space/%C3%A9t%C3%A9\033\\");
    EXPECT_TRUE(pump_until([&] { return pane->cwd == "/tmp/with space/\xC3\xA9t\xC3\xA9"; }, 3000))
        << pane->cwd;
    EXPECT_EQ(pane->backend.current_directory(),
              std::optional<std::string>("/tmp/with space/\xC3\xA9t\xC3\xA9"));

    feed("\033]7;file:///var/tmp\007");
    EXPECT_TRUE(pump_until([&] { return pane->cwd == "/var/tmp"; }, 3000)) << pane->cwd;

    // Anything but a file URI leaves the directory as it was.
    feed("\033]7;https://example.com/elsewhere\007");
    pump_for(200);
    EXPECT_EQ(pane->cwd, "/var/tmp");
}

TEST_F(TerminalViewTest, SearchMatchesLiterallyUnlessRegex) {
    auto pane = make_pane();
    auto& view = pane->backend;
    feed_lines("axb Hello");

    EXPECT_FALSE(view.search("a.b", false, false));
    EXPECT_TRUE(view.search("a.b", false, true));
    EXPECT_EQ(selected_text(), "axb");
    // The installed regex was accepted (multi-line mode is what VTE asks for).
    EXPECT_NE(vte_terminal_search_get_regex(pane->terminal()), nullptr);

    EXPECT_TRUE(view.search("hello", false, false));
    EXPECT_EQ(selected_text(), "Hello");
    EXPECT_FALSE(view.search("hello", true, false));
    EXPECT_TRUE(view.search("Hello", true, false));
}

TEST_F(TerminalViewTest, LiteralSearchEscapesEverySpecialCharacter) {
    auto pane = make_pane();
    const std::string specials = "#$&()*+-.?[\\]^{|}~";
    feed_lines("before " + specials + " after");
    EXPECT_TRUE(pane->backend.search(specials, true, false));
    EXPECT_EQ(selected_text(), specials);
    EXPECT_TRUE(pane->backend.search("(", true, false));
    EXPECT_EQ(selected_text(), "(");
}

TEST_F(TerminalViewTest, InvalidPatternIsReportedAndKeepsTheCurrentSearch) {
    auto pane = make_pane();
    auto& view = pane->backend;
    VteTerminal* vte = pane->terminal();
    feed_lines("one (two) three");

    ASSERT_TRUE(view.search("two", false, false));
    VteRegex* current = vte_terminal_search_get_regex(vte);
    ASSERT_NE(current, nullptr);
    {
        StderrCapture capture;
        EXPECT_FALSE(view.search("(", false, true));
        const std::string err = capture.text();
        EXPECT_EQ(err.rfind("Invalid search pattern: ", 0), 0u) << err;
        EXPECT_EQ(err.back(), '\n');
    }
    EXPECT_EQ(vte_terminal_search_get_regex(vte), current);

    EXPECT_FALSE(view.search("", false, false));
    EXPECT_EQ(vte_terminal_search_get_regex(vte), nullptr);

    ASSERT_TRUE(view.search("three", false, false));
    view.clear_search();
    EXPECT_EQ(vte_terminal_search_get_regex(vte), nullptr);
}

TEST_F(TerminalViewTest, NextAndPreviousWrapAround) {
    auto pane = make_pane();
    auto& view = pane->backend;
    feed_lines("match one", "match two\r\nmatch three\r\n");
    ASSERT_TRUE(view.search("match \\w+", false, true));
    // Three matches; stepping four times in one direction comes back round.
    std::string first = selected_text();
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(view.search_next());
    }
    EXPECT_EQ(selected_text(), first);
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(view.search_previous());
    }
    EXPECT_EQ(selected_text(), first);
}

TEST_F(TerminalViewTest, SingleMatchStaysFoundOnEveryStep) {
    auto pane = make_pane();
    auto& view = pane->backend;
    feed_lines("alpha beta", "gamma\r\n");
    // Typing over the current match: the longer pattern is on the same row.
    ASSERT_TRUE(view.search("b", false, false));
    EXPECT_TRUE(view.search("be", false, false));
    EXPECT_TRUE(view.search("bet", false, false));
    EXPECT_EQ(selected_text(), "bet");
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(view.search_next());
        EXPECT_EQ(selected_text(), "bet");
        EXPECT_TRUE(view.search_previous());
        EXPECT_EQ(selected_text(), "bet");
    }
    EXPECT_FALSE(view.search("delta", false, false));
}

} // namespace
} // namespace ombrix::test
