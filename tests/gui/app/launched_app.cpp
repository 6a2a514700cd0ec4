#include "launched_app.hpp"

#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <fstream>
#include <signal.h>
#include <sstream>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace ombrix::test {
namespace {

std::string slurp(const std::string& path) {
    std::ifstream in(path);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

} // namespace

LaunchedApp::LaunchedApp(const std::vector<std::string>& args,
                         const std::map<std::string, std::string>& env_overrides,
                         const std::string& output_dir, const std::string& name)
    : stdout_path_(output_dir + "/" + name + ".stdout"),
      stderr_path_(output_dir + "/" + name + ".stderr") {
    std::vector<std::string> argv_storage{OMBRIX_BINARY};
    argv_storage.insert(argv_storage.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (auto& a : argv_storage) {
        argv.push_back(a.data());
    }
    argv.push_back(nullptr);

    char** env = g_get_environ();
    for (const auto& [key, value] : env_overrides) {
        env = g_environ_setenv(env, key.c_str(), value.c_str(), TRUE);
    }
    int out_fd = ::open(stdout_path_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    int err_fd = ::open(stderr_path_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    pid_ = ::fork();
    if (pid_ == 0) {
        ::dup2(out_fd, 1);
        ::dup2(err_fd, 2);
        ::execve(argv[0], argv.data(), env);
        ::_exit(127);
    }
    ::close(out_fd);
    ::close(err_fd);
    g_strfreev(env);
}

LaunchedApp::~LaunchedApp() {
    if (pid_ > 0 && !reaped_) {
        ::kill(pid_, SIGTERM);
        if (wait(5000) == -1) {
            ::kill(pid_, SIGKILL);
            wait(5000);
        }
    }
}

int LaunchedApp::wait(int timeout_ms) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
    while (!reaped_) {
        int status = 0;
        pid_t result = ::waitpid(pid_, &status, WNOHANG);
        if (result == pid_) {
            reaped_ = true;
            status_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            break;
        }
        if (std::chrono::steady_clock::now() > deadline) {
            return -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return status_;
}

bool LaunchedApp::running() {
    return !reaped_ && wait(0) == -1;
}

std::string LaunchedApp::standard_error() const {
    return slurp(stderr_path_);
}
std::string LaunchedApp::standard_output() const {
    return slurp(stdout_path_);
}

std::string run_command(const std::string& command) {
    std::string output;
    if (FILE* pipe = ::popen(command.c_str(), "r")) {
        char buffer[512];
        while (std::fgets(buffer, sizeof buffer, pipe)) {
            output += buffer;
        }
        ::pclose(pipe);
    }
    while (!output.empty() && output.back() == '\n') {
        output.pop_back();
    }
    return output;
}

std::vector<unsigned long> visible_windows_of(GPid pid) {
    std::string ids = run_command("xdotool search --all --onlyvisible --pid " +
                                  std::to_string(pid) + " --name '^Zelvane Terminal' 2>/dev/null");
    std::vector<unsigned long> windows;
    std::istringstream in(ids);
    unsigned long id = 0;
    while (in >> id) {
        windows.push_back(id);
    }
    return windows;
}

} // namespace ombrix::test
