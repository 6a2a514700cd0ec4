#pragma once

#include <glib.h>
#include <map>
#include <string>
#include <vector>

// Runs the real ombrix binary as a separate process for end-to-end tests.
namespace ombrix::test {

class LaunchedApp {
public:
    // Starts the binary with the test's environment plus the given overrides; standard output
    // and error go to files in output_dir.
    LaunchedApp(const std::vector<std::string>& args,
                const std::map<std::string, std::string>& env_overrides,
                const std::string& output_dir, const std::string& name);
    LaunchedApp(const LaunchedApp&) = delete;
    LaunchedApp& operator=(const LaunchedApp&) = delete;
    // Ends the process if it still runs.
    ~LaunchedApp();

    GPid pid() const { return pid_; }
    // Waits for the process to end; its exit status, or -1 on timeout.
    int wait(int timeout_ms);
    bool running();
    std::string standard_error() const;
    std::string standard_output() const;

private:
    GPid pid_ = 0;
    bool reaped_ = false;
    int status_ = -1;
    std::string stdout_path_, stderr_path_;
};

// X11 windows of a process that are mapped and titled "Zelvane Terminal…".
std::vector<unsigned long> visible_windows_of(GPid pid);
// Output of a shell command (trimmed of the final newline).
std::string run_command(const std::string& command);

} // namespace ombrix::test
