#include "app/log_filter.hpp"

#include "util/unicode.hpp"

#include <array>
#include <utility>

namespace ombrix::app {
namespace {

std::optional<LogLevel> parse_level(std::string_view text) {
    static constexpr std::array<std::pair<std::string_view, LogLevel>, 8> names{{
        {"trace", LogLevel::trace},
        {"debug", LogLevel::debug},
        {"info", LogLevel::info},
        {"warn", LogLevel::warn},
        {"warning", LogLevel::warn},
        {"error", LogLevel::error},
        {"critical", LogLevel::critical},
        {"off", LogLevel::off},
    }};
    for (const auto& [name, level] : names) {
        if (util::equals_ignore_ascii_case(text, name)) {
            return level;
        }
    }
    return std::nullopt;
}

bool target_matches(std::string_view directive, std::string_view target) {
    return target == directive ||
           (target.starts_with(directive) && target.substr(directive.size()).starts_with("::"));
}

} // namespace

std::optional<LogFilter> LogFilter::parse(std::string_view text) {
    LogFilter filter;
    while (!text.empty()) {
        std::size_t comma = text.find(',');
        std::string_view piece = util::trim_white_space(text.substr(0, comma));
        text = comma == std::string_view::npos ? std::string_view{} : text.substr(comma + 1);
        if (piece.empty()) {
            continue;
        }
        LogDirective directive;
        std::size_t equals = piece.find('=');
        std::string_view level_text = piece;
        if (equals != std::string_view::npos) {
            std::string_view target = util::trim_white_space(piece.substr(0, equals));
            level_text = util::trim_white_space(piece.substr(equals + 1));
            if (target.empty()) {
                return std::nullopt;
            }
            directive.target = std::string(target);
        }
        auto level = parse_level(level_text);
        if (!level) {
            return std::nullopt;
        }
        directive.level = *level;
        filter.directives_.push_back(std::move(directive));
    }
    return filter;
}

LogFilter LogFilter::from_environment_value(const char* value) {
    if (value != nullptr && util::is_valid_utf8(value)) {
        if (auto filter = parse(value)) {
            return *filter;
        }
    }
    return *parse(default_log_directive);
}

LogLevel LogFilter::threshold(std::string_view target) const {
    // The most specific matching directive decides; later ones win among equals.
    const LogDirective* best = nullptr;
    std::size_t best_length = 0;
    for (const auto& directive : directives_) {
        std::size_t length = 0;
        if (directive.target) {
            if (!target_matches(*directive.target, target)) {
                continue;
            }
            length = directive.target->size() + 1;
        }
        if (best == nullptr || length >= best_length) {
            best = &directive;
            best_length = length;
        }
    }
    return best ? best->level : LogLevel::off;
}

bool LogFilter::enabled(std::string_view target, LogLevel level) const {
    LogLevel limit = threshold(target);
    return limit != LogLevel::off && level >= limit && level != LogLevel::off;
}

} // namespace ombrix::app
