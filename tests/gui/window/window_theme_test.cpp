// The configured theme styles the window and recolours every terminal of it.
#include "ui/window/window_theme.hpp"
#include "window_fixture.hpp"

#include <vector>

namespace ombrix::test {
namespace {

// The colour of one pixel of a widget as it is drawn.
struct Pixel {
    int red, green, blue;
};

Pixel pixel_of(GtkWidget* widget, int x, int y) {
    GdkPaintable* paintable = gtk_widget_paintable_new(widget);
    int width = gtk_widget_get_width(widget);
    int height = gtk_widget_get_height(widget);
    GtkSnapshot* snapshot = gtk_snapshot_new();
    gdk_paintable_snapshot(paintable, snapshot, width, height);
    GskRenderNode* node = gtk_snapshot_free_to_node(snapshot);
    GskRenderer* renderer = gtk_native_get_renderer(gtk_widget_get_native(widget));
    GdkTexture* texture = gsk_renderer_render_texture(renderer, node, nullptr);
    int tex_width = gdk_texture_get_width(texture);
    std::vector<guchar> data(static_cast<std::size_t>(tex_width) * gdk_texture_get_height(texture) *
                             4);
    gdk_texture_download(texture, data.data(), static_cast<gsize>(tex_width) * 4);
    // Cairo ARGB32 in memory order: blue, green, red, alpha.
    const guchar* p = &data[(static_cast<std::size_t>(y) * tex_width + x) * 4];
    Pixel result{p[2], p[1], p[0]};
    g_object_unref(texture);
    gsk_render_node_unref(node);
    g_object_unref(paintable);
    return result;
}

using WindowThemeTest = WindowTest;

TEST_F(WindowThemeTest, ApplyingAnotherThemeRecoloursEveryTerminalAndTheChrome) {
    open_window();
    tabs().split_vertical();
    tabs().new_tab(std::nullopt);
    ASSERT_TRUE(wait_for_shells());
    pump_for(300);
    GtkWidget* terminal = GTK_WIDGET(tabs().all_panes()[2]->terminal());
    Pixel before = pixel_of(terminal, 5, gtk_widget_get_height(terminal) - 5);
    EXPECT_EQ(before.red, 0x18);
    EXPECT_EQ(before.green, 0x18);
    EXPECT_EQ(before.blue, 0x25);

    config_->appearance.theme = "dracula"; // background #282a36
    config_->appearance.opacity = 0.85;
    ui::apply_window_theme(*window_.context);
    for (const auto& pane : tabs().all_panes()) {
        GdkRGBA background{};
        vte_terminal_get_color_background_for_draw(pane->terminal(), &background);
        EXPECT_NEAR(background.red, 0x28 / 255.0, 1e-6);
        EXPECT_NEAR(background.green, 0x2a / 255.0, 1e-6);
        EXPECT_NEAR(background.blue, 0x36 / 255.0, 1e-6);
        EXPECT_NEAR(background.alpha, 0.85, 1e-6);
        EXPECT_DOUBLE_EQ(pane->backend.opacity(), 0.85);
    }
    config_->appearance.opacity = 1.0;
    ui::apply_window_theme(*window_.context);
    pump_for(300);
    Pixel after = pixel_of(terminal, 5, gtk_widget_get_height(terminal) - 5);
    EXPECT_EQ(after.red, 0x28);
    EXPECT_EQ(after.green, 0x2a);
    EXPECT_EQ(after.blue, 0x36);

    // The header bar follows the theme's background too.
    Pixel header = pixel_of(window_.header_bar.get(), 3, 3);
    EXPECT_EQ(header.red, 0x28);
    EXPECT_EQ(header.green, 0x2a);
    EXPECT_EQ(header.blue, 0x36);
}

TEST_F(WindowThemeTest, ConfigChangesReachEveryTerminalAndKeepTheZoom) {
    open_window();
    tabs().split_horizontal();
    ASSERT_TRUE(wait_for_shells());
    auto zoomed = focused();
    for (int i = 0; i < 5; ++i) {
        zoomed->backend.zoom_in();
    }
    config_->appearance.font_size = 14.0;
    config_->appearance.cursor_shape = "underline";
    config_->terminal.scrollback_lines = 500;
    ui::apply_config_to_terminals(*window_.context);
    for (const auto& pane : tabs().all_panes()) {
        const PangoFontDescription* font = vte_terminal_get_font(pane->terminal());
        EXPECT_EQ(pango_font_description_get_size(font), 14 * PANGO_SCALE);
        EXPECT_EQ(vte_terminal_get_cursor_shape(pane->terminal()), VTE_CURSOR_SHAPE_UNDERLINE);
        EXPECT_EQ(vte_terminal_get_scrollback_lines(pane->terminal()), 500);
    }
    EXPECT_NEAR(vte_terminal_get_font_scale(zoomed->terminal()), 1.5, 1e-9);
}

} // namespace
} // namespace ombrix::test

namespace ombrix::test {
namespace {

TEST_F(WindowThemeTest, TheToolkitColourSchemeFollowsTheThemesDarkness) {
    open_window();
    AdwStyleManager* style = adw_style_manager_get_default();
    EXPECT_EQ(adw_style_manager_get_color_scheme(style), ADW_COLOR_SCHEME_FORCE_DARK);
    EXPECT_TRUE(pump_until([&] { return adw_style_manager_get_dark(style); }));

    theme::Theme light = catalogue_->get("nord");
    light.name = "paper";
    light.dark = false;
    light.background = "#ffffff";
    catalogue_->insert(light);
    config_->appearance.theme = "paper";
    ui::apply_window_theme(*window_.context);
    EXPECT_EQ(adw_style_manager_get_color_scheme(style), ADW_COLOR_SCHEME_FORCE_LIGHT);
    EXPECT_TRUE(pump_until([&] { return !adw_style_manager_get_dark(style); }));

    config_->appearance.theme = "kitty-dark";
    ui::apply_window_theme(*window_.context);
    EXPECT_EQ(adw_style_manager_get_color_scheme(style), ADW_COLOR_SCHEME_FORCE_DARK);
    EXPECT_TRUE(pump_until([&] { return adw_style_manager_get_dark(style); }));
}

} // namespace
} // namespace ombrix::test
