#include "config/config.hpp"

#include <functional>
#include <gtest/gtest.h>
#include <limits>
#include <ostream>
#include <string>

namespace ombrix::config {
namespace {

// Each case changes the defaults, normalises, and compares with the defaults carrying the
// expected changes, so a step touching a key it should leave alone is caught as well.
struct NormalizeCase {
    const char* name;
    std::function<void(Config&)> input;
    std::function<void(Config&)> expected;
};

// Names the case in failure messages instead of dumping its bytes.
void PrintTo(const NormalizeCase& c, std::ostream* os) {
    *os << c.name;
}

class ConfigNormalize : public testing::TestWithParam<NormalizeCase> {};

TEST_P(ConfigNormalize, BringsIntoRange) {
    const auto& c = GetParam();
    Config config;
    c.input(config);
    config.normalize();
    Config expected;
    c.expected(expected);
    EXPECT_EQ(config, expected);
}

constexpr double nan = std::numeric_limits<double>::quiet_NaN();
constexpr double inf = std::numeric_limits<double>::infinity();

void same(Config&) {}

INSTANTIATE_TEST_SUITE_P(
    AppFontFamily, ConfigNormalize,
    testing::Values(
        NormalizeCase{"ThreeSpaces", [](Config& c) { c.appearance.app_font_family = "   "; }, same},
        NormalizeCase{"Empty", [](Config& c) { c.appearance.app_font_family = ""; }, same},
        NormalizeCase{"UnicodeWhiteSpace",
                      [](Config& c) { c.appearance.app_font_family = "\t\u3000\u00a0\u2009\n"; },
                      same},
        NormalizeCase{"SpacedFamilyKept",
                      [](Config& c) { c.appearance.app_font_family = " Fira Sans "; },
                      [](Config& c) {
                          c.appearance.app_font_family = " Fira Sans ";
                      }},
        NormalizeCase{"ZeroWidthSpaceIsNotWhiteSpace",
                      [](Config& c) { c.appearance.app_font_family = "\u200b"; },
                      [](Config& c) {
                          c.appearance.app_font_family = "\u200b";
                      }}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    Scrollback, ConfigNormalize,
    testing::Values(
        NormalizeCase{"Five", [](Config& c) { c.terminal.scrollback_lines = 5; },
                      [](Config& c) {
                          c.terminal.scrollback_lines = 100;
                      }},
        NormalizeCase{"MinusOne", [](Config& c) { c.terminal.scrollback_lines = -1; },
                      [](Config& c) {
                          c.terminal.scrollback_lines = 100;
                      }},
        NormalizeCase{"Zero", [](Config& c) { c.terminal.scrollback_lines = 0; },
                      [](Config& c) {
                          c.terminal.scrollback_lines = 100;
                      }},
        NormalizeCase{"Smallest",
                      [](Config& c) {
                          c.terminal.scrollback_lines = std::numeric_limits<std::int64_t>::min();
                      },
                      [](Config& c) {
                          c.terminal.scrollback_lines = 100;
                      }},
        NormalizeCase{"LowerBoundKept", [](Config& c) { c.terminal.scrollback_lines = 100; },
                      [](Config& c) {
                          c.terminal.scrollback_lines = 100;
                      }},
        NormalizeCase{"UpperBoundKept", [](Config& c) { c.terminal.scrollback_lines = 1000000; },
                      [](Config& c) {
                          c.terminal.scrollback_lines = 1000000;
                      }},
        NormalizeCase{"OneAboveMillion", [](Config& c) { c.terminal.scrollback_lines = 1000001; },
                      [](Config& c) {
                          c.terminal.scrollback_lines = 1000000;
                      }},
        NormalizeCase{"Huge",
                      [](Config& c) {
                          c.terminal.scrollback_lines = std::numeric_limits<std::int64_t>::max();
                      },
                      [](Config& c) {
                          c.terminal.scrollback_lines = 1000000;
                      }}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    Cursor, ConfigNormalize,
    testing::Values(
        NormalizeCase{"MixedCaseIBeamKept", [](Config& c) { c.appearance.cursor_shape = "IBeam"; },
                      [](Config& c) {
                          c.appearance.cursor_shape = "IBeam";
                      }},
        NormalizeCase{"UpperUnderlineKept",
                      [](Config& c) { c.appearance.cursor_shape = "UNDERLINE"; },
                      [](Config& c) {
                          c.appearance.cursor_shape = "UNDERLINE";
                      }},
        // KELVIN SIGN lower-cases to "k" only under full Unicode case mapping.
        NormalizeCase{"KelvinSignBlockKept",
                      [](Config& c) { c.appearance.cursor_shape = "BLOC\u212a"; },
                      [](Config& c) {
                          c.appearance.cursor_shape = "BLOC\u212a";
                      }},
        NormalizeCase{"BarBecomesBlock", [](Config& c) { c.appearance.cursor_shape = "bar"; },
                      same},
        NormalizeCase{"PaddedShapeBecomesBlock",
                      [](Config& c) { c.appearance.cursor_shape = " ibeam"; }, same},
        NormalizeCase{"EmptyShapeBecomesBlock", [](Config& c) { c.appearance.cursor_shape = ""; },
                      same},
        NormalizeCase{"BlinkOnKept", [](Config& c) { c.appearance.cursor_blink = "ON"; },
                      [](Config& c) {
                          c.appearance.cursor_blink = "ON";
                      }},
        NormalizeCase{"BlinkOffKept", [](Config& c) { c.appearance.cursor_blink = "oFf"; },
                      [](Config& c) {
                          c.appearance.cursor_blink = "oFf";
                      }},
        NormalizeCase{"BlinkYesBecomesSystem", [](Config& c) { c.appearance.cursor_blink = "yes"; },
                      same},
        // A shape name is not a blink mode, and the reverse.
        NormalizeCase{"ShapeNameAsBlink",
                      [](Config& c) {
                          c.appearance.cursor_blink = "block";
                          c.appearance.cursor_shape = "on";
                      },
                      same}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    Floats, ConfigNormalize,
    testing::Values(
        NormalizeCase{"FontSizeLow", [](Config& c) { c.appearance.font_size = 5.0; },
                      [](Config& c) {
                          c.appearance.font_size = 6.0;
                      }},
        NormalizeCase{"FontSizeHigh", [](Config& c) { c.appearance.font_size = 100.0; },
                      [](Config& c) {
                          c.appearance.font_size = 72.0;
                      }},
        NormalizeCase{"FontSizeInRangeKept", [](Config& c) { c.appearance.font_size = 13.5; },
                      [](Config& c) {
                          c.appearance.font_size = 13.5;
                      }},
        NormalizeCase{"FontSizeInfinity", [](Config& c) { c.appearance.font_size = inf; },
                      [](Config& c) {
                          c.appearance.font_size = 72.0;
                      }},
        NormalizeCase{"FontSizeMinusInfinity", [](Config& c) { c.appearance.font_size = -inf; },
                      [](Config& c) {
                          c.appearance.font_size = 6.0;
                      }},
        NormalizeCase{"FontSizeNanIsDefault", [](Config& c) { c.appearance.font_size = nan; },
                      same},
        NormalizeCase{"LineSpacingLow", [](Config& c) { c.appearance.line_spacing = 0.0; },
                      [](Config& c) {
                          c.appearance.line_spacing = 0.5;
                      }},
        NormalizeCase{"LineSpacingHigh", [](Config& c) { c.appearance.line_spacing = 10.0; },
                      [](Config& c) {
                          c.appearance.line_spacing = 3.0;
                      }},
        NormalizeCase{"LineSpacingNanIsDefault",
                      [](Config& c) { c.appearance.line_spacing = -nan; }, same},
        NormalizeCase{"OpacityZero", [](Config& c) { c.appearance.opacity = 0.0; },
                      [](Config& c) {
                          c.appearance.opacity = 0.1;
                      }},
        NormalizeCase{"OpacityTwo", [](Config& c) { c.appearance.opacity = 2.0; },
                      [](Config& c) {
                          c.appearance.opacity = 1.0;
                      }},
        NormalizeCase{"OpacityInRangeKept", [](Config& c) { c.appearance.opacity = 0.5; },
                      [](Config& c) {
                          c.appearance.opacity = 0.5;
                      }},
        NormalizeCase{"OpacityNanIsDefault",
                      [](Config& c) {
                          c.appearance.opacity = nan;
                          c.appearance.font_size = 20.0;
                      },
                      [](Config& c) {
                          c.appearance.font_size = 20.0;
                      }}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    Window, ConfigNormalize,
    testing::Values(NormalizeCase{"Width100", [](Config& c) { c.window.width = 100; },
                                  [](Config& c) {
                                      c.window.width = 320;
                                  }},
                    NormalizeCase{"HeightMinusFive", [](Config& c) { c.window.height = -5; },
                                  [](Config& c) {
                                      c.window.height = 240;
                                  }},
                    NormalizeCase{"SmallestInt32",
                                  [](Config& c) {
                                      c.window.width = std::numeric_limits<std::int32_t>::min();
                                      c.window.height = std::numeric_limits<std::int32_t>::min();
                                  },
                                  [](Config& c) {
                                      c.window.width = 320;
                                      c.window.height = 240;
                                  }},
                    NormalizeCase{"MinimaKept",
                                  [](Config& c) {
                                      c.window.width = 320;
                                      c.window.height = 240;
                                  },
                                  [](Config& c) {
                                      c.window.width = 320;
                                      c.window.height = 240;
                                  }},
                    NormalizeCase{"NoUpperBound",
                                  [](Config& c) {
                                      c.window.width = std::numeric_limits<std::int32_t>::max();
                                      c.window.height = 100000;
                                  },
                                  [](Config& c) {
                                      c.window.width = std::numeric_limits<std::int32_t>::max();
                                      c.window.height = 100000;
                                  }}),
    [](const auto& info) { return std::string(info.param.name); });

// Keys outside the normalisation steps are used exactly as read.
INSTANTIATE_TEST_SUITE_P(Untouched, ConfigNormalize,
                         testing::Values(NormalizeCase{"OtherKeys",
                                                       [](Config& c) {
                                                           c.appearance.theme = "no-such-theme";
                                                           c.appearance.font_family = "   ";
                                                           c.general.shell = "";
                                                           c.general.working_directory = "  ";
                                                           c.shortcuts.copy = "";
                                                           c.terminal.audible_bell = true;
                                                       },
                                                       [](Config& c) {
                                                           c.appearance.theme = "no-such-theme";
                                                           c.appearance.font_family = "   ";
                                                           c.general.shell = "";
                                                           c.general.working_directory = "  ";
                                                           c.shortcuts.copy = "";
                                                           c.terminal.audible_bell = true;
                                                       }}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ConfigNormalize, DefaultsAreAlreadyNormal) {
    Config config;
    config.normalize();
    EXPECT_EQ(config, Config::defaults());
}

// The same steps reached from a document, as load_config applies them.
TEST(ConfigNormalize, DocumentWithOnlyANarrowWindow) {
    auto config = Config::from_toml("[window]\nwidth = 100\n");
    ASSERT_TRUE(config.has_value()) << config.error();
    config->normalize();
    Config expected;
    expected.window.width = 320;
    EXPECT_EQ(*config, expected);
}

TEST(ConfigNormalize, NanFromDocumentBecomesDefaults) {
    auto config =
        Config::from_toml("[appearance]\nfont_size = nan\nline_spacing = +nan\nopacity = -nan\n");
    ASSERT_TRUE(config.has_value()) << config.error();
    config->normalize();
    EXPECT_EQ(*config, Config::defaults());
}

} // namespace
} // namespace ombrix::config
