// Launching shells in real terminals: what the child gets (argv, environment, directory),
// the banner before it, directory tracking with real bash and fish, spawn failures, and
// panes closed while their shells start or run.
#include "terminal/shell_launch.hpp"
#include "terminal_test_support.hpp"

#include <fstream>
#include <glib/gstdio.h>
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace ombrix::test {
namespace {

using terminal::PaneRef;

const std::string probe_script = std::string(OMBRIX_TEST_DATA_DIR) + "/terminal-gui/probe.sh";

// What the probe script recorded.
struct ProbeRecord {
    std::vector<std::string> argv;
    std::map<std::string, std::string> env;
    std::string pwd;
    std::string pid;
};

ProbeRecord parse_record(const std::string& text) {
    ProbeRecord record;
    std::istringstream in(text);
    std::string line;
    enum { argv, env, pwd, pid } section = argv;
    while (std::getline(in, line)) {
        if (line == "--env--") {
            section = env;
        } else if (line == "--pwd--") {
            section = pwd;
        } else if (line == "--pid--") {
            section = pid;
        } else if (section == argv) {
            record.argv.push_back(line);
        } else if (section == env) {
            auto eq = line.find('=');
            if (eq != std::string::npos) {
                record.env[line.substr(0, eq)] = line.substr(eq + 1);
            }
        } else if (section == pwd) {
            record.pwd = line;
        } else {
            record.pid = line;
        }
    }
    return record;
}

bool exists(const std::string& path) {
    return g_file_test(path.c_str(), G_FILE_TEST_EXISTS);
}

// True once the process is gone or only a zombie waiting to be reaped.
bool process_ended(const std::string& pid) {
    std::string stat = read_file("/proc/" + pid + "/stat");
    if (stat.empty()) {
        return true;
    }
    auto close = stat.rfind(')');
    return close != std::string::npos && close + 2 < stat.size() && stat[close + 2] == 'Z';
}

class ShellLaunchTest : public ::testing::Test {
protected:
    void SetUp() override {
        record_path_ = home_.path() + "/probe-record";
        env_.set("OMBRIX_PROBE_OUT", record_path_);
    }

    PaneRef make_pane(const config::Config& config,
                      const std::optional<std::string>& shell_override = std::nullopt,
                      const std::optional<std::string>& directory_override = std::nullopt) {
        auto pane = terminal::create_terminal_pane(config, sample_theme(), shell_override,
                                                   directory_override);
        window_ = std::make_unique<PaneWindow>(pane);
        return pane;
    }

    config::Config probe_config() {
        auto config = config::Config::defaults();
        config.general.shell = probe_script;
        return config;
    }

    ProbeRecord wait_for_record() {
        EXPECT_TRUE(pump_until([&] { return exists(record_path_); }, 15000));
        return parse_record(read_file(record_path_));
    }

    void TearDown() override {
        window_.reset();
        pump_for(50);
    }

    TempHome home_;
    ScopedEnv env_;
    std::string record_path_;
    std::unique_ptr<PaneWindow> window_;
};

TEST_F(ShellLaunchTest, ChildGetsArgvEnvironmentAndDirectory) {
    const std::string workdir = home_.path() + "/work dir";
    ASSERT_EQ(g_mkdir_with_parents(workdir.c_str(), 0755), 0);
    env_.set("TERM", "dumb");
    env_.set("COLORTERM", "no");
    env_.set("TERM_PROGRAM", "other");
    env_.set("PATH", "/usr/bin:/bin");
    env_.set("OMBRIX_INHERITED", "kept as is");
    auto config = probe_config();
    config.general.working_directory = workdir;

    auto pane = make_pane(config);
    EXPECT_EQ(pane->shell, probe_script);
    EXPECT_EQ(pane->shell_name, "probe.sh");
    EXPECT_EQ(pane->title, "probe.sh");
    EXPECT_EQ(pane->cwd, workdir);

    bool exited = false;
    terminal::launch_shell(pane, [&exited] { exited = true; });
    ProbeRecord record = wait_for_record();

    EXPECT_EQ(record.argv, (std::vector<std::string>{probe_script, "-l"}));
    EXPECT_EQ(record.pwd, workdir);
    EXPECT_EQ(record.env["TERM"], "xterm-256color");
    EXPECT_EQ(record.env["COLORTERM"], "truecolor");
    EXPECT_EQ(record.env["TERM_PROGRAM"], "ombrix");
    EXPECT_EQ(record.env["OMBRIX_INHERITED"], "kept as is");
    const std::string helper_dir = home_.path() + "/.local/share/ombrix/bin";
    EXPECT_EQ(record.env["PATH"], helper_dir + ":/usr/bin:/bin");
    EXPECT_TRUE(g_file_test((helper_dir + "/specs").c_str(), G_FILE_TEST_IS_EXECUTABLE));

    ASSERT_TRUE(pump_until([&] { return pane->child_pid != 0; }, 5000));
    EXPECT_EQ(std::to_string(pane->child_pid), record.pid);
    EXPECT_FALSE(exited);
}

TEST_F(ShellLaunchTest, BannerIsShownBeforeTheShellsOutput) {
    auto pane = make_pane(probe_config());
    terminal::launch_shell(pane, [] {});
    ASSERT_TRUE(pump_until(
        [&] { return terminal_text(pane->terminal()).find("PROBE-READY") != std::string::npos; },
        15000));
    const std::string text = terminal_text(pane->terminal());
    const auto welcome = text.find("Welcome to Ombrix (Zelvane Terminal) v0.1.5");
    const auto hint = text.find("Type specs, themes, or clear to interact.");
    const auto art = text.find("\u2588");
    ASSERT_NE(welcome, std::string::npos) << text;
    ASSERT_NE(hint, std::string::npos) << text;
    ASSERT_NE(art, std::string::npos) << text;
    EXPECT_LT(art, welcome);
    EXPECT_LT(welcome, hint);
    EXPECT_LT(hint, text.find("PROBE-READY"));
}

struct DirectoryCase {
    const char* name;
    bool override_exists; // the override names an existing directory
    bool with_override;
    bool configured_exists;
    const char* expected; // "override", "configured" or "home"
};

class WorkingDirectoryTest : public ShellLaunchTest,
                             public ::testing::WithParamInterface<DirectoryCase> {};

TEST_P(WorkingDirectoryTest, ShellStartsInTheChosenDirectory) {
    const auto& c = GetParam();
    const std::string override_dir = home_.path() + "/split here";
    const std::string configured_dir = home_.path() + "/configured";
    if (c.override_exists) {
        ASSERT_EQ(g_mkdir(override_dir.c_str(), 0755), 0);
    }
    if (c.configured_exists) {
        ASSERT_EQ(g_mkdir(configured_dir.c_str(), 0755), 0);
    }
    auto config = probe_config();
    config.general.working_directory = configured_dir;

    auto pane =
        make_pane(config, std::nullopt,
                  c.with_override ? std::optional<std::string>(override_dir) : std::nullopt);
    terminal::launch_shell(pane, [] {});
    ProbeRecord record = wait_for_record();

    const std::string expected = std::string(c.expected) == "override"     ? override_dir
                                 : std::string(c.expected) == "configured" ? configured_dir
                                                                           : home_.path();
    EXPECT_EQ(pane->cwd, expected);
    EXPECT_EQ(record.pwd, expected);
    ASSERT_TRUE(pump_until([&] { return pane->child_pid != 0; }, 5000));
}

INSTANTIATE_TEST_SUITE_P(
    Choice, WorkingDirectoryTest,
    ::testing::Values(DirectoryCase{"SplitOverride", true, true, true, "override"},
                      DirectoryCase{"Configured", false, false, true, "configured"},
                      // A split of a pane whose directory has been removed since.
                      DirectoryCase{"RemovedOverride", false, true, true, "configured"},
                      DirectoryCase{"NothingUsable", false, true, false, "home"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ShellLaunchTest, SpawnFailureIsReportedAndLeavesThePaneWithoutProgram) {
    const std::string not_executable = home_.path() + "/not-a-shell";
    { std::ofstream(not_executable) << "echo never\n"; }
    ASSERT_EQ(chmod(not_executable.c_str(), 0644), 0);

    StderrCapture capture;
    auto pane = make_pane(config::Config::defaults(), not_executable);
    ASSERT_EQ(pane->shell, not_executable);
    terminal::launch_shell(pane, [] {});
    ASSERT_TRUE(pump_until(
        [&] { return capture.text().find("Failed to spawn shell: ") != std::string::npos; },
        10000));
    pump_for(100);
    const std::string err = capture.text();
    EXPECT_EQ(err.rfind("Failed to spawn shell: ", 0), 0u) << err;
    EXPECT_NE(err.find('\n'), std::string::npos);
    EXPECT_EQ(pane->child_pid, 0u);
    EXPECT_NE(terminal_text(pane->terminal()).find("Welcome to Ombrix"), std::string::npos);
}

struct RealShell {
    const char* name;
    const char* path;
};

class RealShellTest : public ShellLaunchTest, public ::testing::WithParamInterface<RealShell> {};

// The shells' own reports carry the host name and percent escapes; the pane needs the path.
TEST_P(RealShellTest, CwdFollowsTheShellIntoADirectoryWithASpace) {
    const std::string target = home_.path() + "/a b";
    ASSERT_EQ(g_mkdir(target.c_str(), 0755), 0);
    auto pane = make_pane(config::Config::defaults(), GetParam().path);
    ASSERT_EQ(pane->shell_name, GetParam().name);
    EXPECT_EQ(pane->cwd, home_.path());
    terminal::launch_shell(pane, [] {});
    ASSERT_TRUE(pump_until([&] { return pane->child_pid != 0; }, 10000));

    const std::string command = "cd '" + target + "'\n";
    vte_terminal_feed_child(pane->terminal(), command.data(), static_cast<gssize>(command.size()));
    EXPECT_TRUE(pump_until([&] { return pane->cwd == target; }, 20000))
        << "cwd: " << pane->cwd << "\n"
        << terminal_text(pane->terminal());
    // What the shell reported: a host name and an escaped space.
    const char* uri = vte_terminal_get_current_directory_uri(pane->terminal());
    ASSERT_NE(uri, nullptr);
    const std::string reported = uri;
    EXPECT_EQ(reported.rfind("file://", 0), 0u) << reported;
    EXPECT_NE(reported.substr(7, 1), "/") << reported;
    EXPECT_NE(reported.find("/a%20b"), std::string::npos) << reported;
}

INSTANTIATE_TEST_SUITE_P(Shells, RealShellTest,
                         ::testing::Values(RealShell{"bash", "/bin/bash"},
                                           RealShell{"fish", "/usr/bin/fish"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ShellLaunchTest, ExitHandlerRunsWhenTheShellExits) {
    // The holder stands in for the tab's pane tree.
    PaneRef holder = make_pane(config::Config::defaults(), "/bin/sh");
    std::weak_ptr<terminal::TerminalPane> weak = holder;
    int calls = 0;
    // Like the tab manager removing a split pane: the handler drops the last reference to the
    // pane and destroys its window while VTE is still emitting.
    terminal::launch_shell(holder, [&calls, &holder, this, weak] {
        ++calls;
        EXPECT_FALSE(weak.expired());
        holder.reset();
        window_.reset();
    });
    ASSERT_TRUE(pump_until([&] { return holder->child_pid != 0; }, 10000));
    FinalizeWatch terminal_watch(holder->terminal());
    const std::string command = "exit\n";
    vte_terminal_feed_child(holder->terminal(), command.data(),
                            static_cast<gssize>(command.size()));
    EXPECT_TRUE(pump_until([&] { return calls > 0; }, 10000));
    EXPECT_TRUE(pump_until([&] { return terminal_watch.finalized(); }, 5000));
    EXPECT_TRUE(weak.expired());
    pump_for(100);
    EXPECT_EQ(calls, 1);
}

TEST_F(ShellLaunchTest, ClosingAPaneWithARunningShellFreesItWithoutCallingBack) {
    auto pane = make_pane(probe_config());
    auto calls = std::make_shared<int>(0);
    terminal::launch_shell(pane, [calls] { ++*calls; });
    ProbeRecord record = wait_for_record();
    ASSERT_TRUE(pump_until([&] { return pane->child_pid != 0; }, 5000));

    FinalizeWatch terminal_watch(pane->terminal());
    FinalizeWatch container_watch(pane->container.get());
    pane.reset();
    window_.reset();
    // Nothing else holds the terminal: it is disposed here, hangs up its child and emits
    // "child-exited" from dispose, which must not reach the freed pane.
    EXPECT_TRUE(terminal_watch.finalized());
    EXPECT_TRUE(container_watch.finalized());
    pump_for(200);
    EXPECT_EQ(*calls, 0);
    EXPECT_TRUE(pump_until([&] { return process_ended(record.pid); }, 5000));
}

TEST_F(ShellLaunchTest, PaneDroppedWhileSpawningIsNotTouchedByTheCompletion) {
    StderrCapture capture;
    auto calls = std::make_shared<int>(0);
    {
        auto pane = make_pane(probe_config());
        FinalizeWatch terminal_watch(pane->terminal());
        terminal::launch_shell(pane, [calls] { ++*calls; });
        pane.reset();
        window_.reset();
        EXPECT_TRUE(terminal_watch.finalized());
    }
    // VTE still completes the spawn (with a null terminal) and hangs up the child; the
    // completion finds no pane and touches nothing.
    pump_for(1500);
    EXPECT_EQ(*calls, 0);
    EXPECT_EQ(capture.text().find("Failed to spawn shell"), std::string::npos);
    if (exists(record_path_)) {
        // The child did start: it must not outlive its terminal.
        ProbeRecord record = parse_record(read_file(record_path_));
        EXPECT_TRUE(pump_until([&] { return process_ended(record.pid); }, 5000)) << record.pid;
    }
}

} // namespace
} // namespace ombrix::test
