#include "temp_dir.hpp"
#include "terminal/process.hpp"

#include <cerrno>
#include <cstdint>
#include <functional>
#include <gtest/gtest.h>
#include <signal.h>
#include <string>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace ombrix::terminal {
namespace {

using testing::make_dirs;
using testing::make_symlink;
using testing::read_file;
using testing::TempDir;
using testing::write_file;

// --- Helpers that run inside forked processes (single-threaded, so plain calls are safe). ---

// Dies with its parent, so a failing test leaves nothing behind.
void die_with_parent(pid_t expected_parent) {
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (::getppid() != expected_parent) {
        ::_exit(1);
    }
}

void report(int fd, std::int64_t value) {
    if (::write(fd, &value, sizeof value) != sizeof value) {
        ::_exit(1);
    }
}

[[noreturn]] void idle() {
    for (;;) {
        ::pause();
    }
}

// Forks a process that runs body(report_fd) and never returns into the test.
pid_t fork_process(int report_fd, const std::function<void(int)>& body) {
    const pid_t parent = ::getpid();
    pid_t pid = ::fork();
    if (pid == 0) {
        die_with_parent(parent);
        body(report_fd);
        ::_exit(0);
    }
    return pid;
}

// A process playing the shell, forked from the test. Its body reports through a pipe when
// the situation under test is in place. Everything it and its children start is killed and
// the process itself reaped at the end.
class FakeShell {
public:
    explicit FakeShell(const std::function<void(int)>& body) {
        // Orphans of the fake shell come back to the test, which reaps them, instead of
        // going to an init process that might not.
        ::prctl(PR_SET_CHILD_SUBREAPER, 1);
        if (::pipe(pipe_) != 0) {
            ADD_FAILURE() << "pipe failed";
            return;
        }
        pid_ = fork_process(pipe_[1], [&](int fd) {
            ::close(pipe_[0]);
            body(fd);
        });
        ::close(pipe_[1]);
        pipe_[1] = -1;
        if (pid_ < 0) {
            ADD_FAILURE() << "fork failed";
        }
    }
    FakeShell(const FakeShell&) = delete;
    FakeShell& operator=(const FakeShell&) = delete;
    ~FakeShell() {
        for (pid_t other : others_) {
            ::kill(other, SIGKILL);
        }
        if (pid_ > 0) {
            ::kill(pid_, SIGKILL);
            reap(pid_);
        }
        // Once the shell is gone its children are the test's own.
        for (pid_t other : others_) {
            reap(other);
        }
        if (pipe_[0] >= 0) {
            ::close(pipe_[0]);
        }
    }

    std::uint32_t pid() const { return static_cast<std::uint32_t>(pid_); }

    // The next value the process reported; blocks until it arrives.
    std::int64_t next_report() {
        std::int64_t value = -1;
        std::size_t got = 0;
        auto* bytes = reinterpret_cast<char*>(&value);
        while (got < sizeof value) {
            ssize_t n = ::read(pipe_[0], bytes + got, sizeof value - got);
            if (n < 0 && errno == EINTR) {
                continue;
            }
            if (n <= 0) {
                ADD_FAILURE() << "the fake shell ended before reporting";
                return -1;
            }
            got += static_cast<std::size_t>(n);
        }
        return value;
    }

    // A process id reported by the shell, killed at the end like the shell.
    pid_t next_reported_process() {
        auto pid = static_cast<pid_t>(next_report());
        if (pid > 0) {
            others_.push_back(pid);
        }
        return pid;
    }

private:
    static void reap(pid_t pid) {
        while (::waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
        }
    }

    pid_t pid_ = -1;
    int pipe_[2] = {-1, -1};
    std::vector<pid_t> others_;
};

// The fields after the command name of /proc/<pid>/stat: state, parent id, ...
std::vector<std::string> stat_fields(pid_t pid) {
    std::string text = read_file("/proc/" + std::to_string(pid) + "/stat");
    std::vector<std::string> fields;
    std::size_t pos = text.rfind(')');
    if (pos == std::string::npos) {
        return fields;
    }
    std::string field;
    for (char c : text.substr(pos + 1)) {
        if (c == ' ' || c == '\n') {
            if (!field.empty()) {
                fields.push_back(field);
            }
            field.clear();
        } else {
            field += c;
        }
    }
    return fields;
}

void spawn_sleep() {
    const char* argv[] = {"sleep", "300", nullptr};
    ::execvp("sleep", const_cast<char**>(argv));
    ::_exit(127);
}

// --- Real processes under the real /proc. ---

TEST(HasChildProcesses, ShellWithoutChildrenHasNone) {
    FakeShell shell([](int fd) {
        report(fd, 0);
        idle();
    });
    ASSERT_EQ(shell.next_report(), 0);
    EXPECT_FALSE(has_child_processes(shell.pid()));
    // The shell's own entry names the test as its parent.
    EXPECT_TRUE(has_child_processes(static_cast<std::uint32_t>(::getpid())));
}

TEST(HasChildProcesses, ForegroundAndBackgroundProgramsCount) {
    for (bool wait_for_it : {true, false}) {
        SCOPED_TRACE(wait_for_it ? "foreground" : "background");
        FakeShell shell([wait_for_it](int fd) {
            pid_t child = fork_process(fd, [](int) { spawn_sleep(); });
            report(fd, child);
            if (wait_for_it) {
                ::waitpid(child, nullptr, 0);
                ::_exit(0);
            }
            idle();
        });
        pid_t child = shell.next_reported_process();
        ASSERT_GT(child, 0);
        EXPECT_TRUE(has_child_processes(shell.pid()));
    }
}

TEST(HasChildProcesses, StoppedJobCounts) {
    FakeShell shell([](int fd) {
        pid_t child = fork_process(fd, [](int) { idle(); });
        ::kill(child, SIGSTOP);
        ::waitpid(child, nullptr, WUNTRACED);
        report(fd, child);
        idle();
    });
    pid_t child = shell.next_reported_process();
    ASSERT_GT(child, 0);
    ASSERT_GE(stat_fields(child).size(), 1u);
    EXPECT_EQ(stat_fields(child)[0], "T");
    EXPECT_TRUE(has_child_processes(shell.pid()));
}

TEST(HasChildProcesses, UnreapedExitedChildCounts) {
    FakeShell shell([](int fd) {
        pid_t child = fork_process(fd, [](int) { ::_exit(0); });
        // Wait for the exit but leave the child unreaped.
        siginfo_t info{};
        ::waitid(P_PID, static_cast<id_t>(child), &info, WEXITED | WNOWAIT);
        report(fd, child);
        idle();
    });
    pid_t child = shell.next_reported_process();
    ASSERT_GT(child, 0);
    ASSERT_GE(stat_fields(child).size(), 1u);
    EXPECT_EQ(stat_fields(child)[0], "Z");
    EXPECT_TRUE(has_child_processes(shell.pid()));
}

TEST(HasChildProcesses, GrandchildAloneDoesNotCount) {
    FakeShell shell([](int fd) {
        pid_t child = fork_process(fd, [](int fd_in_child) {
            // The grandchild outlives its parent, so it cannot die with it; it ends by itself
            // if the test is gone.
            pid_t grandchild = ::fork();
            if (grandchild == 0) {
                ::alarm(120);
                idle();
            }
            report(fd_in_child, grandchild);
            ::_exit(0);
        });
        ::waitpid(child, nullptr, 0);
        report(fd, 0);
        idle();
    });
    pid_t grandchild = shell.next_reported_process();
    ASSERT_GT(grandchild, 0);
    ASSERT_EQ(shell.next_report(), 0);
    ASSERT_GE(stat_fields(grandchild).size(), 2u);
    EXPECT_NE(stat_fields(grandchild)[1], std::to_string(shell.pid()));
    EXPECT_FALSE(has_child_processes(shell.pid()));
}

TEST(HasChildProcesses, NameWithParenthesisAndBlanksIsSkippedOver) {
    // A child whose name looks like the end of the name followed by other fields.
    FakeShell shell([](int fd) {
        fork_process(fd, [](int fd_in_child) {
            ::prctl(PR_SET_NAME, "a) S 1 2 3");
            report(fd_in_child, ::getpid());
            idle();
        });
        idle();
    });
    pid_t child = shell.next_reported_process();
    ASSERT_GT(child, 0);
    EXPECT_EQ(read_file("/proc/" + std::to_string(child) + "/comm"), "a) S 1 2 3\n");
    EXPECT_TRUE(has_child_processes(shell.pid()));

    // And a stranger whose name spells out an idle shell's id as a parent id.
    FakeShell idle_shell([](int fd) {
        report(fd, 0);
        idle();
    });
    ASSERT_EQ(idle_shell.next_report(), 0);
    const std::string name = "x) S " + std::to_string(idle_shell.pid()) + " 9";
    FakeShell stranger([&name](int fd) {
        ::prctl(PR_SET_NAME, name.c_str());
        report(fd, 0);
        idle();
    });
    ASSERT_EQ(stranger.next_report(), 0);
    EXPECT_FALSE(has_child_processes(idle_shell.pid()));
}

TEST(HasChildProcesses, ChildWithNonUtf8NameCounts) {
    // Program names are bytes; a child named in Latin-1 is still a running program.
    FakeShell shell([](int fd) {
        fork_process(fd, [](int fd_in_child) {
            ::prctl(PR_SET_NAME, "caf\xe9");
            report(fd_in_child, ::getpid());
            idle();
        });
        idle();
    });
    pid_t child = shell.next_reported_process();
    ASSERT_GT(child, 0);
    EXPECT_TRUE(has_child_processes(shell.pid()));
}

// --- Crafted process tables. ---

class FakeProc : public ::testing::Test {
protected:
    void add(const std::string& entry, const std::string& stat) {
        make_dirs(root / entry);
        write_file(root / entry + "/stat", stat);
    }
    bool has(std::uint32_t pid) const { return has_child_processes(pid, root.path()); }

    TempDir root;
};

TEST_F(FakeProc, ParentIdIsComparedAsAWholeField) {
    add("100", "100 (a) S 17 100 100 0 -1 4194304\n");
    add("101", "101 (b) R 70 101 101 0 -1 4194304\n");
    add("102", "102 (c) S 1 7 7 0 -1 4194304\n");
    add("103", "103 (d) S 07 103 103 0 -1 4194304\n");
    EXPECT_FALSE(has(7));
    EXPECT_TRUE(has(17));
    EXPECT_TRUE(has(70));
    EXPECT_TRUE(has(1));
    EXPECT_FALSE(has(0));

    add("104", "104 (e) S 7 104 104 0 -1 4194304\n");
    EXPECT_TRUE(has(7));
}

TEST_F(FakeProc, OnlyReadableNumericEntriesWithAParenthesisCount) {
    add("self", "1 (shell) S 7 1 1\n");
    add("12a", "1 (shell) S 7 1 1\n");
    add("-5", "1 (shell) S 7 1 1\n");
    add("200", "200 S 7 200 200\n"); // no closing parenthesis
    add("201", "201 (short) S\n");   // no parent field
    add("202", "202 (p) (q) S 8 202 202\n");
    make_dirs(root / "203"); // a process that has gone
    write_file(root / "204", "204 (file) S 7\n");
    make_dirs(root / "205");
    ASSERT_EQ(::mkfifo((root / "205/stat").c_str(), 0600), 0); // must not block the scan
    EXPECT_FALSE(has(7));
    EXPECT_TRUE(has(8));
}

TEST_F(FakeProc, FieldsAreSplitAtUnicodeWhiteSpace) {
    add("300", "300 (tab)\tS\t31\n");
    add("301", "301 (lines)\n\x0bS\r\n32\x0c");
    add("302", "302 (em)\u2003S\u200333\u3000");
    add("303", "303 (nbsp)\u00a0S\u00a034");
    add("304", "304 (\xff\xfe) S 35 304\n");
    for (std::uint32_t pid : {31u, 32u, 33u, 34u, 35u}) {
        EXPECT_TRUE(has(pid)) << pid;
    }
    EXPECT_FALSE(has(3));
}

TEST_F(FakeProc, UnusableRootGivesFalse) {
    add("400", "400 (a) S 9 400\n");
    ASSERT_TRUE(has(9));
    EXPECT_FALSE(has_child_processes(9, root / "missing"));
    EXPECT_FALSE(has_child_processes(9, root / "400/stat"));
    EXPECT_FALSE(has_child_processes(9, ""));
    make_symlink(root.path(), root / "link");
    EXPECT_TRUE(has_child_processes(9, root / "link"));
    EXPECT_FALSE(has_child_processes(9, root / "dangling"));
}

} // namespace
} // namespace ombrix::terminal
