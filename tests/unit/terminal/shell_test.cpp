#include "temp_dir.hpp"
#include "terminal/shell.hpp"

#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ombrix::terminal {
namespace {

using testing::make_dirs;
using testing::make_symlink;
using testing::ScopedEnv;
using testing::TempDir;
using testing::write_file;

const std::vector<std::string> fish_args = {"-l", "-C", "set -g fish_greeting ''"};
const std::vector<std::string> login_args = {"-l"};

// A fake file system of shells: regular files, a directory, links and a FIFO.
class ShellRoot : public ::testing::Test {
protected:
    void SetUp() override {
        make_dirs(root / "bin/dirshell");
        make_dirs(root / "usr/bin");
        make_dirs(root / "local");
        write_file(root / "bin/fish", "#!/bin/sh\n");
        write_file(root / "bin/bash", "#!/bin/sh\n");
        write_file(root / "usr/bin/zsh", "#!/bin/sh\n");
        write_file(root / "local/\xff\xfe", "#!/bin/sh\n");
        make_symlink("../bin/fish", root / "local/myfish");
        make_symlink("../bin/missing", root / "local/dangling");
        make_symlink("../bin/dirshell", root / "local/dirlink");
        ASSERT_EQ(::mkfifo((root / "local/fifo").c_str(), 0600), 0);
    }

    // No fixed path and no SHELL: everything that is dropped ends in /bin/sh.
    ShellSearch empty_search() const { return ShellSearch{{}, std::nullopt}; }

    TempDir root;
};

TEST_F(ShellRoot, UsableOverrideOrConfiguredShellIsTaken) {
    struct Case {
        std::optional<std::string> override_path;
        std::optional<std::string> configured;
        std::string shell;
        std::string name;
        std::vector<std::string> args;
    };
    const std::vector<Case> cases = {
        {root / "bin/bash", std::nullopt, root / "bin/bash", "bash", login_args},
        {root / "bin/fish", std::nullopt, root / "bin/fish", "fish", fish_args},
        {std::nullopt, root / "bin/fish", root / "bin/fish", "fish", fish_args},
        // The override wins over a usable configured shell.
        {root / "bin/bash", root / "bin/fish", root / "bin/bash", "bash", login_args},
        // Links are followed for the test, but the name is the link's own: no fish arguments.
        {root / "local/myfish", std::nullopt, root / "local/myfish", "myfish", login_args},
        // A file name that is not UTF-8 gives the name "shell".
        {root / "local/\xff\xfe", std::nullopt, root / "local/\xff\xfe", "shell", login_args},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.shell);
        ShellChoice choice = resolve_shell(c.override_path, c.configured, empty_search());
        EXPECT_EQ(choice.shell, c.shell);
        EXPECT_EQ(choice.shell_name, c.name);
        EXPECT_EQ(choice.args, c.args);
    }
}

TEST_F(ShellRoot, CandidateThatIsNoRegularFileIsDropped) {
    const std::vector<std::string> unusable = {
        "",
        root / "bin/missing",
        root / "bin/dirshell",
        root / "local/dangling",
        root / "local/dirlink",
        root / "local/fifo",
        // A regular file used as a directory.
        root / "bin/bash/",
        std::string(root / "bin/bash") + std::string("\0x", 2),
    };
    const ShellChoice fallback{"/bin/sh", "sh", login_args};
    for (const std::string& path : unusable) {
        SCOPED_TRACE(path);
        EXPECT_EQ(resolve_shell(path, std::nullopt, empty_search()), fallback);
        EXPECT_EQ(resolve_shell(std::nullopt, path, empty_search()), fallback);
    }
}

TEST_F(ShellRoot, UnusableOverrideGivesTheAutomaticChoiceNotTheConfiguredShell) {
    // The sidebar's fixed shell buttons on a system without that shell open the automatic
    // choice.
    ShellSearch search{{root / "bin/bash"}, std::nullopt};
    ShellChoice choice = resolve_shell(root / "bin/missing", root / "bin/fish", search);
    EXPECT_EQ(choice.shell, root / "bin/bash");
}

TEST_F(ShellRoot, RelativeCandidateIsResolvedAgainstTheCurrentDirectory) {
    char* old = ::getcwd(nullptr, 0);
    ASSERT_NE(old, nullptr);
    ASSERT_EQ(::chdir(root.path().c_str()), 0);
    ShellChoice found = resolve_shell("bin/fish", std::nullopt, empty_search());
    ShellChoice missing = resolve_shell("bash", std::nullopt, empty_search());
    ASSERT_EQ(::chdir(old), 0);
    std::free(old);

    EXPECT_EQ(found, (ShellChoice{"bin/fish", "fish", fish_args}));
    EXPECT_EQ(missing.shell, "/bin/sh");
}

TEST_F(ShellRoot, FixedPathsAreTriedInOrderBeforeShellVariable) {
    ShellSearch search{{root / "bin/missing", root / "bin/dirshell", root / "local/dangling",
                        root / "usr/bin/zsh", root / "bin/fish"},
                       root / "bin/bash"};
    EXPECT_EQ(resolve_shell(std::nullopt, std::nullopt, search),
              (ShellChoice{root / "usr/bin/zsh", "zsh", login_args}));

    search.fixed_paths = {root / "bin/fish", root / "bin/bash"};
    EXPECT_EQ(resolve_shell(std::nullopt, root / "bin/missing", search),
              (ShellChoice{root / "bin/fish", "fish", fish_args}));
}

TEST_F(ShellRoot, ShellVariableIsUsedOnlyWhenItNamesARegularFile) {
    ShellSearch search{{root / "bin/missing"}, root / "bin/fish"};
    EXPECT_EQ(resolve_shell(std::nullopt, std::nullopt, search),
              (ShellChoice{root / "bin/fish", "fish", fish_args}));

    const ShellChoice fallback{"/bin/sh", "sh", login_args};
    for (const std::optional<std::string>& value :
         {std::optional<std::string>{}, std::optional<std::string>{""},
          std::optional<std::string>{root / "bin/dirshell"},
          std::optional<std::string>{root / "bin/missing"}}) {
        search.shell_variable = value;
        EXPECT_EQ(resolve_shell(std::nullopt, std::nullopt, search), fallback);
    }
}

TEST(ShellSearch, DefaultsToTheSixSystemShellsAndTheShellVariable) {
    const std::vector<std::string> expected = {"/usr/bin/fish", "/bin/fish", "/bin/bash",
                                               "/usr/bin/bash", "/bin/zsh",  "/usr/bin/zsh"};
    {
        ScopedEnv shell("SHELL", "/opt/shells/elvish");
        ShellSearch search = ShellSearch::from_environment();
        EXPECT_EQ(search.fixed_paths, expected);
        EXPECT_EQ(search.shell_variable, "/opt/shells/elvish");
    }
    {
        ScopedEnv shell("SHELL", std::nullopt);
        EXPECT_EQ(ShellSearch::from_environment().shell_variable, std::nullopt);
    }
    {
        ScopedEnv shell("SHELL", "/opt/\xff/zsh");
        EXPECT_EQ(ShellSearch::from_environment().shell_variable, std::nullopt);
    }
}

class WorkingDirectory : public ::testing::Test {
protected:
    void SetUp() override {
        make_dirs(root / "projects");
        make_dirs(root / "home");
        write_file(root / "notes.txt", "x");
        make_symlink("projects", root / "linked");
        make_symlink("notes.txt", root / "linked-file");
    }
    TempDir root;
};

TEST_F(WorkingDirectory, ExistingDirectoriesAreTakenInOrder) {
    struct Case {
        std::optional<std::string> override_dir;
        std::optional<std::string> configured;
        std::optional<std::string> home;
        std::string expected;
    };
    const std::string projects = root / "projects";
    const std::string home = root / "home";
    const std::vector<Case> cases = {
        {projects, home, home, projects},
        {std::nullopt, projects, home, projects},
        {std::nullopt, root / "linked", home, root / "linked"},
        // A file, a link to a file or a missing path is no directory.
        {std::nullopt, root / "notes.txt", home, home},
        {std::nullopt, root / "linked-file", home, home},
        {std::nullopt, root / "missing", home, home},
        {std::nullopt, std::string(), home, home},
        {std::nullopt, std::nullopt, home, home},
        {std::nullopt, std::nullopt, std::string(), "/"},
        {std::nullopt, std::nullopt, std::nullopt, "/"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.configured.value_or("(no configured directory)"));
        EXPECT_EQ(choose_working_directory(c.override_dir, c.configured, c.home), c.expected);
    }
}

TEST_F(WorkingDirectory, OverrideThatIsNoLongerADirectoryFallsBack) {
    // A split inherits the directory its neighbour last reported; that directory may be gone.
    make_dirs(root / "gone");
    ASSERT_EQ(::rmdir((root / "gone").c_str()), 0);
    EXPECT_EQ(choose_working_directory(root / "gone", root / "projects", root / "home"),
              root / "projects");
    EXPECT_EQ(choose_working_directory(root / "gone", std::nullopt, root / "home"), root / "home");
    EXPECT_EQ(choose_working_directory(root / "notes.txt", std::nullopt, root / "home"),
              root / "home");
    EXPECT_EQ(choose_working_directory(std::string(), std::nullopt, root / "home"), root / "home");
}

std::string password_home() {
    const passwd* entry = ::getpwuid(::getuid());
    return entry != nullptr && entry->pw_dir != nullptr ? entry->pw_dir : "/";
}

TEST_F(WorkingDirectory, HomeComesFromHomeVariableElseThePasswordDatabase) {
    {
        ScopedEnv home("HOME", root / "home");
        EXPECT_EQ(choose_working_directory(std::nullopt, root / "notes.txt"), root / "home");
    }
    {
        ScopedEnv home("HOME", "");
        EXPECT_EQ(choose_working_directory(std::nullopt, std::nullopt), password_home());
    }
    {
        ScopedEnv home("HOME", std::nullopt);
        EXPECT_EQ(choose_working_directory(std::nullopt, root / "missing"), password_home());
    }
}

} // namespace
} // namespace ombrix::terminal
