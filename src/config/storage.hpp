#pragma once

#include "config/config.hpp"

#include <expected>
#include <string>

// Reading config.toml at start-up and writing it back atomically.
namespace ombrix::config {

// The configuration of this start-up. A missing file yields the defaults, which are saved at
// once; an unreadable or unparsable file yields a "Warning: ..." line on standard error and
// the defaults, leaving the file untouched. Never fails.
Config load_config();

// Writes the whole record to config.toml through config.toml.tmp and an atomic rename.
// Returns one of the fixed error texts on failure; callers ignore it.
std::expected<void, std::string> save_config(const Config& config);

// The same against an explicit configuration directory instead of config_dir().
Config load_config(const std::string& directory);

// flush_to_disk makes the new content durable before the rename, so a crash right after a
// save cannot leave an empty config.toml behind. The other saves always flush; turning it
// off is for measuring what the flush costs.
std::expected<void, std::string> save_config(const Config& config, const std::string& directory,
                                             bool flush_to_disk = true);

} // namespace ombrix::config
