#include "app/log_filter.hpp"

#include <gtest/gtest.h>

namespace ombrix::app {
namespace {

struct FilterCase {
    const char* variable; // nullptr: unset
    const char* target;
    LogLevel level;
    bool passes;
};

class LogFilterTest : public testing::TestWithParam<FilterCase> {};

TEST_P(LogFilterTest, DecidesByTargetAndLevel) {
    const auto& c = GetParam();
    LogFilter filter = LogFilter::from_environment_value(c.variable);
    EXPECT_EQ(filter.enabled(c.target, c.level), c.passes)
        << "variable=" << (c.variable ? c.variable : "<unset>") << " target=" << c.target;
}

INSTANTIATE_TEST_SUITE_P(Cases, LogFilterTest,
                         testing::Values(
                             // Unset: the default directive ombrix=info.
                             FilterCase{nullptr, "ombrix", LogLevel::info, true},
                             FilterCase{nullptr, "ombrix", LogLevel::error, true},
                             FilterCase{nullptr, "ombrix", LogLevel::debug, false},
                             FilterCase{nullptr, "gtk", LogLevel::error, false},
                             FilterCase{nullptr, "ombrix::config", LogLevel::info, true},
                             FilterCase{nullptr, "ombrixfoo", LogLevel::info, false},
                             // Unparsable directives behave exactly like an unset variable.
                             FilterCase{"ombrix=loud", "ombrix", LogLevel::info, true},
                             FilterCase{"ombrix=loud", "ombrix", LogLevel::debug, false},
                             FilterCase{"=debug", "gtk", LogLevel::error, false},
                             FilterCase{"gtk=trace,ombrix=verbose", "gtk", LogLevel::trace, false},
                             // Not valid UTF-8: the default.
                             FilterCase{"ombrix=debug\xff", "ombrix", LogLevel::debug, false},
                             FilterCase{"ombrix=debug\xff", "ombrix", LogLevel::info, true},
                             // Empty: no directives, nothing passes.
                             FilterCase{"", "ombrix", LogLevel::critical, false},
                             FilterCase{"", "gtk", LogLevel::critical, false},
                             // A filter from the environment can admit other targets.
                             FilterCase{"gtk=warn", "gtk", LogLevel::warn, true},
                             FilterCase{"gtk=warn", "gtk", LogLevel::info, false},
                             FilterCase{"gtk=warn", "ombrix", LogLevel::error, false},
                             FilterCase{"debug", "anything", LogLevel::debug, true},
                             FilterCase{"debug,ombrix=off", "ombrix", LogLevel::critical, false},
                             FilterCase{"debug,ombrix=off", "vte", LogLevel::debug, true},
                             FilterCase{" ombrix = DEBUG ,", "ombrix", LogLevel::debug, true}));

TEST(LogFilterParse, RejectsOnlyMalformedText) {
    EXPECT_TRUE(LogFilter::parse("").has_value());
    EXPECT_TRUE(LogFilter::parse("a=info,b=off").has_value());
    EXPECT_FALSE(LogFilter::parse("a=").has_value());
    EXPECT_FALSE(LogFilter::parse("a=info=debug").has_value());
    EXPECT_FALSE(LogFilter::parse("nonsense").has_value());
}

} // namespace
} // namespace ombrix::app
