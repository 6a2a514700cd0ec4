#include "config/config.hpp"
#include "config_test_support.hpp"

#include <cmath>
#include <functional>
#include <gtest/gtest.h>
#include <limits>
#include <ostream>
#include <string>
#include <vector>

namespace ombrix::config {
namespace {

using testing_support::data_file;

TEST(ConfigReader, EmptyDocumentIsTheDefaults) {
    auto config = Config::from_toml("");
    ASSERT_TRUE(config.has_value()) << config.error();
    EXPECT_EQ(*config, Config::defaults());
}

TEST(ConfigReader, EveryKeyIsRead) {
    auto config = Config::from_toml(data_file("every_key.toml"));
    ASSERT_TRUE(config.has_value()) << config.error();
    Config expected;
    expected.general.shell = "/usr/bin/fish";
    expected.general.working_directory = "/srv/projects";
    expected.general.confirm_on_close = false;
    expected.general.restore_window_state = false;
    expected.appearance.theme = "Nord \"frost\" \\ \u00fcn\u00efc\u00f8d\u00e9";
    expected.appearance.app_font_family = " Cantarell ";
    expected.appearance.font_family = "JetBrains Mono";
    expected.appearance.font_size = 13.5;
    expected.appearance.line_spacing = 1.2;
    expected.appearance.opacity = 0.85;
    expected.appearance.cursor_shape = "IBeam";
    expected.appearance.cursor_blink = "OFF";
    expected.terminal.scrollback_lines = 50000;
    expected.terminal.audible_bell = true;
    expected.terminal.copy_on_select = true;
    expected.shortcuts = {"<Primary>t",
                          "<Primary>w",
                          "<Primary>Tab",
                          "<Primary><Shift>Tab",
                          "<Alt>h",
                          "<Alt>v",
                          "<Alt>x",
                          "<Alt>Down",
                          "<Alt>Up",
                          "F10",
                          "<Primary>f",
                          "<Primary>c",
                          "<Primary>v",
                          "",
                          "<Primary>equal",
                          "<Primary>underscore",
                          "<Primary>BackSpace"};
    expected.window = {1280, 800, true, true};
    EXPECT_EQ(*config, expected);
}

// Documents that read successfully: the result is the defaults with the listed changes, so a
// key leaking into another or a default lost alongside is caught too.
struct AcceptedCase {
    const char* name;
    const char* document;
    std::function<void(Config&)> change;
};

// Names the case in failure messages instead of dumping its bytes.
void PrintTo(const AcceptedCase& c, std::ostream* os) {
    *os << c.name;
}

class ConfigReaderAccepts : public testing::TestWithParam<AcceptedCase> {};

TEST_P(ConfigReaderAccepts, ReadsTheValue) {
    const auto& c = GetParam();
    auto config = Config::from_toml(c.document);
    ASSERT_TRUE(config.has_value()) << config.error();
    Config expected;
    c.change(expected);
    EXPECT_EQ(*config, expected);
}

constexpr auto int64_min = std::numeric_limits<std::int64_t>::min();
constexpr auto int64_max = std::numeric_limits<std::int64_t>::max();
constexpr auto int32_min = std::numeric_limits<std::int32_t>::min();
constexpr auto int32_max = std::numeric_limits<std::int32_t>::max();

INSTANTIATE_TEST_SUITE_P(
    Cases, ConfigReaderAccepts,
    testing::Values(AcceptedCase{"EmptyShellIsSetNotUnset", "[general]\nshell = \"\"\n",
                                 [](Config& c) {
                                     c.general.shell = "";
                                 }},
                    AcceptedCase{"OptionalTexts",
                                 "[general]\nshell = \"/bin/zsh\"\nworking_directory = \"/tmp\"\n",
                                 [](Config& c) {
                                     c.general.shell = "/bin/zsh";
                                     c.general.working_directory = "/tmp";
                                 }},
                    AcceptedCase{"Boolean", "[general]\nconfirm_on_close = false\n",
                                 [](Config& c) {
                                     c.general.confirm_on_close = false;
                                 }},
                    AcceptedCase{"EmptyText", "[appearance]\nfont_family = \"\"\n",
                                 [](Config& c) {
                                     c.appearance.font_family = "";
                                 }},
                    AcceptedCase{"LiteralString", "[appearance]\ntheme = 'C:\\themes'\n",
                                 [](Config& c) {
                                     c.appearance.theme = "C:\\themes";
                                 }},
                    AcceptedCase{"IntegerAsFloat", "[appearance]\nfont_size = 12\n",
                                 [](Config& c) {
                                     c.appearance.font_size = 12.0;
                                 }},
                    AcceptedCase{"NegativeIntegerAsFloat", "[appearance]\nopacity = -1\n",
                                 [](Config& c) {
                                     c.appearance.opacity = -1.0;
                                 }},
                    AcceptedCase{"Float", "[appearance]\nline_spacing = 1.25\n",
                                 [](Config& c) {
                                     c.appearance.line_spacing = 1.25;
                                 }},
                    AcceptedCase{"ScrollbackSmallestInt64",
                                 "[terminal]\nscrollback_lines = -9223372036854775808\n",
                                 [](Config& c) {
                                     c.terminal.scrollback_lines = int64_min;
                                 }},
                    AcceptedCase{"ScrollbackLargestInt64",
                                 "[terminal]\nscrollback_lines = 9223372036854775807\n",
                                 [](Config& c) {
                                     c.terminal.scrollback_lines = int64_max;
                                 }},
                    AcceptedCase{"WidthAtInt32Limits",
                                 "[window]\nwidth = 2147483647\nheight = -2147483648\n",
                                 [](Config& c) {
                                     c.window.width = int32_max;
                                     c.window.height = int32_min;
                                 }},
                    AcceptedCase{"NegativeHeight", "[window]\nheight = -5\n",
                                 [](Config& c) {
                                     c.window.height = -5;
                                 }},
                    AcceptedCase{"HexInteger", "[window]\nwidth = 0x400\n",
                                 [](Config& c) {
                                     c.window.width = 1024;
                                 }},
                    AcceptedCase{"DottedKeys", "appearance.theme = \"nord\"\nwindow.width = 1000\n",
                                 [](Config& c) {
                                     c.appearance.theme = "nord";
                                     c.window.width = 1000;
                                 }},
                    AcceptedCase{"InlineTable", "window = { is_maximized = true }\n",
                                 [](Config& c) {
                                     c.window.is_maximized = true;
                                 }},
                    AcceptedCase{"OnlyWindowWidth", "[window]\nwidth = 100\n",
                                 [](Config& c) {
                                     c.window.width = 100;
                                 }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ConfigReader, NanAndInfinityAreReadAsFloats) {
    auto config =
        Config::from_toml("[appearance]\nfont_size = nan\nline_spacing = -inf\nopacity = +inf\n");
    ASSERT_TRUE(config.has_value()) << config.error();
    EXPECT_TRUE(std::isnan(config->appearance.font_size));
    EXPECT_EQ(config->appearance.line_spacing, -std::numeric_limits<double>::infinity());
    EXPECT_EQ(config->appearance.opacity, std::numeric_limits<double>::infinity());
}

// Documents that fail as a whole; the description names what is wrong and where.
struct RejectedCase {
    const char* name;
    const char* document;
    std::vector<std::string> description_parts;
};

// Names the case in failure messages instead of dumping its bytes.
void PrintTo(const RejectedCase& c, std::ostream* os) {
    *os << c.name;
}

class ConfigReaderRejects : public testing::TestWithParam<RejectedCase> {};

TEST_P(ConfigReaderRejects, FailsWithDescription) {
    const auto& c = GetParam();
    auto config = Config::from_toml(c.document);
    ASSERT_FALSE(config.has_value());
    for (const auto& part : c.description_parts) {
        EXPECT_NE(config.error().find(part), std::string::npos)
            << "missing \"" << part << "\" in: " << config.error();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ConfigReaderRejects,
    testing::Values(
        RejectedCase{"StringForFloat",
                     "[appearance]\ntheme = \"nord\"\nfont_size = \"12\"\n",
                     {"invalid type for key `font_size` in table `appearance`: expected a float",
                      "found a string", "line 3, column 13"}},
        RejectedCase{"BooleanForFloat",
                     "[appearance]\nopacity = true\n",
                     {"`opacity`", "expected a float", "found a boolean"}},
        RejectedCase{"IntegerForText",
                     "[general]\nshell = 5\n",
                     {"`shell` in table `general`", "expected a string", "found an integer"}},
        RejectedCase{"ArrayForText",
                     "[appearance]\ntheme = [\"a\"]\n",
                     {"`theme`", "expected a string", "found an array"}},
        RejectedCase{"DateForText",
                     "[appearance]\ncursor_shape = 1979-05-27\n",
                     {"`cursor_shape`", "found a date"}},
        RejectedCase{"StringForBoolean",
                     "[general]\nconfirm_on_close = \"true\"\n",
                     {"`confirm_on_close`", "expected a boolean", "found a string"}},
        RejectedCase{"IntegerForBoolean",
                     "[terminal]\naudible_bell = 1\n",
                     {"`audible_bell` in table `terminal`", "expected a boolean"}},
        RejectedCase{"FloatForInt64",
                     "[terminal]\nscrollback_lines = 10000.0\n",
                     {"`scrollback_lines`", "expected an integer", "found a float"}},
        RejectedCase{"StringForInt64",
                     "[terminal]\nscrollback_lines = \"100\"\n",
                     {"`scrollback_lines`", "expected an integer", "found a string"}},
        RejectedCase{"FloatForInt32",
                     "[window]\nheight = 1.5\n",
                     {"`height` in table `window`", "found a float"}},
        RejectedCase{"WidthAboveInt32",
                     "[window]\nwidth = 2147483648\n",
                     {"`width` in table `window`", "2147483648", "32-bit", "line 2"}},
        RejectedCase{"HeightBelowInt32",
                     "[window]\nheight = -2147483649\n",
                     {"`height`", "-2147483649", "32-bit"}},
        RejectedCase{"BadKeyAfterGoodOnes",
                     "[general]\nshell = \"/bin/sh\"\n[window]\nwidth = 800\nheight = \"tall\"\n",
                     {"`height`", "line 5"}},
        RejectedCase{"SectionNotATable",
                     "general = 5\n",
                     {"`general`", "expected a table", "found an integer"}},
        RejectedCase{"SectionAsArrayOfTables",
                     "[[window]]\nwidth = 800\n",
                     {"`window`", "expected a table", "found an array"}},
        RejectedCase{
            "SyntaxError", "[appearance]\ntheme = \"nord\"\nfont_size = = 12\n", {"line 3"}},
        RejectedCase{"UnclosedTableHeader", "[window\nwidth = 800\n", {"line 1"}},
        RejectedCase{"DuplicateKey", "[window]\nwidth = 800\nwidth = 900\n", {"width", "line 3"}},
        RejectedCase{"IntegerBeyondInt64",
                     "[terminal]\nscrollback_lines = 9223372036854775808\n",
                     {"line 2"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ConfigReader, BrokenFixtureFails) {
    auto config = Config::from_toml(data_file("broken_syntax.toml"));
    ASSERT_FALSE(config.has_value());
    EXPECT_NE(config.error().find("line 4"), std::string::npos) << config.error();
}

TEST(ConfigReader, UnknownKeysAndTablesAreIgnored) {
    auto config = Config::from_toml(data_file("unknown_keys.toml"));
    ASSERT_TRUE(config.has_value()) << config.error();
    Config expected;
    expected.appearance.theme = "nord";
    expected.window.width = 1024;
    EXPECT_EQ(*config, expected);
}

TEST(ConfigReader, UnknownKeysDisappearAfterRoundTrip) {
    auto config = Config::from_toml(data_file("unknown_keys.toml"));
    ASSERT_TRUE(config.has_value()) << config.error();
    auto written = config->to_toml();
    ASSERT_TRUE(written.has_value()) << written.error();
    for (const char* gone : {"color", "extra", "nested", "plugins", "version", "title"}) {
        EXPECT_EQ(written->find(gone), std::string::npos) << gone << " in:\n" << *written;
    }
    EXPECT_NE(written->find("theme = \"nord\"\n"), std::string::npos) << *written;
    EXPECT_NE(written->find("width = 1024\n"), std::string::npos) << *written;
}

} // namespace
} // namespace ombrix::config
