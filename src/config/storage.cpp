#include "config/storage.hpp"
namespace ombrix::config {
Config load_config() { return Config{}; }
std::expected<void, std::string> save_config(const Config&) { return {}; }
} // namespace ombrix::config
