#include "terminal/process.hpp"

#include "util/unicode.hpp"

#include <cerrno>
#include <charconv>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <optional>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace ombrix::terminal {
namespace {

struct DirCloser {
    void operator()(DIR* dir) const { ::closedir(dir); }
};

// The whole stat file as bytes. The command name in it is whatever the process chose and need
// not be UTF-8; the fields after it are ASCII. Only regular files are read, so nothing under
// the listed directory can make the scan wait.
std::optional<std::string> read_stat_file(const std::string& path) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) {
        return std::nullopt;
    }
    std::optional<std::string> text;
    struct stat info {};
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) {
        // A stat line is a few hundred bytes; the cap only guards against odd files.
        constexpr std::size_t limit = 64 * 1024;
        std::string content;
        char buffer[4096];
        for (;;) {
            ssize_t n = ::read(fd, buffer, sizeof buffer);
            if (n < 0 && errno == EINTR) {
                continue;
            }
            if (n < 0 || content.size() + static_cast<std::size_t>(n) > limit) {
                break;
            }
            if (n == 0) {
                text = std::move(content);
                break;
            }
            content.append(buffer, static_cast<std::size_t>(n));
        }
    }
    ::close(fd);
    return text;
}

bool all_digits(std::string_view name) {
    for (char c : name) {
        if (c < '0' || c > '9') {
            return false;
        }
    }
    return true;
}

// The parent-id field of a stat text equals parent_text. The command name in parentheses
// may hold blanks and parentheses itself, so only the last ')' ends it.
bool parent_field_is(std::string_view stat_text, std::string_view parent_text) {
    std::size_t close = stat_text.rfind(')');
    if (close == std::string_view::npos) {
        return false;
    }
    auto fields = util::split_white_space(stat_text.substr(close + 1));
    return fields.size() >= 2 && fields[1] == parent_text;
}

} // namespace

bool has_child_processes(std::uint32_t shell_pid, const std::string& proc_root) {
    struct stat info {};
    if (::stat(proc_root.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
        return false;
    }
    char buffer[16];
    auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, shell_pid);
    if (error != std::errc()) {
        return false;
    }
    const std::string_view pid_text(buffer, static_cast<std::size_t>(end - buffer));

    std::unique_ptr<DIR, DirCloser> dir(::opendir(proc_root.c_str()));
    if (!dir) {
        return false;
    }
    // A read error ends the listing like its end does: nothing further can be found.
    while (const dirent* entry = ::readdir(dir.get())) {
        std::string_view name(entry->d_name);
        if (name.empty() || !util::is_valid_utf8(name) || !all_digits(name)) {
            continue;
        }
        // A process that has gone since the listing simply fails to read.
        auto text = read_stat_file(proc_root + "/" + std::string(name) + "/stat");
        if (text && parent_field_is(*text, pid_text)) {
            return true;
        }
    }
    return false;
}

} // namespace ombrix::terminal
