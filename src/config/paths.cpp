#include "config/paths.hpp"
namespace ombrix::config {
std::optional<std::string> home_dir() { return std::nullopt; }
std::string config_dir() { return "~/.config/ombrix"; }
std::optional<std::string> data_dir() { return std::nullopt; }
std::string config_file_path() { return config_dir() + "/config.toml"; }
std::string themes_dir() { return config_dir() + "/themes"; }
} // namespace ombrix::config
