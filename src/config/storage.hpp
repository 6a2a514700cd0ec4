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

} // namespace ombrix::config
