#include "util/file_io.hpp"

#include "util/unicode.hpp"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ombrix::util {
namespace {

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    ~FileDescriptor() { close(); }
    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    // Closes now and reports the close's own error, which can carry a delayed write failure.
    int close() {
        int result = 0;
        if (fd_ >= 0) {
            result = ::close(fd_);
            fd_ = -1;
        }
        return result;
    }

private:
    int fd_;
};

} // namespace

std::string describe_errno(int error) {
    return std::strerror(error);
}

std::expected<std::string, std::string> read_text_file(const std::string& path,
                                                       std::size_t max_size) {
    // O_NONBLOCK keeps open() of a FIFO from waiting for a writer.
    FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
    if (!fd.valid()) {
        return std::unexpected(describe_errno(errno));
    }
    struct stat info {};
    if (::fstat(fd.get(), &info) != 0) {
        return std::unexpected(describe_errno(errno));
    }
    if (S_ISDIR(info.st_mode)) {
        return std::unexpected(describe_errno(EISDIR));
    }
    if (!S_ISREG(info.st_mode)) {
        return std::unexpected(std::string("not a regular file"));
    }
    if (static_cast<std::size_t>(info.st_size) > max_size) {
        return std::unexpected(std::string("file too large"));
    }
    std::string text;
    char buffer[16384];
    for (;;) {
        ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return std::unexpected(describe_errno(errno));
        }
        if (n == 0) {
            break;
        }
        text.append(buffer, static_cast<std::size_t>(n));
        // The size can grow after fstat(); the cap still holds.
        if (text.size() > max_size) {
            return std::unexpected(std::string("file too large"));
        }
    }
    if (!is_valid_utf8(text)) {
        return std::unexpected(std::string("stream did not contain valid UTF-8"));
    }
    return text;
}

std::expected<void, std::string> write_whole_file(const std::string& path, std::string_view content,
                                                  unsigned mode, bool flush_to_disk) {
    FileDescriptor fd(::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOCTTY,
                             static_cast<mode_t>(mode)));
    if (!fd.valid()) {
        return std::unexpected(describe_errno(errno));
    }
    std::size_t written = 0;
    while (written < content.size()) {
        ssize_t n = ::write(fd.get(), content.data() + written, content.size() - written);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return std::unexpected(describe_errno(errno));
        }
        written += static_cast<std::size_t>(n);
    }
    if (flush_to_disk && ::fdatasync(fd.get()) != 0) {
        return std::unexpected(describe_errno(errno));
    }
    if (fd.close() != 0) {
        return std::unexpected(describe_errno(errno));
    }
    return {};
}

std::expected<void, std::string> replace_file_atomically(const std::string& path,
                                                         std::string_view content, unsigned mode) {
    // A unique temporary name: two writers never share one, and nothing planted under a
    // predictable name can redirect the write.
    std::string temp = path + ".XXXXXX";
    FileDescriptor fd(::mkostemp(temp.data(), O_CLOEXEC));
    if (!fd.valid()) {
        return std::unexpected(describe_errno(errno));
    }
    auto fail = [&](int error) -> std::expected<void, std::string> {
        fd.close();
        ::unlink(temp.c_str());
        return std::unexpected(describe_errno(error));
    };
    std::size_t written = 0;
    while (written < content.size()) {
        ssize_t n = ::write(fd.get(), content.data() + written, content.size() - written);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return fail(errno);
        }
        written += static_cast<std::size_t>(n);
    }
    if (::fchmod(fd.get(), static_cast<mode_t>(mode)) != 0) {
        return fail(errno);
    }
    if (fd.close() != 0) {
        return fail(errno);
    }
    if (::rename(temp.c_str(), path.c_str()) != 0) {
        int error = errno;
        ::unlink(temp.c_str());
        return std::unexpected(describe_errno(error));
    }
    return {};
}

} // namespace ombrix::util
