#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The per-target level filter of the log facility, in its environment syntax:
// comma-separated directives "target=level" (a bare "level" applies to every target).
namespace ombrix::app {

enum class LogLevel { trace = 0, debug, info, warn, error, critical, off };

inline constexpr std::string_view log_filter_variable = "SPDLOG_LEVEL";
inline constexpr std::string_view default_log_directive = "ombrix=info";

struct LogDirective {
    std::optional<std::string> target; // none: every target
    LogLevel level = LogLevel::info;
};

class LogFilter {
public:
    // None if any directive fails to parse. The empty text is a filter with no directives,
    // which lets nothing through.
    static std::optional<LogFilter> parse(std::string_view text);
    // The filter from the variable's value (absent, non-UTF-8 or unparsable → the default).
    static LogFilter from_environment_value(const char* value);

    // Whether a record of this target and level passes.
    bool enabled(std::string_view target, LogLevel level) const;
    // The lowest level that passes for the target, or off.
    LogLevel threshold(std::string_view target) const;

private:
    std::vector<LogDirective> directives_;
};

} // namespace ombrix::app
