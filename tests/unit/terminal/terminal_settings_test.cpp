#include "terminal/terminal_settings.hpp"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace ombrix::terminal {
namespace {

TEST(CursorMapping, ExactNamesOnlyElseDefaults) {
    struct ShapeCase {
        const char* text;
        CursorShape shape;
    };
    for (const ShapeCase& c :
         std::initializer_list<ShapeCase>{{"block", CursorShape::block},
                                          {"ibeam", CursorShape::ibeam},
                                          {"underline", CursorShape::underline},
                                          {"IBeam", CursorShape::block},
                                          {"Underline", CursorShape::block},
                                          {" ibeam", CursorShape::block},
                                          {"", CursorShape::block},
                                          {"bar", CursorShape::block}}) {
        EXPECT_EQ(map_cursor_shape(c.text), c.shape) << c.text;
    }
    struct BlinkCase {
        const char* text;
        CursorBlink blink;
    };
    for (const BlinkCase& c : std::initializer_list<BlinkCase>{{"system", CursorBlink::system},
                                                               {"on", CursorBlink::on},
                                                               {"off", CursorBlink::off},
                                                               {"On", CursorBlink::system},
                                                               {"OFF", CursorBlink::system},
                                                               {"true", CursorBlink::system},
                                                               {"", CursorBlink::system}}) {
        EXPECT_EQ(map_cursor_blink(c.text), c.blink) << c.text;
    }
    // The values are handed to VTE as they are.
    EXPECT_EQ(static_cast<int>(CursorShape::underline), 2);
    EXPECT_EQ(static_cast<int>(CursorBlink::off), 2);
}

TEST(FontSize, PointsTimes1024TruncatedAndSaturated) {
    constexpr auto max = std::numeric_limits<std::int32_t>::max();
    constexpr auto min = std::numeric_limits<std::int32_t>::min();
    struct Case {
        double points;
        std::int32_t units;
    };
    for (const Case& c :
         std::initializer_list<Case>{{12.0, 12288},
                                     {10.5, 10752},
                                     {0.0, 0},
                                     {1.0009, 1024},   // 1024.92 truncated
                                     {-1.0009, -1024}, // toward zero, not down
                                     {0.0005, 0},
                                     {2097151.0, 2147482624},
                                     {2097152.0, max}, // exactly 2^31
                                     {-2097152.0, min},
                                     {-2097153.0, min},
                                     {1e300, max},
                                     {std::numeric_limits<double>::infinity(), max},
                                     {-std::numeric_limits<double>::infinity(), min},
                                     {std::numeric_limits<double>::quiet_NaN(), 0}}) {
        EXPECT_EQ(font_size_to_pango_units(c.points), c.units) << c.points;
    }
}

TEST(SaturatingInt32, TruncatesTowardZeroWithinRange) {
    EXPECT_EQ(saturating_int32(41.99), 41);
    EXPECT_EQ(saturating_int32(-41.99), -41);
    EXPECT_EQ(saturating_int32(2147483646.5), 2147483646);
    EXPECT_EQ(saturating_int32(2147483648.0), std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(saturating_int32(-2147483649.0), std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(saturating_int32(std::nan("")), 0);
}

TEST(Zoom, StepsAccumulateInDoublesAndClampExactly) {
    double factor = zoom_reset_factor;
    EXPECT_EQ(factor, 1.0);
    factor = zoom_in_step(factor);
    EXPECT_EQ(factor, 1.1);
    factor = zoom_in_step(factor);
    EXPECT_EQ(factor, 1.2000000000000002);
    for (int step = 3; step <= 19; ++step) {
        factor = zoom_in_step(factor);
    }
    EXPECT_EQ(factor, 2.9000000000000017);
    factor = zoom_in_step(factor);
    EXPECT_EQ(factor, 3.0);
    EXPECT_EQ(zoom_in_step(factor), 3.0);

    factor = 1.0;
    for (int step = 1; step <= 6; ++step) {
        factor = zoom_out_step(factor);
    }
    EXPECT_EQ(factor, 0.40000000000000013);
    factor = zoom_out_step(factor);
    EXPECT_EQ(factor, 0.4);
    EXPECT_EQ(zoom_out_step(factor), 0.4);

    EXPECT_EQ(zoom_out_step(3.0), 2.9);
    EXPECT_EQ(zoom_in_step(0.4), 0.5);
}

TEST(DirectoryFromUri, DecodesLocalPathsOfFileUris) {
    struct Case {
        const char* uri;
        std::optional<std::string> path;
    };
    for (const Case& c : std::initializer_list<Case>{
             {"file:///tmp", "/tmp"},
             {"file:///", "/"},
             // Shells put the machine's name between "file://" and the path.
             {"file://myhost/home/u/projects", "/home/u/projects"},
             {"file://localhost/tmp/", "/tmp/"},
             {"file:///home/u/My%20Dir", "/home/u/My Dir"},
             {"file://my-host.example/srv/%E2%9C%93%25", "/srv/\u2713%"},
             // Paths are bytes: an escape that is not UTF-8 still names a directory.
             {"file:///data/caf%E9", "/data/caf\xe9"},
             {"sftp://host/home/u", std::nullopt},
             {"https://example.com/", std::nullopt},
             {"/tmp", std::nullopt},
             {"", std::nullopt},
             {"file://", std::nullopt},
             {"file://host", std::nullopt},
             // An escaped slash or NUL would change what the path means.
             {"file:///a%2Fb", std::nullopt},
             {"file:///a%00b", std::nullopt}}) {
        EXPECT_EQ(directory_from_uri(c.uri), c.path) << c.uri;
    }
    EXPECT_EQ(directory_from_uri(std::string_view("file:///tmp\0/x", 14)), std::nullopt);
}

} // namespace
} // namespace ombrix::terminal
