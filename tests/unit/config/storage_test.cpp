#include "config/paths.hpp"
#include "config/storage.hpp"
#include "config_test_support.hpp"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <gtest/gtest.h>
#include <ostream>
#include <signal.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace ombrix::config {
namespace {

using testing_support::data_file;
using testing_support::read_file;
using testing_support::ScopedEnv;
using testing_support::ScopedUmask;
using testing_support::TempDir;
using testing_support::write_file;

const std::string suffix = ". Using default configuration.\n";

bool exists(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0;
}

bool is_symlink(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode);
}

mode_t mode_of(const std::string& path) {
    struct stat info {};
    EXPECT_EQ(::stat(path.c_str(), &info), 0) << path;
    return info.st_mode & 07777;
}

std::string os_error(int error) {
    return std::strerror(error);
}

// Loads from directory with standard error captured.
struct Loaded {
    Config config;
    std::string stderr_text;
};

Loaded load_capturing(const std::string& directory) {
    testing::internal::CaptureStderr();
    Config config = load_config(directory);
    return {config, testing::internal::GetCapturedStderr()};
}

Config changed_config() {
    Config config;
    config.appearance.theme = "nord";
    config.window.width = 1234;
    config.general.shell = "/bin/zsh";
    return config;
}

std::string written(const Config& config) {
    return config.to_toml().value();
}

// ---- load_config ---------------------------------------------------------------------------

TEST(LoadConfig, ReadsAndNormalisesWithoutTouchingTheFile) {
    TempDir dir;
    const std::string content = "[window]\nwidth = 100\n[appearance]\ncursor_shape = \"IBeam\"\n";
    write_file(dir / "config.toml", content);
    auto loaded = load_capturing(dir.path());
    Config expected;
    expected.window.width = 320;
    expected.appearance.cursor_shape = "IBeam";
    EXPECT_EQ(loaded.config, expected);
    EXPECT_EQ(loaded.stderr_text, "");
    EXPECT_EQ(read_file(dir / "config.toml"), content);
    EXPECT_FALSE(exists(dir / "config.toml.tmp"));
}

TEST(LoadConfig, FirstRunCreatesDirectoriesAndWritesDefaults) {
    TempDir dir;
    ScopedUmask umask(022);
    const std::string config_directory = dir / "a/b/ombrix";
    auto loaded = load_capturing(config_directory);
    EXPECT_EQ(loaded.config, Config::defaults());
    EXPECT_EQ(loaded.stderr_text, "");
    EXPECT_EQ(read_file(config_directory + "/config.toml"), data_file("defaults.toml"));
    EXPECT_FALSE(exists(config_directory + "/config.toml.tmp"));
    // 0777 and 0666 before the umask.
    EXPECT_EQ(mode_of(dir / "a"), 0755u);
    EXPECT_EQ(mode_of(config_directory), 0755u);
    EXPECT_EQ(mode_of(config_directory + "/config.toml"), 0644u);
}

TEST(LoadConfig, FirstRunFromTheEnvironment) {
    TempDir dir;
    ScopedEnv config_home("XDG_CONFIG_HOME", dir.path() + "/xdg");
    testing::internal::CaptureStderr();
    Config config = load_config();
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(config, Config::defaults());
    EXPECT_EQ(read_file(dir / "xdg/ombrix/config.toml"), data_file("defaults.toml"));
}

TEST(LoadConfig, RelativeXdgConfigHomeIsIgnored) {
    TempDir dir;
    ScopedEnv home("HOME", dir.path());
    ScopedEnv config_home("XDG_CONFIG_HOME", "relative-xdg");
    ::mkdir((dir / ".config").c_str(), 0777);
    ::mkdir((dir / ".config/ombrix").c_str(), 0777);
    write_file(dir / ".config/ombrix/config.toml", "[appearance]\ntheme = \"from-home\"\n");
    EXPECT_EQ(load_config().appearance.theme, "from-home");
}

TEST(LoadConfig, FirstRunWhenSaveFailsStillGivesDefaults) {
    TempDir dir;
    write_file(dir / "file", "");
    auto loaded = load_capturing(dir / "file/ombrix");
    EXPECT_EQ(loaded.config, Config::defaults());
    EXPECT_EQ(loaded.stderr_text, "");
}

// config.toml variants that exist but are unusable: the warning, the defaults, and the file
// left as it was.
struct WarningCase {
    const char* name;
    std::function<void(const std::string& path)> make;
    const char* kind; // "read" or "parse"
    const char* error_part;
};

// Names the case in failure messages instead of dumping its bytes.
void PrintTo(const WarningCase& c, std::ostream* os) {
    *os << c.name;
}

class LoadWarnings : public testing::TestWithParam<WarningCase> {};

// Ends the test process if reading blocks, instead of hanging the whole test run. Standard
// error is being captured, so the reason goes to standard output.
extern "C" void on_read_timeout(int) {
    const char message[] = "load_config blocked on config.toml\n";
    (void)!::write(STDOUT_FILENO, message, sizeof message - 1);
    ::_exit(3);
}

std::string describe_file(const std::string& path) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0) {
        return "missing";
    }
    if (S_ISREG(info.st_mode) && info.st_size < 65536) {
        return "file:" + read_file(path);
    }
    return "type:" + std::to_string(info.st_mode & S_IFMT) +
           " size:" + std::to_string(info.st_size);
}

TEST_P(LoadWarnings, WarnsAndUsesDefaults) {
    const auto& c = GetParam();
    TempDir dir;
    const std::string path = dir / "config.toml";
    c.make(path);
    const std::string before = describe_file(path);

    ::signal(SIGALRM, on_read_timeout);
    ::alarm(10);
    auto loaded = load_capturing(dir.path());
    ::alarm(0);
    ::signal(SIGALRM, SIG_DFL);

    EXPECT_EQ(loaded.config, Config::defaults());
    const std::string prefix = std::string("Warning: Failed to ") + c.kind + " " + path + ": ";
    EXPECT_TRUE(loaded.stderr_text.starts_with(prefix)) << loaded.stderr_text;
    EXPECT_TRUE(loaded.stderr_text.ends_with(suffix)) << loaded.stderr_text;
    EXPECT_NE(loaded.stderr_text.find(c.error_part), std::string::npos) << loaded.stderr_text;
    EXPECT_EQ(describe_file(path), before);
    EXPECT_FALSE(exists(dir / "config.toml.tmp"));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LoadWarnings,
    testing::Values(
        WarningCase{
            "BrokenSyntax",
            [](const std::string& path) { write_file(path, data_file("broken_syntax.toml")); },
            "parse", "line 4"},
        WarningCase{"WrongType",
                    [](const std::string& path) { write_file(path, data_file("wrong_type.toml")); },
                    "parse", "`font_size`"},
        WarningCase{
            "WidthOutOfRange",
            [](const std::string& path) { write_file(path, "[window]\nwidth = 3000000000\n"); },
            "parse", "`width`"},
        WarningCase{"NotUtf8",
                    [](const std::string& path) { write_file(path, data_file("not_utf8.toml")); },
                    "read", "UTF-8"},
        WarningCase{"Directory",
                    [](const std::string& path) { ASSERT_EQ(::mkdir(path.c_str(), 0777), 0); },
                    "read", "Is a directory"},
        // Without a writer, opening a FIFO for reading would wait for ever.
        WarningCase{"Fifo",
                    [](const std::string& path) { ASSERT_EQ(::mkfifo(path.c_str(), 0666), 0); },
                    "read", "regular file"},
        WarningCase{
            "CharacterDevice",
            [](const std::string& path) { ASSERT_EQ(::symlink("/dev/zero", path.c_str()), 0); },
            "read", "regular file"},
        // A sparse file: big, but costs no disk space.
        WarningCase{"HugeFile",
                    [](const std::string& path) {
                        int fd = ::open(path.c_str(), O_WRONLY | O_CREAT, 0666);
                        ASSERT_GE(fd, 0);
                        ASSERT_EQ(::ftruncate(fd, 16 * 1024 * 1024), 0);
                        ::close(fd);
                    },
                    "read", "too large"}),
    [](const auto& info) { return std::string(info.param.name); });

// The warning line exactly, for one case of each kind.
TEST(LoadConfig, ParseWarningLine) {
    TempDir dir;
    write_file(dir / "config.toml", "[window]\nwidth = \"wide\"\n");
    auto loaded = load_capturing(dir.path());
    EXPECT_EQ(loaded.stderr_text, "Warning: Failed to parse " + (dir / "config.toml") +
                                      ": invalid type for key `width` in table `window`: expected "
                                      "a 32-bit integer, found a string (line 2, column 9)" +
                                      suffix);
}

TEST(LoadConfig, ReadWarningLine) {
    TempDir dir;
    ASSERT_EQ(::mkdir((dir / "config.toml").c_str(), 0777), 0);
    auto loaded = load_capturing(dir.path());
    EXPECT_EQ(loaded.stderr_text, "Warning: Failed to read " + (dir / "config.toml") + ": " +
                                      os_error(EISDIR) + suffix);
}

// A directory in place of config.toml: read warning at start, and every save then fails at
// the rename.
TEST(LoadConfig, DirectoryConfigFileMakesLaterSavesFailAtRename) {
    TempDir dir;
    ASSERT_EQ(::mkdir((dir / "config.toml").c_str(), 0777), 0);
    (void)load_capturing(dir.path());
    auto saved = save_config(changed_config(), dir.path());
    ASSERT_FALSE(saved.has_value());
    EXPECT_EQ(saved.error(), "Failed to atomically replace config file: " + os_error(EISDIR));
    EXPECT_EQ(read_file(dir / "config.toml.tmp"), written(changed_config()));
}

// After falling back from a broken file, the next save replaces it with a valid one.
TEST(LoadConfig, SaveAfterParseFailureRepairsTheFile) {
    TempDir dir;
    write_file(dir / "config.toml", data_file("broken_syntax.toml"));
    Config config = load_capturing(dir.path()).config;
    config.window.width = 1500;
    ASSERT_TRUE(save_config(config, dir.path()).has_value());
    auto loaded = load_capturing(dir.path());
    EXPECT_EQ(loaded.stderr_text, "");
    EXPECT_EQ(loaded.config, config);
}

// A config.toml link whose chain never ends: the status query fails, so this is a first run;
// its save cannot find a file to replace either, and the links are left alone.
TEST(LoadConfig, LinkLoopIsAFirstRunThatCannotSave) {
    TempDir dir;
    ASSERT_EQ(::symlink("other.toml", (dir / "config.toml").c_str()), 0);
    ASSERT_EQ(::symlink("config.toml", (dir / "other.toml").c_str()), 0);
    auto loaded = load_capturing(dir.path());
    EXPECT_EQ(loaded.config, Config::defaults());
    EXPECT_EQ(loaded.stderr_text, "");
    EXPECT_TRUE(is_symlink(dir / "config.toml"));
    EXPECT_TRUE(is_symlink(dir / "other.toml"));
    auto saved = save_config(Config::defaults(), dir.path());
    ASSERT_FALSE(saved.has_value());
    EXPECT_EQ(saved.error(), "Failed to write temporary config: " + os_error(ELOOP));
}

// ---- save_config ---------------------------------------------------------------------------

TEST(SaveConfig, SaveThenLoadGivesTheSameRecord) {
    TempDir dir;
    Config config = changed_config();
    config.general.working_directory = "";
    config.appearance.opacity = 0.75;
    ASSERT_TRUE(save_config(config, dir.path()).has_value());
    EXPECT_EQ(read_file(dir / "config.toml"), written(config));
    EXPECT_EQ(load_capturing(dir.path()).config, config);
}

TEST(SaveConfig, ReplacesTheFileByRename) {
    TempDir dir;
    ASSERT_TRUE(save_config(Config::defaults(), dir.path()).has_value());
    // A reader holding the old file keeps seeing the complete old content.
    ASSERT_EQ(::link((dir / "config.toml").c_str(), (dir / "old-view").c_str()), 0);
    ASSERT_TRUE(save_config(changed_config(), dir.path()).has_value());
    EXPECT_EQ(read_file(dir / "old-view"), data_file("defaults.toml"));
    EXPECT_EQ(read_file(dir / "config.toml"), written(changed_config()));
    EXPECT_FALSE(exists(dir / "config.toml.tmp"));
}

TEST(SaveConfig, StaleTemporaryFileIsOverwritten) {
    TempDir dir;
    write_file(dir / "config.toml.tmp", std::string(10000, '#') + "\nstale garbage = [\n");
    ASSERT_TRUE(save_config(changed_config(), dir.path()).has_value());
    EXPECT_EQ(read_file(dir / "config.toml"), written(changed_config()));
    EXPECT_FALSE(exists(dir / "config.toml.tmp"));
}

TEST(SaveConfig, WorksWithoutFlush) {
    TempDir dir;
    ASSERT_TRUE(save_config(changed_config(), dir.path(), false).has_value());
    EXPECT_EQ(read_file(dir / "config.toml"), written(changed_config()));
}

// Each failing step returns its own text and leaves config.toml as it was.
struct SaveErrorCase {
    const char* name;
    // Prepares the temporary directory and returns the config directory to save into.
    std::function<std::string(const TempDir&)> setup;
    Config config;
    // The expected error text, given the config directory.
    std::function<std::string(const std::string&)> expected;
};

// Names the case in failure messages instead of dumping its bytes.
void PrintTo(const SaveErrorCase& c, std::ostream* os) {
    *os << c.name;
}

class SaveErrors : public testing::TestWithParam<SaveErrorCase> {};

TEST_P(SaveErrors, ReportsTheFailingStep) {
    const auto& c = GetParam();
    TempDir dir;
    const std::string directory = c.setup(dir);
    const std::string before = describe_file(directory + "/config.toml");
    testing::internal::CaptureStderr();
    auto saved = save_config(c.config, directory);
    // Save failures are returned, never printed.
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    ASSERT_FALSE(saved.has_value());
    EXPECT_EQ(saved.error(), c.expected(directory));
    EXPECT_EQ(describe_file(directory + "/config.toml"), before);
}

Config invalid_utf8_config() {
    Config config;
    config.general.shell = "/opt/caf\xe9/sh";
    return config;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SaveErrors,
    testing::Values(
        SaveErrorCase{"ConfigDirIsAFile",
                      [](const TempDir& dir) {
                          write_file(dir / "ombrix", "not a directory");
                          return dir / "ombrix";
                      },
                      Config{},
                      [](const std::string& d) {
                          return "Failed to create config directory " + d + ": " +
                                 os_error(ENOTDIR);
                      }},
        SaveErrorCase{"ParentIsAFile",
                      [](const TempDir& dir) {
                          write_file(dir / "config", "");
                          return dir / "config/ombrix";
                      },
                      Config{},
                      [](const std::string& d) {
                          return "Failed to create config directory " + d + ": " +
                                 os_error(ENOTDIR);
                      }},
        SaveErrorCase{
            "NameTooLong",
            [](const TempDir& dir) { return dir / (std::string(300, 'x') + "/ombrix"); }, Config{},
            [](const std::string& d) {
                return "Failed to create config directory " + d + ": " + os_error(ENAMETOOLONG);
            }},
        SaveErrorCase{"NotUtf8", [](const TempDir& dir) { return dir / "fresh"; },
                      invalid_utf8_config(),
                      [](const std::string&) {
                          return std::string("Failed to serialize config: the value of key "
                                             "`shell` in table `general` is not valid UTF-8");
                      }},
        SaveErrorCase{"TemporaryPathIsADirectory",
                      [](const TempDir& dir) {
                          write_file(dir / "config.toml", "[window]\nwidth = 1000\n");
                          ::mkdir((dir / "config.toml.tmp").c_str(), 0777);
                          return dir.path();
                      },
                      Config{},
                      [](const std::string&) {
                          return "Failed to write temporary config: " + os_error(EISDIR);
                      }},
        SaveErrorCase{"ConfigFileIsAnEmptyDirectory",
                      [](const TempDir& dir) {
                          ::mkdir((dir / "config.toml").c_str(), 0777);
                          return dir.path();
                      },
                      Config{},
                      [](const std::string&) {
                          return "Failed to atomically replace config file: " + os_error(EISDIR);
                      }},
        SaveErrorCase{"ConfigFileIsAFullDirectory",
                      [](const TempDir& dir) {
                          ::mkdir((dir / "config.toml").c_str(), 0777);
                          write_file(dir / "config.toml/inside", "x");
                          return dir.path();
                      },
                      Config{},
                      [](const std::string&) {
                          return "Failed to atomically replace config file: " + os_error(EISDIR);
                      }},
        // The link target's name is legal but the temporary name beside it is not.
        SaveErrorCase{"LinkTargetTooLongForTemporaryName",
                      [](const TempDir& dir) {
                          std::string target = std::string(253, 't');
                          write_file(dir / target, "[window]\nwidth = 1000\n");
                          ::symlink(target.c_str(), (dir / "config.toml").c_str());
                          return dir.path();
                      },
                      Config{},
                      [](const std::string&) {
                          return "Failed to write temporary config: " + os_error(ENAMETOOLONG);
                      }},
        // A dangling link into a directory that does not exist: the link is kept, not
        // replaced by a plain file.
        SaveErrorCase{"DanglingLinkIntoMissingDirectory",
                      [](const TempDir& dir) {
                          ::symlink("missing/config.toml", (dir / "config.toml").c_str());
                          return dir.path();
                      },
                      Config{},
                      [](const std::string&) {
                          return "Failed to write temporary config: " + os_error(ENOENT);
                      }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SaveConfig, FailedCreateWritesNothing) {
    TempDir dir;
    write_file(dir / "config", "");
    ASSERT_FALSE(save_config(Config{}, dir / "config/ombrix").has_value());
    EXPECT_EQ(read_file(dir / "config"), "");
}

TEST(SaveConfig, FailedSerializeWritesNothing) {
    TempDir dir;
    ASSERT_FALSE(save_config(invalid_utf8_config(), dir.path()).has_value());
    EXPECT_FALSE(exists(dir / "config.toml"));
    EXPECT_FALSE(exists(dir / "config.toml.tmp"));
}

// ---- config.toml as a symbolic link (dotfile managers) -------------------------------------

TEST(SaveConfig, RelativeLinkIsKeptAndItsTargetUpdated) {
    TempDir dir;
    ASSERT_EQ(::mkdir((dir / "dotfiles").c_str(), 0777), 0);
    ASSERT_EQ(::mkdir((dir / "ombrix").c_str(), 0777), 0);
    write_file(dir / "dotfiles/ombrix.toml", "[appearance]\ntheme = \"linked\"\n");
    ASSERT_EQ(::symlink("../dotfiles/ombrix.toml", (dir / "ombrix/config.toml").c_str()), 0);

    auto loaded = load_capturing(dir / "ombrix");
    EXPECT_EQ(loaded.config.appearance.theme, "linked");
    loaded.config.window.width = 1111;
    ASSERT_TRUE(save_config(loaded.config, dir / "ombrix").has_value());

    EXPECT_TRUE(is_symlink(dir / "ombrix/config.toml"));
    EXPECT_EQ(read_file(dir / "dotfiles/ombrix.toml"), written(loaded.config));
    EXPECT_FALSE(exists(dir / "dotfiles/ombrix.toml.tmp"));
    EXPECT_FALSE(exists(dir / "ombrix/config.toml.tmp"));
}

TEST(SaveConfig, LinkChainIsFollowedToTheEnd) {
    TempDir dir;
    ASSERT_EQ(::mkdir((dir / "a").c_str(), 0777), 0);
    ASSERT_EQ(::mkdir((dir / "b").c_str(), 0777), 0);
    write_file(dir / "b/real.toml", "");
    // config.toml -> absolute a/middle.toml -> relative ../b/real.toml
    ASSERT_EQ(::symlink((dir / "a/middle.toml").c_str(), (dir / "config.toml").c_str()), 0);
    ASSERT_EQ(::symlink("../b/real.toml", (dir / "a/middle.toml").c_str()), 0);

    ASSERT_TRUE(save_config(changed_config(), dir.path()).has_value());
    EXPECT_TRUE(is_symlink(dir / "config.toml"));
    EXPECT_TRUE(is_symlink(dir / "a/middle.toml"));
    EXPECT_EQ(read_file(dir / "b/real.toml"), written(changed_config()));
    EXPECT_EQ(load_capturing(dir.path()).config, changed_config());
}

// A dangling link counts as a missing file at start-up; the first-run save creates the file
// the link names, so the link starts working.
TEST(SaveConfig, DanglingLinkGetsItsTargetCreated) {
    TempDir dir;
    ASSERT_EQ(::mkdir((dir / "dotfiles").c_str(), 0777), 0);
    ASSERT_EQ(::mkdir((dir / "ombrix").c_str(), 0777), 0);
    ASSERT_EQ(::symlink("../dotfiles/not-yet.toml", (dir / "ombrix/config.toml").c_str()), 0);

    auto loaded = load_capturing(dir / "ombrix");
    EXPECT_EQ(loaded.config, Config::defaults());
    EXPECT_EQ(loaded.stderr_text, "");
    EXPECT_TRUE(is_symlink(dir / "ombrix/config.toml"));
    EXPECT_EQ(read_file(dir / "dotfiles/not-yet.toml"), data_file("defaults.toml"));
}

TEST(SaveConfig, LinkedDirectoryIsUsedAsIs) {
    TempDir dir;
    ASSERT_EQ(::mkdir((dir / "real").c_str(), 0777), 0);
    ASSERT_EQ(::symlink("real", (dir / "ombrix").c_str()), 0);
    ASSERT_TRUE(save_config(changed_config(), dir / "ombrix").has_value());
    EXPECT_TRUE(is_symlink(dir / "ombrix"));
    EXPECT_EQ(read_file(dir / "real/config.toml"), written(changed_config()));
}

} // namespace
} // namespace ombrix::config
