#include "app/logging.hpp"

#include <cstdlib>
#include <spdlog/sinks/stdout_sinks.h>
#include <spdlog/spdlog.h>
#include <string>

namespace ombrix::app {

void install_logging() {
    LogFilter filter =
        LogFilter::from_environment_value(std::getenv(std::string(log_filter_variable).c_str()));
    auto logger = spdlog::stdout_logger_st("ombrix");
    logger->set_level(static_cast<spdlog::level::level_enum>(filter.threshold("ombrix")));
    spdlog::set_default_logger(std::move(logger));
}

} // namespace ombrix::app
