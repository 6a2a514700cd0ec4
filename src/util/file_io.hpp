#pragma once

#include <cstddef>
#include <expected>
#include <string>
#include <string_view>

// Small, safe file operations shared by the configuration, theme and helper-script code.
namespace ombrix::util {

// Largest file that read_text_file accepts by default. Configuration and theme files are a
// few kilobytes; this only protects start-up from pathological files.
inline constexpr std::size_t max_text_file_size = 1024 * 1024;

// Reads a whole regular file as UTF-8 text. Never blocks on FIFOs or devices: anything that is
// not a regular file, is larger than max_size or is not valid UTF-8 is refused with a
// description. OS failures are described by strerror().
std::expected<std::string, std::string> read_text_file(const std::string& path,
                                                       std::size_t max_size = max_text_file_size);

// Creates (or truncates) path with the given mode before the umask and writes all of
// content, optionally flushing it to stable storage. The file is not removed on failure.
std::expected<void, std::string> write_whole_file(const std::string& path, std::string_view content,
                                                  unsigned mode, bool flush_to_disk);

// Writes content next to path under a temporary name and renames it over path, so readers
// see either the old or the new complete file, and a symbolic link at path is replaced
// rather than followed. The file gets exactly `mode` (the umask does not apply).
std::expected<void, std::string> replace_file_atomically(const std::string& path,
                                                         std::string_view content, unsigned mode);

// strerror() text for an errno value.
std::string describe_errno(int error);

} // namespace ombrix::util
