#include "gui_fixture.hpp"
#include "theme/catalogue.hpp"
#include "theme/color.hpp"
#include "theme/stylesheet.hpp"
#include "ui/gobject_ptr.hpp"
#include "ui/signal.hpp"

#include <gtest/gtest.h>
#include <gtk/gtk.h>
#include <string>
#include <vector>

namespace ombrix::theme {
namespace {

// Loads CSS into a real provider and keeps every parsing error GTK reports.
class ProviderLoad {
public:
    ProviderLoad() : provider_(ui::adopt(gtk_css_provider_new())) {
        ui::connect<void(GtkCssProvider*, GtkCssSection*, const GError*)>(
            provider_.get(), "parsing-error",
            [errors = &errors_](GtkCssProvider*, GtkCssSection* section, const GError* error) {
                ui::GCharPtr where(gtk_css_section_to_string(section));
                errors->push_back(std::string(where.get()) + ": " + error->message);
            });
    }
    ProviderLoad(const ProviderLoad&) = delete;
    ProviderLoad& operator=(const ProviderLoad&) = delete;
    ~ProviderLoad() {
        if (added_) {
            gtk_style_context_remove_provider_for_display(gdk_display_get_default(),
                                                          GTK_STYLE_PROVIDER(provider_.get()));
        }
    }

    void load(const std::string& css) {
        gtk_css_provider_load_from_data(provider_.get(), css.data(),
                                        static_cast<gssize>(css.size()));
    }
    void add_to_display() {
        gtk_style_context_add_provider_for_display(gdk_display_get_default(),
                                                   GTK_STYLE_PROVIDER(provider_.get()),
                                                   GTK_STYLE_PROVIDER_PRIORITY_USER);
        added_ = true;
    }
    std::string errors() const {
        std::string all;
        for (const auto& e : errors_) {
            all += e + "\n";
        }
        return all;
    }
    std::size_t error_count() const { return errors_.size(); }

private:
    std::vector<std::string> errors_;
    ui::GObjectPtr<GtkCssProvider> provider_;
    bool added_ = false;
};

Theme light_theme() {
    auto theme = Theme::from_toml(R"(name = "paper"
display_name = "Paper"
dark = false
background = "#ffffff"
foreground = "#202020"
palette = ["#000000", "#aa0000", "#00aa00", "#aa5500", "#0000aa", "#aa00aa", "#00aaaa",
           "#aaaaaa", "#555555", "#ff5555", "#55ff55", "#ffff55", "#5555ff", "#ff55ff",
           "#55ffff", "#ffffff"]
)");
    EXPECT_TRUE(theme.has_value());
    EXPECT_TRUE(theme->validate().has_value());
    return *theme;
}

GdkRGBA color_of(GtkWidget* widget) {
    GdkRGBA color{};
    G_GNUC_BEGIN_IGNORE_DEPRECATIONS
    gtk_style_context_get_color(gtk_widget_get_style_context(widget), &color);
    G_GNUC_END_IGNORE_DEPRECATIONS
    return color;
}

void expect_color(GtkWidget* widget, const std::string& hex) {
    auto want = parse_hex_color(hex);
    ASSERT_TRUE(want.has_value());
    GdkRGBA got = color_of(widget);
    EXPECT_NEAR(got.red, want->red, 1e-3) << hex;
    EXPECT_NEAR(got.green, want->green, 1e-3) << hex;
    EXPECT_NEAR(got.blue, want->blue, 1e-3) << hex;
    EXPECT_NEAR(got.alpha, want->alpha, 1e-3) << hex;
}

TEST(StylesheetProvider, EveryBuiltInThemeParsesWithoutAnError) {
    auto catalogue = ThemeCatalogue::load_from("/nonexistent/ombrix/themes");
    auto list = catalogue.list();
    ASSERT_EQ(list.size(), 12u);
    for (const auto& [name, display_name] : list) {
        ProviderLoad load;
        load.load(build_stylesheet(catalogue.get(name), "Poppins"));
        EXPECT_EQ(load.error_count(), 0u) << name << ":\n" << load.errors();
    }
}

TEST(StylesheetProvider, LightThemeParsesWithoutAnError) {
    ProviderLoad load;
    load.load(build_stylesheet(light_theme(), "  Cantarell  "));
    EXPECT_EQ(load.error_count(), 0u) << load.errors();
}

TEST(StylesheetProvider, ThemeColoursWrittenWithoutHashStillApply) {
    // "cdd6f4" and "+f+f+f" are valid theme colours; the stylesheet must give GTK a form it
    // reads, or the window silently keeps the toolkit's colours.
    Theme theme = light_theme();
    theme.background = " 181825 ";
    theme.foreground = "cdd6f4";
    ASSERT_TRUE(theme.validate().has_value());
    ProviderLoad load;
    load.load(build_stylesheet(theme, ""));
    EXPECT_EQ(load.error_count(), 0u) << load.errors();
    load.add_to_display();

    GtkWidget* window = gtk_window_new();
    g_object_ref_sink(window);
    expect_color(window, "#cdd6f4");
    gtk_window_destroy(GTK_WINDOW(window));
    g_object_unref(window);
}

TEST(StylesheetProvider, FontFamilyCannotBreakOutOfItsString) {
    const std::string family = "Evil\" } window { color: #ff0000; } label { x: \"\\}\nEnd";
    auto catalogue = ThemeCatalogue::load_from("/nonexistent/ombrix/themes");
    Theme nord = catalogue.get("nord");

    ProviderLoad load;
    load.load(build_stylesheet(nord, family));
    EXPECT_EQ(load.error_count(), 0u) << load.errors();
    load.add_to_display();

    GtkWidget* window = gtk_window_new();
    g_object_ref_sink(window);
    GtkWidget* label = gtk_label_new("text");
    gtk_window_set_child(GTK_WINDOW(window), label);

    // Rule 2, right after the font rule, still colours the window with the theme.
    expect_color(window, nord.foreground);
    // The whole family, quote, backslash, brace and line feed included, reached Pango.
    const PangoFontDescription* font =
        pango_context_get_font_description(gtk_widget_get_pango_context(label));
    ASSERT_NE(font, nullptr);
    const char* families = pango_font_description_get_family(font);
    ASSERT_NE(families, nullptr);
    EXPECT_EQ(std::string(families), family + ",Poppins,sans-serif");

    gtk_window_destroy(GTK_WINDOW(window));
    g_object_unref(window);
}

} // namespace
} // namespace ombrix::theme
