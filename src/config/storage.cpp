#include "config/storage.hpp"

#include "config/paths.hpp"
#include "util/file_io.hpp"

#include <cerrno>
#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace ombrix::config {
namespace {

// Symbolic links followed while looking for the real file, as the kernel's own limit.
constexpr int max_link_hops = 40;

void warn(const std::string& line) {
    std::string text = line + "\n";
    std::fputs(text.c_str(), stderr);
    std::fflush(stderr);
}

// Creates directory and every missing parent (mode 0777 before the umask). Returns 0 or the
// errno of the step that failed.
int create_directories(const std::string& directory) {
    if (::mkdir(directory.c_str(), 0777) == 0) {
        return 0;
    }
    int error = errno;
    if (error == ENOENT) {
        std::string::size_type slash = directory.find_last_not_of('/');
        slash = slash == std::string::npos ? slash : directory.rfind('/', slash);
        if (slash != std::string::npos && slash > 0) {
            if (int parent_error = create_directories(directory.substr(0, slash))) {
                return parent_error;
            }
            if (::mkdir(directory.c_str(), 0777) == 0) {
                return 0;
            }
            error = errno;
        }
    }
    // Another process may have made it meanwhile; anything else in its place is an error.
    struct stat info {};
    if (::stat(directory.c_str(), &info) == 0) {
        return S_ISDIR(info.st_mode) ? 0 : ENOTDIR;
    }
    return error;
}

std::expected<std::string, int> read_link(const std::string& path) {
    std::vector<char> buffer(256);
    for (;;) {
        ssize_t length = ::readlink(path.c_str(), buffer.data(), buffer.size());
        if (length < 0) {
            return std::unexpected(errno);
        }
        if (static_cast<std::size_t>(length) < buffer.size()) {
            return std::string(buffer.data(), static_cast<std::size_t>(length));
        }
        buffer.resize(buffer.size() * 2);
    }
}

// The file a save has to replace. A config.toml that is a symbolic link (as dotfile managers
// make it) is followed to its final target, so that the rename replaces the target and the
// link stays. A link whose target does not exist yields that target: the save creates it.
std::expected<std::string, int> replacement_target(std::string path) {
    for (int hop = 0; hop < max_link_hops; ++hop) {
        struct stat info {};
        if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
            // Missing or not a link: this is the file. Other failures surface when writing.
            return path;
        }
        auto target = read_link(path);
        if (!target) {
            return std::unexpected(target.error());
        }
        if (target->starts_with('/')) {
            path = std::move(*target);
        } else {
            std::string::size_type slash = path.rfind('/');
            std::string parent = slash == std::string::npos ? std::string(".")
                                 : slash == 0               ? std::string("/")
                                                            : path.substr(0, slash);
            path = join_path(parent, *target);
        }
    }
    return std::unexpected(ELOOP);
}

} // namespace

Config load_config(const std::string& directory) {
    const std::string path = join_path(directory, "config.toml");

    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        Config defaults = Config::defaults();
        (void)save_config(defaults, directory);
        return defaults;
    }

    // read_text_file refuses FIFOs, devices and oversized files, so start-up cannot hang or
    // exhaust memory on a strange config.toml.
    auto text = util::read_text_file(path);
    if (!text) {
        warn("Warning: Failed to read " + path + ": " + text.error() +
             ". Using default configuration.");
        return Config::defaults();
    }

    auto config = Config::from_toml(*text);
    if (!config) {
        warn("Warning: Failed to parse " + path + ": " + config.error() +
             ". Using default configuration.");
        return Config::defaults();
    }
    config->normalize();
    return std::move(*config);
}

Config load_config() {
    return load_config(config_dir());
}

std::expected<void, std::string> save_config(const Config& config, const std::string& directory,
                                             bool flush_to_disk) {
    if (int error = create_directories(directory)) {
        return std::unexpected("Failed to create config directory " + directory + ": " +
                               util::describe_errno(error));
    }

    auto text = config.to_toml();
    if (!text) {
        return std::unexpected("Failed to serialize config: " + text.error());
    }

    auto target = replacement_target(join_path(directory, "config.toml"));
    if (!target) {
        return std::unexpected("Failed to write temporary config: " +
                               util::describe_errno(target.error()));
    }
    const std::string temporary = *target + ".tmp";

    // Flushing before the rename keeps a crash from leaving a renamed but empty file.
    if (auto written = util::write_whole_file(temporary, *text, 0666, flush_to_disk); !written) {
        return std::unexpected("Failed to write temporary config: " + written.error());
    }

    if (::rename(temporary.c_str(), target->c_str()) != 0) {
        return std::unexpected("Failed to atomically replace config file: " +
                               util::describe_errno(errno));
    }
    return {};
}

std::expected<void, std::string> save_config(const Config& config) {
    return save_config(config, config_dir());
}

} // namespace ombrix::config
