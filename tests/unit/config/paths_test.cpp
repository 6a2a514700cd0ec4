#include "config/paths.hpp"
#include "config_test_support.hpp"

#include <gtest/gtest.h>
#include <map>
#include <optional>
#include <ostream>
#include <pwd.h>
#include <string>
#include <unistd.h>

namespace ombrix::config {
namespace {

using testing_support::ScopedEnv;

std::string password_database_home() {
    const struct passwd* entry = ::getpwuid(::getuid());
    return entry != nullptr && entry->pw_dir != nullptr ? entry->pw_dir : "";
}

// The process environment, through the real getenv and password database.
struct SystemCase {
    const char* name;
    std::optional<std::string> home;
    std::optional<std::string> xdg_config;
    std::optional<std::string> xdg_data;
    std::string expected_config; // "<pw>" stands for the password database's home
    std::string expected_data;
};

// Names the case in failure messages instead of dumping its bytes.
void PrintTo(const SystemCase& c, std::ostream* os) {
    *os << c.name;
}

class SystemPaths : public testing::TestWithParam<SystemCase> {};

std::string expand(const std::string& pattern) {
    const std::string marker = "<pw>";
    if (pattern.starts_with(marker)) {
        return password_database_home() + pattern.substr(marker.size());
    }
    return pattern;
}

TEST_P(SystemPaths, FollowXdgRules) {
    const auto& c = GetParam();
    ScopedEnv home("HOME", c.home);
    ScopedEnv config_home("XDG_CONFIG_HOME", c.xdg_config);
    ScopedEnv data_home("XDG_DATA_HOME", c.xdg_data);
    EXPECT_EQ(config_dir(), expand(c.expected_config));
    EXPECT_EQ(data_dir(), std::optional<std::string>(expand(c.expected_data)));
    EXPECT_EQ(config_file_path(), expand(c.expected_config) + "/config.toml");
    EXPECT_EQ(themes_dir(), expand(c.expected_config) + "/themes");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SystemPaths,
    testing::Values(SystemCase{"XdgAbsolute", "/home/u", "/cfg", "/data", "/cfg/ombrix",
                               "/data/ombrix"},
                    SystemCase{"XdgUnset", "/home/u", std::nullopt, std::nullopt,
                               "/home/u/.config/ombrix", "/home/u/.local/share/ombrix"},
                    SystemCase{"XdgEmpty", "/home/u", "", "", "/home/u/.config/ombrix",
                               "/home/u/.local/share/ombrix"},
                    SystemCase{"XdgRelativeIgnored", "/home/u", "rel/config", "./data",
                               "/home/u/.config/ombrix", "/home/u/.local/share/ombrix"},
                    SystemCase{"XdgTildeIsRelative", "/home/u", "~/cfg", "~/data",
                               "/home/u/.config/ombrix", "/home/u/.local/share/ombrix"},
                    SystemCase{"XdgTrailingSlash", "/home/u", "/cfg/", "/data//", "/cfg/ombrix",
                               "/data//ombrix"},
                    SystemCase{"XdgTakenAsBytes", "/home/u", "/C\u00f6nfig dir", "/DATA",
                               "/C\u00f6nfig dir/ombrix", "/DATA/ombrix"},
                    SystemCase{"HomeRoot", "/", std::nullopt, std::nullopt, "/.config/ombrix",
                               "/.local/share/ombrix"},
                    SystemCase{"EmptyHomeUsesPasswordDatabase", "", std::nullopt, std::nullopt,
                               "<pw>/.config/ombrix", "<pw>/.local/share/ombrix"},
                    SystemCase{"UnsetHomeUsesPasswordDatabase", std::nullopt, "relative",
                               std::nullopt, "<pw>/.config/ombrix", "<pw>/.local/share/ombrix"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SystemPaths, ResolvedAnewAtEveryCall) {
    ScopedEnv home("HOME", "/home/first");
    ScopedEnv config_home("XDG_CONFIG_HOME", std::nullopt);
    EXPECT_EQ(config_dir(), "/home/first/.config/ombrix");
    ::setenv("HOME", "/home/second", 1);
    EXPECT_EQ(config_dir(), "/home/second/.config/ombrix");
    ::setenv("XDG_CONFIG_HOME", "/xdg", 1);
    EXPECT_EQ(config_dir(), "/xdg/ombrix");
}

TEST(SystemPaths, HomeDirectory) {
    {
        ScopedEnv home("HOME", "/home/u");
        EXPECT_EQ(home_dir(), std::optional<std::string>("/home/u"));
    }
    {
        ScopedEnv home("HOME", "");
        EXPECT_EQ(home_dir(), std::optional<std::string>(password_database_home()));
    }
}

// A substitute environment, for the cases the test process cannot produce (no home at all).
PathEnvironment fake(std::map<std::string, std::string> variables,
                     std::optional<std::string> password_home) {
    return PathEnvironment{[variables](const char* name) -> std::optional<std::string> {
                               auto found = variables.find(name);
                               if (found == variables.end()) {
                                   return std::nullopt;
                               }
                               return found->second;
                           },
                           [password_home] {
                               return password_home;
                           }};
}

TEST(InjectedPaths, NoHomeAnywhere) {
    auto environment = fake({}, std::nullopt);
    EXPECT_EQ(home_dir(environment), std::nullopt);
    EXPECT_EQ(config_dir(environment), "~/.config/ombrix");
    EXPECT_EQ(data_dir(environment), std::nullopt);
}

TEST(InjectedPaths, EmptyHomeAndEmptyPasswordEntryMeanNoHome) {
    auto environment = fake({{"HOME", ""}}, std::string());
    EXPECT_EQ(home_dir(environment), std::nullopt);
    EXPECT_EQ(config_dir(environment), "~/.config/ombrix");
    EXPECT_EQ(data_dir(environment), std::nullopt);
}

TEST(InjectedPaths, RelativeXdgWithoutHomeFallsBackToTildePath) {
    auto environment =
        fake({{"XDG_CONFIG_HOME", "relative"}, {"XDG_DATA_HOME", "relative"}}, std::nullopt);
    EXPECT_EQ(config_dir(environment), "~/.config/ombrix");
    EXPECT_EQ(data_dir(environment), std::nullopt);
}

TEST(InjectedPaths, AbsoluteXdgNeedsNoHome) {
    auto environment = fake({{"XDG_CONFIG_HOME", "/c"}, {"XDG_DATA_HOME", "/d"}}, std::nullopt);
    EXPECT_EQ(config_dir(environment), "/c/ombrix");
    EXPECT_EQ(data_dir(environment), std::optional<std::string>("/d/ombrix"));
}

TEST(InjectedPaths, PasswordHomeUsedWhenHomeUnset) {
    auto environment = fake({}, std::string("/var/lib/someone"));
    EXPECT_EQ(config_dir(environment), "/var/lib/someone/.config/ombrix");
    EXPECT_EQ(data_dir(environment),
              std::optional<std::string>("/var/lib/someone/.local/share/ombrix"));
}

TEST(InjectedPaths, HomeWinsOverPasswordDatabase) {
    auto environment = fake({{"HOME", "/h"}}, std::string("/var/lib/someone"));
    EXPECT_EQ(config_dir(environment), "/h/.config/ombrix");
}

} // namespace
} // namespace ombrix::config
