#include "config/config.hpp"
#include "config_test_support.hpp"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <string>

namespace ombrix::config {
namespace {

using testing_support::data_file;

std::string written(const Config& config) {
    auto text = config.to_toml();
    EXPECT_TRUE(text.has_value()) << text.error();
    return text.value_or("");
}

// The whole document of the defaults: tables and keys in record order, floats with their
// decimal point, no shell or working_directory line.
TEST(ConfigWriter, DefaultsDocument) {
    EXPECT_EQ(written(Config::defaults()), data_file("defaults.toml"));
}

TEST(ConfigWriter, EveryKeyFixtureRoundTripsByteForByte) {
    std::string fixture = data_file("every_key.toml");
    auto config = Config::from_toml(fixture);
    ASSERT_TRUE(config.has_value()) << config.error();
    EXPECT_EQ(written(*config), fixture);
}

TEST(ConfigWriter, UnsetOptionalTextsAreLeftOut) {
    Config config;
    std::string text = written(config);
    EXPECT_EQ(text.find("shell"), std::string::npos);
    EXPECT_EQ(text.find("working_directory"), std::string::npos);
}

TEST(ConfigWriter, EmptyOptionalTextsAreWritten) {
    Config config;
    config.general.shell = "";
    config.general.working_directory = "";
    std::string text = written(config);
    EXPECT_EQ(text.rfind("[general]\nshell = \"\"\nworking_directory = \"\"\n"
                         "confirm_on_close = true\n",
                         0),
              0u)
        << text;
    auto back = Config::from_toml(text);
    ASSERT_TRUE(back.has_value()) << back.error();
    EXPECT_EQ(back->general.shell, std::optional<std::string>(""));
    EXPECT_EQ(back->general.working_directory, std::optional<std::string>(""));
}

struct FloatCase {
    double value;
    const char* text;
};

class ConfigWriterFloats : public testing::TestWithParam<FloatCase> {};

// Floats stay floats (12.0, never 12) and are written in their shortest exact form.
TEST_P(ConfigWriterFloats, WritesFloatLiteral) {
    Config config;
    config.appearance.font_size = GetParam().value;
    std::string text = written(config);
    std::string line = std::string("\nfont_size = ") + GetParam().text + "\n";
    EXPECT_NE(text.find(line), std::string::npos) << text;
    auto back = Config::from_toml(text);
    ASSERT_TRUE(back.has_value()) << back.error();
    if (std::isnan(GetParam().value)) {
        EXPECT_TRUE(std::isnan(back->appearance.font_size));
    } else {
        EXPECT_EQ(back->appearance.font_size, GetParam().value);
        EXPECT_EQ(std::signbit(back->appearance.font_size), std::signbit(GetParam().value));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ConfigWriterFloats,
    testing::Values(FloatCase{12.0, "12.0"}, FloatCase{0.1, "0.1"}, FloatCase{-0.0, "-0.0"},
                    FloatCase{13.25, "13.25"}, FloatCase{1e300, "1e+300"}, FloatCase{1e-7, "1e-07"},
                    FloatCase{std::numeric_limits<double>::infinity(), "inf"},
                    FloatCase{-std::numeric_limits<double>::infinity(), "-inf"},
                    FloatCase{std::numeric_limits<double>::quiet_NaN(), "nan"}));

// Texts that need escaping come back unchanged.
TEST(ConfigWriter, TrickyTextsRoundTrip) {
    Config config;
    config.general.shell = "/bin/sh -c \"echo 'hi'\" \\ end";
    config.general.working_directory = "/tmp/line\nbreak\ttab\rcr\b\f";
    config.appearance.theme = std::string("ctl\x01\x1f\x7f nul") + '\0' + "end";
    config.appearance.font_family = "\u00c9mojis \U0001F600 \u4e2d\u6587";
    config.appearance.app_font_family = "'''\"\"\"";
    config.shortcuts.copy = "#not a comment";
    config.terminal.scrollback_lines = std::numeric_limits<std::int64_t>::min();
    config.window.width = std::numeric_limits<std::int32_t>::max();
    config.window.height = std::numeric_limits<std::int32_t>::min();
    auto back = Config::from_toml(written(config));
    ASSERT_TRUE(back.has_value()) << back.error();
    EXPECT_EQ(*back, config);
}

TEST(ConfigWriter, ControlCharactersAreEscaped) {
    Config config;
    config.appearance.theme = "a\x01z\x7f";
    EXPECT_NE(written(config).find("theme = \"a\\u0001z\\u007F\"\n"), std::string::npos);
}

// Bytes that are not UTF-8 cannot be put into a TOML document without changing them, so the
// write fails instead of storing something else.
TEST(ConfigWriter, InvalidUtf8Fails) {
    Config config;
    config.general.shell = "/opt/caf\xe9/bin/sh";
    auto text = config.to_toml();
    ASSERT_FALSE(text.has_value());
    EXPECT_NE(text.error().find("`shell`"), std::string::npos) << text.error();
    EXPECT_NE(text.error().find("UTF-8"), std::string::npos) << text.error();
}

} // namespace
} // namespace ombrix::config
