#include "temp_dir.hpp"
#include "terminal/environment.hpp"

#include <algorithm>
#include <gtest/gtest.h>

namespace ombrix::terminal {
namespace {

using testing::ScopedEnv;
using testing::TempDir;

TEST(ChildEnvironment, TerminalVariablesReplaceInheritedOnes) {
    Environment inherited = {
        {"TERM", "dumb"},        {"COLORTERM", "24bit"}, {"TERM_PROGRAM", "other-terminal"},
        {"LANG", "de_DE.UTF-8"}, {"EMPTY", ""},          {"PATH", "/usr/bin"}};
    Environment child = child_environment(inherited, std::nullopt);
    Environment expected = inherited;
    expected["TERM"] = "xterm-256color";
    expected["COLORTERM"] = "truecolor";
    expected["TERM_PROGRAM"] = "ombrix";
    EXPECT_EQ(child, expected);

    Environment from_nothing = child_environment({}, std::nullopt);
    EXPECT_EQ(from_nothing, (Environment{{"TERM", "xterm-256color"},
                                         {"COLORTERM", "truecolor"},
                                         {"TERM_PROGRAM", "ombrix"}}));
}

TEST(ChildEnvironment, HelperDirectoryComesFirstOnPath) {
    struct Case {
        std::optional<std::string> inherited_path;
        std::optional<std::string> helper_dir;
        std::optional<std::string> expected_path;
    };
    const std::vector<Case> cases = {
        {"/usr/bin", "/d/ombrix/bin", "/d/ombrix/bin:/usr/bin"},
        {"/usr/bin:/bin", "/d/ombrix/bin", "/d/ombrix/bin:/usr/bin:/bin"},
        // An empty PATH stays empty after the colon (the shell then also searches ".").
        {"", "/d/ombrix/bin", "/d/ombrix/bin:"},
        {std::nullopt, "/d/ombrix/bin", "/d/ombrix/bin:/usr/local/bin:/usr/bin:/bin"},
        // Without a helper directory PATH is left exactly as inherited.
        {"/usr/bin", std::nullopt, "/usr/bin"},
        {"", std::nullopt, ""},
        {std::nullopt, std::nullopt, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.inherited_path.value_or("(no PATH)") + " / " +
                     c.helper_dir.value_or("(no helper dir)"));
        Environment inherited = {{"HOME", "/home/u"}};
        if (c.inherited_path) {
            inherited["PATH"] = *c.inherited_path;
        }
        Environment child = child_environment(inherited, c.helper_dir);
        auto path = child.find("PATH");
        if (c.expected_path) {
            ASSERT_NE(path, child.end());
            EXPECT_EQ(path->second, *c.expected_path);
        } else {
            EXPECT_EQ(path, child.end());
        }
        EXPECT_EQ(child["HOME"], "/home/u");
    }
}

TEST(RenderEnvironment, EveryEntryIsNameEqualsValue) {
    Environment environment = {{"A", "1"}, {"EMPTY", ""}, {"OPTS", "x=y=z"}, {"RAW", "\xff\x80"}};
    std::vector<std::string> rendered = render_environment(environment);
    std::sort(rendered.begin(), rendered.end());
    EXPECT_EQ(rendered, (std::vector<std::string>{"A=1", "EMPTY=", "OPTS=x=y=z", "RAW=\xff\x80"}));
}

TEST(ProcessEnvironment, HoldsEveryVariableUnchangedIncludingNonUtf8) {
    ScopedEnv plain("OMBRIX_TEST_PLAIN", "value with spaces");
    ScopedEnv equals("OMBRIX_TEST_EQUALS", "a=b");
    ScopedEnv empty("OMBRIX_TEST_EMPTY", "");
    ScopedEnv raw("OMBRIX_TEST_RAW", "caf\xe9");
    ScopedEnv unset("OMBRIX_TEST_UNSET", std::nullopt);

    Environment environment = process_environment();
    EXPECT_EQ(environment["OMBRIX_TEST_PLAIN"], "value with spaces");
    EXPECT_EQ(environment["OMBRIX_TEST_EQUALS"], "a=b");
    EXPECT_EQ(environment.at("OMBRIX_TEST_EMPTY"), "");
    EXPECT_EQ(environment["OMBRIX_TEST_RAW"], "caf\xe9");
    EXPECT_EQ(environment.count("OMBRIX_TEST_UNSET"), 0u);
}

TEST(BuildEnvironment, InstallsHelpersUnderDataHomeAndPutsThemFirstOnPath) {
    TempDir data;
    ScopedEnv data_home("XDG_DATA_HOME", data.path());
    ScopedEnv path("PATH", "/usr/bin:/bin");
    ScopedEnv term("TERM", "vt100");

    std::vector<std::string> entries = build_environment();
    const std::string helper_dir = data / "ombrix/bin";
    auto has = [&](const std::string& entry) {
        return std::count(entries.begin(), entries.end(), entry) == 1;
    };
    EXPECT_TRUE(has("PATH=" + helper_dir + ":/usr/bin:/bin"));
    EXPECT_TRUE(has("TERM=xterm-256color"));
    EXPECT_TRUE(has("COLORTERM=truecolor"));
    EXPECT_TRUE(has("TERM_PROGRAM=ombrix"));
    EXPECT_TRUE(has("XDG_DATA_HOME=" + data.path()));
    EXPECT_EQ(std::count_if(entries.begin(), entries.end(),
                            [](const std::string& e) { return e.starts_with("TERM="); }),
              1);
    EXPECT_TRUE(g_file_test((helper_dir + "/specs").c_str(), G_FILE_TEST_IS_EXECUTABLE));
}

} // namespace
} // namespace ombrix::terminal
