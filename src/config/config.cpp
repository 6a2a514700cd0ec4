#include "config/config.hpp"

namespace ombrix::config {
std::expected<Config, std::string> Config::from_toml(std::string_view) { return Config{}; }
void Config::normalize() {}
std::expected<std::string, std::string> Config::to_toml() const { return std::string(); }
} // namespace ombrix::config
