#include "terminal/banner.hpp"

#include <glib.h>
#include <gtest/gtest.h>
#include <vector>

namespace ombrix::terminal {
namespace {

constexpr char32_t block = 0x2588;

std::vector<std::u32string> art_rows() {
    const std::string art = banner_art();
    EXPECT_TRUE(g_utf8_validate(art.data(), static_cast<gssize>(art.size()), nullptr));
    std::vector<std::u32string> rows;
    std::size_t start = 0;
    for (;;) {
        std::size_t end = art.find("\r\n", start);
        std::string row = art.substr(start, end == std::string::npos ? end : end - start);
        glong count = 0;
        gunichar* chars = g_utf8_to_ucs4_fast(row.c_str(), static_cast<glong>(row.size()), &count);
        rows.emplace_back(chars, chars + count);
        g_free(chars);
        if (end == std::string::npos) {
            break;
        }
        start = end + 2;
    }
    return rows;
}

TEST(BannerArt, FiveEqualRowsOfBlocksAndSpaces) {
    std::vector<std::u32string> rows = art_rows();
    ASSERT_EQ(rows.size(), 5u);
    for (const std::u32string& row : rows) {
        EXPECT_EQ(row.size(), rows[0].size());
        for (char32_t c : row) {
            EXPECT_TRUE(c == block || c == U' ') << "U+" << std::hex << static_cast<unsigned>(c);
        }
        ASSERT_FALSE(row.empty());
        EXPECT_EQ(row[0], U' ');
    }
    const std::string art = banner_art();
    EXPECT_FALSE(art.ends_with("\n"));
    EXPECT_EQ(art.find('\n'), art.find("\r\n") + 1);
}

TEST(BannerArt, SixLettersSeparatedBySingleBlankColumns) {
    std::vector<std::u32string> rows = art_rows();
    ASSERT_EQ(rows.size(), 5u);
    const std::size_t width = rows[0].size();
    for (const std::u32string& row : rows) {
        ASSERT_EQ(row.size(), width);
    }
    auto blank_column = [&](std::size_t column) {
        for (const std::u32string& row : rows) {
            if (row[column] != U' ') {
                return false;
            }
        }
        return true;
    };
    // Runs of columns with ink are the letters; the runs of blank columns between them are
    // the separators.
    std::vector<std::size_t> glyph_widths;
    std::vector<std::size_t> gaps;
    std::size_t leading = 0;
    std::size_t column = 0;
    while (column < width && blank_column(column)) {
        ++leading;
        ++column;
    }
    while (column < width) {
        std::size_t begin = column;
        while (column < width && !blank_column(column)) {
            ++column;
        }
        glyph_widths.push_back(column - begin);
        std::size_t gap_begin = column;
        while (column < width && blank_column(column)) {
            ++column;
        }
        if (column < width) {
            gaps.push_back(column - gap_begin);
        }
    }
    EXPECT_EQ(leading, 1u);
    ASSERT_EQ(glyph_widths.size(), 6u);
    for (std::size_t gap : gaps) {
        EXPECT_EQ(gap, 1u);
    }
    for (std::size_t glyph : glyph_widths) {
        EXPECT_GE(glyph, 3u);
        EXPECT_LE(glyph, 7u);
    }
}

TEST(WelcomeBanner, IsTheExactSequenceOfSegments) {
    const std::string esc = "\x1b";
    const std::string teal = esc + "[1;38;2;45;212;191m";
    const std::string grey = esc + "[0;38;2;113;113;122m";
    const std::string expected =
        "\x0d\x0a" + teal + banner_art() + esc + "[0m\x0d\x0a\x0d\x0a" + esc +
        "[0;38;2;161;161;170mWelcome to Ombrix (Zelvane Terminal) v0.1.5" + esc + "[0m\x0d\x0a" +
        grey + "Type " + teal + "specs" + grey + ", " + teal + "themes" + grey + ", or " + teal +
        "clear" + grey + " to interact." + esc + "[0m\x0d\x0a\x0d\x0a";
    EXPECT_EQ(welcome_banner(), expected);
    EXPECT_EQ(banner_version, "0.1.5");
}

TEST(WelcomeBanner, HasNoBareLineFeeds) {
    // The text goes straight to the display: every line feed needs its carriage return.
    const std::string banner = welcome_banner();
    std::size_t line_feeds = 0;
    for (std::size_t i = 0; i < banner.size(); ++i) {
        if (banner[i] == '\n') {
            ++line_feeds;
            ASSERT_GT(i, 0u);
            EXPECT_EQ(banner[i - 1], '\r') << "at byte " << i;
        }
    }
    EXPECT_EQ(line_feeds, 1u + 4u + 2u + 1u + 2u);
}

} // namespace
} // namespace ombrix::terminal
