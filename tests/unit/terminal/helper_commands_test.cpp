#include "temp_dir.hpp"
#include "terminal/helper_commands.hpp"

#include <dirent.h>
#include <gtest/gtest.h>
#include <set>
#include <sys/stat.h>

namespace ombrix::terminal {
namespace {

using testing::make_dirs;
using testing::make_symlink;
using testing::read_file;
using testing::ScopedEnv;
using testing::ScopedUmask;
using testing::TempDir;
using testing::write_file;

std::string lines(std::initializer_list<const char*> items) {
    std::string text;
    for (const char* item : items) {
        text += item;
        text += '\n';
    }
    return text;
}

// The scripts as the user's shell must see them: backslash sequences are literal characters.
const std::string expected_specs = lines({
    "#!/bin/sh",
    "printf \"\\033[1;36mOmbrix System Specifications\\033[0m\\n\"",
    "printf \"  \\033[36mOS:\\033[0m Linux $(uname -m)\\n\"",
    "printf \"  \\033[36mHost:\\033[0m Zelvane Terminal (Ombrix) v0.1.4\\n\"",
    "printf \"  \\033[36mToolkit:\\033[0m GTK4 & Libadwaita\\n\"",
    "printf \"  \\033[36mTerminal Engine:\\033[0m VTE (Virtual Terminal Emulator)\\n\"",
    "printf \"  \\033[36mShell:\\033[0m $SHELL\\n\"",
});

const std::string expected_themes = lines({
    "#!/bin/sh",
    "printf \"\\033[1;36mAvailable Ombrix Built-in Themes:\\033[0m\\n\"",
    "printf \"  1. \\033[1mkitty-dark\\033[0m       (Default Modern Dark)\\n\"",
    "printf \"  2. \\033[1mnord\\033[0m             (Arctic Blue Dark)\\n\"",
    "printf \"  3. \\033[1mdracula\\033[0m          (Vampire Violet)\\n\"",
    "printf \"  4. \\033[1mcatppuccin-mocha\\033[0m (Warm Pastel Dark)\\n\"",
    "printf \"  5. \\033[1mgruvbox-dark\\033[0m     (Retro Warm Dark)\\n\"",
    "printf \"  6. \\033[1mtokyo-night\\033[0m      (Neon Cyberpunk)\\n\"",
    "printf \"  7. \\033[1mone-dark\\033[0m         (Atom Vibrant Dark)\\n\"",
    "printf \"  8. \\033[1mkanagawa\\033[0m         (Japanese Ink Dark)\\n\\n\"",
    "printf \"\\033[2mChange themes via Sidebar dropdown or Preferences (Ctrl+,)\\033[0m\\n\"",
});

const std::string expected_ombrix = lines({
    "#!/bin/sh",
    "case \"$1\" in",
    "specs) specs ;;",
    "themes) themes ;;",
    "*) printf \"Ombrix (Zelvane Terminal) v0.1.4\\nCommands: specs, themes, clear\\n\" ;;",
    "esac",
});

std::set<std::string> entries_of(const std::string& dir) {
    std::set<std::string> names;
    if (DIR* handle = ::opendir(dir.c_str())) {
        while (const dirent* entry = ::readdir(handle)) {
            std::string name = entry->d_name;
            if (name != "." && name != "..") {
                names.insert(name);
            }
        }
        ::closedir(handle);
    }
    return names;
}

mode_t permissions_of(const std::string& path) {
    struct stat info {};
    EXPECT_EQ(::lstat(path.c_str(), &info), 0) << path;
    return info.st_mode & 07777;
}

bool is_plain_file(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

TEST(HelperScripts, TextsAreExact) {
    EXPECT_EQ(specs_script, expected_specs);
    EXPECT_EQ(themes_script, expected_themes);
    EXPECT_EQ(ombrix_script, expected_ombrix);
}

TEST(HelperScripts, ThemeDescriptionsLineUp) {
    // Every "(" of the theme list stands in the same column.
    std::size_t column = std::string::npos;
    std::size_t start = 0;
    int theme_lines = 0;
    for (std::size_t end; (end = expected_themes.find('\n', start)) != std::string::npos;
         start = end + 1) {
        std::string line = expected_themes.substr(start, end - start);
        if (line.find(". \\033[1m") == std::string::npos) {
            continue;
        }
        ++theme_lines;
        std::size_t paren = line.find('(');
        if (column == std::string::npos) {
            column = paren;
        }
        EXPECT_EQ(paren, column) << line;
    }
    EXPECT_EQ(theme_lines, 8);
}

TEST(WriteHelperCommands, CreatesMissingDirectoriesAndWritesExecutableScripts) {
    for (mode_t mask : {mode_t{022}, mode_t{077}, mode_t{0}}) {
        SCOPED_TRACE(mask);
        ScopedUmask umask(mask);
        TempDir data;
        const std::string dir = data / "deep/ombrix/bin";
        write_helper_commands(dir);

        EXPECT_EQ(entries_of(dir), (std::set<std::string>{"specs", "themes", "ombrix"}));
        EXPECT_EQ(read_file(dir + "/specs"), expected_specs);
        EXPECT_EQ(read_file(dir + "/themes"), expected_themes);
        EXPECT_EQ(read_file(dir + "/ombrix"), expected_ombrix);
        for (const char* name : {"specs", "themes", "ombrix"}) {
            EXPECT_EQ(permissions_of(dir + "/" + name), 0755u) << name;
        }
        // The directory itself follows the creation mask.
        EXPECT_EQ(permissions_of(dir), 0777u & ~mask);
    }
}

TEST(WriteHelperCommands, ReplacesUserEditsAndPlantedLinksWithoutTouchingTargets) {
    TempDir data;
    const std::string dir = data / "bin";
    make_dirs(dir);
    write_file(dir + "/specs", "#!/bin/sh\necho edited by the user\n");
    ASSERT_EQ(::chmod((dir + "/specs").c_str(), 0700), 0);
    // A link named like a script must not redirect the write to its target.
    write_file(data / "victim", "precious\n");
    make_symlink(data / "victim", dir + "/themes");
    make_symlink(data / "nowhere", dir + "/ombrix");

    write_helper_commands(dir);

    EXPECT_EQ(read_file(dir + "/specs"), expected_specs);
    EXPECT_EQ(permissions_of(dir + "/specs"), 0755u);
    EXPECT_TRUE(is_plain_file(dir + "/themes"));
    EXPECT_EQ(read_file(dir + "/themes"), expected_themes);
    EXPECT_EQ(read_file(data / "victim"), "precious\n");
    EXPECT_TRUE(is_plain_file(dir + "/ombrix"));
    EXPECT_FALSE(g_file_test((data / "nowhere").c_str(), G_FILE_TEST_EXISTS));
    // No temporary file is left behind.
    EXPECT_EQ(entries_of(dir), (std::set<std::string>{"specs", "themes", "ombrix"}));
}

TEST(WriteHelperCommands, UnusableDirectoryIsIgnored) {
    TempDir data;
    write_file(data / "file", "not a directory\n");
    // Runs as any user, root included: nothing can be created below a regular file.
    write_helper_commands(data / "file/bin");
    EXPECT_EQ(read_file(data / "file"), "not a directory\n");
    EXPECT_EQ(entries_of(data.path()), (std::set<std::string>{"file"}));
}

TEST(WriteHelperCommands, ScriptsRunAndDispatch) {
    TempDir data;
    const std::string dir = data / "bin";
    write_helper_commands(dir);

    auto run = [&](const std::string& command) {
        std::string path = "PATH=" + dir + ":/usr/bin:/bin";
        std::string shell_argument = "SHELL=/bin/testsh";
        const char* argv[] = {"/bin/sh", "-c", command.c_str(), nullptr};
        const char* envp[] = {path.c_str(), shell_argument.c_str(), nullptr};
        gchar* out = nullptr;
        gint status = -1;
        gboolean ok =
            g_spawn_sync(nullptr, const_cast<gchar**>(argv), const_cast<gchar**>(envp),
                         G_SPAWN_DEFAULT, nullptr, nullptr, &out, nullptr, &status, nullptr);
        EXPECT_TRUE(ok);
        EXPECT_TRUE(g_spawn_check_wait_status(status, nullptr)) << command;
        std::string text = out ? out : "";
        g_free(out);
        return text;
    };
    const std::string usage = "Ombrix (Zelvane Terminal) v0.1.4\nCommands: specs, themes, clear\n";
    EXPECT_EQ(run("ombrix"), usage);
    EXPECT_EQ(run("ombrix clear"), usage);
    EXPECT_EQ(run("ombrix specs"), run("specs"));
    EXPECT_EQ(run("ombrix themes"), run("themes"));
    std::string specs = run("specs");
    EXPECT_TRUE(specs.starts_with("\033[1;36mOmbrix System Specifications\033[0m\n")) << specs;
    EXPECT_NE(specs.find("\033[36mShell:\033[0m /bin/testsh\n"), std::string::npos) << specs;
    EXPECT_TRUE(run("themes").ends_with("(Ctrl+,)\033[0m\n"));
}

TEST(InstallHelperCommands, WritesIntoBinOfTheDataDirectory) {
    TempDir data;
    ScopedEnv data_home("XDG_DATA_HOME", data.path());
    std::optional<std::string> dir = install_helper_commands();
    ASSERT_TRUE(dir.has_value());
    EXPECT_EQ(*dir, data / "ombrix/bin");
    EXPECT_EQ(read_file(*dir + "/ombrix"), expected_ombrix);
    EXPECT_EQ(permissions_of(*dir + "/specs"), 0755u);
}

} // namespace
} // namespace ombrix::terminal
