#include "support/temp_files.hpp"
#include "theme/catalogue.hpp"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <glib.h>
#include <gtest/gtest.h>
#include <iterator>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace ombrix::theme {
namespace {

namespace fs = std::filesystem;

using Pairs = std::vector<std::pair<std::string, std::string>>;

const Pairs builtin_pairs = {
    {"kitty-dark", "Kitty Dark"},
    {"nord", "Nord"},
    {"dracula", "Dracula"},
    {"solarized-dark", "Solarized Dark"},
    {"gruvbox-dark", "Gruvbox Dark"},
    {"catppuccin-mocha", "Catppuccin Mocha"},
    {"tokyo-night", "Tokyo Night"},
    {"one-dark", "One Dark"},
    {"rose-pine", "Ros\u00e9 Pine"},
    {"monokai-pro", "Monokai Pro"},
    {"everforest-dark", "Everforest Dark"},
    {"kanagawa", "Kanagawa"},
};

class ThemesDir : public test_support::TempDir {
public:
    ThemesDir() : test_support::TempDir("ombrix-themes") {}

    // Copies a sample theme from the test data under the given name.
    void add(const std::string& sample, const std::string& as) const {
        std::ifstream in(std::string(OMBRIX_TEST_DATA_DIR) + "/themes/" + sample, std::ios::binary);
        ASSERT_TRUE(in) << sample;
        std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        write(as, text);
    }
    void write(const std::string& name, const std::string& text) const {
        fs::create_directories(fs::path(*this / name).parent_path());
        std::ofstream out(*this / name, std::ios::binary);
        out << text;
        ASSERT_TRUE(out.good()) << name;
    }
};

bool listed(const Pairs& pairs, const std::string& name) {
    for (const auto& pair : pairs) {
        if (pair.first == name) {
            return true;
        }
    }
    return false;
}

TEST(ThemeCatalogue, WithoutThemesDirectoryListsTheTwelveBuiltIns) {
    ThemesDir dir;
    auto catalogue = ThemeCatalogue::load_from(dir / "missing");
    EXPECT_EQ(catalogue.list(), builtin_pairs);

    // A plain file where the directory should be is no directory either.
    dir.write("not-a-dir", "x");
    EXPECT_EQ(ThemeCatalogue::load_from(dir / "not-a-dir").list(), builtin_pairs);
    // Nor is an empty directory anything but the built-ins.
    EXPECT_EQ(ThemeCatalogue::load_from(dir.path()).list(), builtin_pairs);
}

TEST(ThemeCatalogue, UserThemeReplacesBuiltInInPlaceAndNewNamesAreAppended) {
    ThemesDir dir;
    dir.add("my_nord.toml", "nord.toml");
    dir.add("mine.toml", "mine.toml");
    auto catalogue = ThemeCatalogue::load_from(dir.path());

    Pairs expected = builtin_pairs;
    expected[1].second = "My Nord";
    expected.emplace_back("mine", "Mine");
    EXPECT_EQ(catalogue.list(), expected);

    Theme nord = catalogue.get("nord");
    EXPECT_EQ(nord.display_name, "My Nord");
    EXPECT_EQ(nord.background, "#3b4252");
    EXPECT_EQ(nord.cursor, "#88c0d0");
    EXPECT_FALSE(nord.selection_background.has_value());

    Theme mine = catalogue.get("mine");
    EXPECT_FALSE(mine.dark);
    EXPECT_EQ(mine.background, "#fdf6e3");
}

TEST(ThemeCatalogue, TakesOnlyFilesWithTheLowerCaseTomlExtensionInTheDirectoryItself) {
    ThemesDir dir;
    dir.add("upper_extension.toml", "Mine.TOML");
    dir.add("hidden.toml", ".toml");
    dir.add("backup.toml", "mine.toml.bak");
    dir.add("nested.toml", "sub/nested.toml");
    dir.add("mine.toml", ".hidden.toml"); // a dot-file with a real extension is taken
    auto list = ThemeCatalogue::load_from(dir.path()).list();

    EXPECT_FALSE(listed(list, "upper-extension"));
    EXPECT_FALSE(listed(list, "hidden"));
    EXPECT_FALSE(listed(list, "backup"));
    EXPECT_FALSE(listed(list, "nested"));
    ASSERT_EQ(list.size(), 13u);
    EXPECT_EQ(list.back(), (std::pair<std::string, std::string>{"mine", "Mine"}));
}

TEST(ThemeCatalogue, SkipsUnusableFilesSilently) {
    ThemesDir dir;
    dir.add("syntax_error.toml", "syntax.toml");
    dir.add("no_display_name.toml", "no-display-name.toml");
    dir.add("short_palette.toml", "short.toml");
    dir.add("bad_color.toml", "bad.toml");
    dir.write("empty.toml", "");
    dir.write("latin1.toml", "name = \"caf\xe9\"\n");
    fs::create_directory(dir / "directory.toml");
    // Unreadable by design: none of these may block or fill memory.
    ASSERT_EQ(::mkfifo((dir / "fifo.toml").c_str(), 0600), 0);
    fs::create_symlink("/dev/zero", dir / "zero.toml");
    fs::create_symlink(dir / "fifo.toml", dir / "fifo-link.toml");
    fs::create_symlink(dir / "nowhere", dir / "dangling.toml");
    {
        std::ofstream huge(dir / "huge.toml");
        huge << "name = \"huge\"\n";
    }
    fs::resize_file(dir / "huge.toml", std::uintmax_t{512} << 20); // sparse
    dir.add("mine.toml", "mine.toml");

    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    auto list = ThemeCatalogue::load_from(dir.path()).list();
    std::string out = testing::internal::GetCapturedStdout();
    std::string err = testing::internal::GetCapturedStderr();

    Pairs expected = builtin_pairs;
    expected.emplace_back("mine", "Mine");
    EXPECT_EQ(list, expected);
    EXPECT_EQ(out, "");
    EXPECT_EQ(err, "");
}

TEST(ThemeCatalogue, FollowsSymbolicLinksToRegularFilesAndDirectories) {
    ThemesDir real;
    real.add("mine.toml", "target.toml");
    ThemesDir dir;
    fs::create_symlink(real / "target.toml", dir / "linked.toml");
    auto list = ThemeCatalogue::load_from(dir.path()).list();
    EXPECT_TRUE(listed(list, "mine"));

    ThemesDir holder;
    fs::create_directory_symlink(real.path(), holder / "themes");
    EXPECT_TRUE(listed(ThemeCatalogue::load_from(holder / "themes").list(), "mine"));
}

TEST(ThemeCatalogue, SpacedNameIsItsOwnTheme) {
    ThemesDir dir;
    dir.add("spaced_nord.toml", "spaced.toml");
    auto catalogue = ThemeCatalogue::load_from(dir.path());
    auto list = catalogue.list();
    ASSERT_EQ(list.size(), 13u);
    EXPECT_EQ(list[1], (std::pair<std::string, std::string>{"nord", "Nord"}));
    EXPECT_EQ(list[12], (std::pair<std::string, std::string>{" nord ", "Spaced Nord"}));
    EXPECT_EQ(catalogue.get(" nord ").display_name, "Spaced Nord");
    EXPECT_EQ(catalogue.get("nord").display_name, "Nord");
    EXPECT_EQ(catalogue.get("nord ").name, "kitty-dark");
}

TEST(ThemeCatalogue, GetFallsBackToKittyDark) {
    auto catalogue = ThemeCatalogue::load_from("/nonexistent/ombrix/themes");
    for (const char* name : {"Nord", "no-such-theme", "", "kitty-dark ", "KITTY-DARK"}) {
        Theme theme = catalogue.get(name);
        EXPECT_EQ(theme.name, "kitty-dark") << '"' << name << '"';
        EXPECT_EQ(theme.background, "#181825");
    }
    EXPECT_EQ(catalogue.get("dracula").background, "#282a36");
    EXPECT_EQ(catalogue.get("rose-pine").display_name, "Ros\u00e9 Pine");
}

TEST(ThemeCatalogue, LoadThemeFileReportsEachFailureForm) {
    ThemesDir dir;
    dir.add("syntax_error.toml", "syntax.toml");
    dir.add("no_display_name.toml", "missing.toml");
    dir.add("short_palette.toml", "short.toml");
    dir.add("bad_color.toml", "bad.toml");
    dir.write("latin1.toml", "name = \"caf\xe9\"\n");
    ASSERT_EQ(::mkfifo((dir / "fifo.toml").c_str(), 0600), 0);
    auto catalogue = ThemeCatalogue::load_from(dir / "missing");

    auto starts_with = [](const std::string& text, const std::string& prefix) {
        return text.compare(0, prefix.size(), prefix) == 0;
    };

    auto absent = catalogue.load_theme_file(dir / "absent.toml");
    ASSERT_FALSE(absent.has_value());
    EXPECT_EQ(absent.error(),
              "Failed to read theme file " + (dir / "absent.toml") + ": No such file or directory");

    auto latin1 = catalogue.load_theme_file(dir / "latin1.toml");
    ASSERT_FALSE(latin1.has_value());
    EXPECT_TRUE(
        starts_with(latin1.error(), "Failed to read theme file " + (dir / "latin1.toml") + ": "))
        << latin1.error();

    auto fifo = catalogue.load_theme_file(dir / "fifo.toml");
    ASSERT_FALSE(fifo.has_value());
    EXPECT_TRUE(
        starts_with(fifo.error(), "Failed to read theme file " + (dir / "fifo.toml") + ": "))
        << fifo.error();

    auto syntax = catalogue.load_theme_file(dir / "syntax.toml");
    ASSERT_FALSE(syntax.has_value());
    EXPECT_TRUE(
        starts_with(syntax.error(), "Failed to parse theme " + (dir / "syntax.toml") + ": "))
        << syntax.error();

    auto missing = catalogue.load_theme_file(dir / "missing.toml");
    ASSERT_FALSE(missing.has_value());
    EXPECT_TRUE(
        starts_with(missing.error(), "Failed to parse theme " + (dir / "missing.toml") + ": "))
        << missing.error();
    EXPECT_NE(missing.error().find("display_name"), std::string::npos) << missing.error();

    auto short_palette = catalogue.load_theme_file(dir / "short.toml");
    ASSERT_FALSE(short_palette.has_value());
    EXPECT_EQ(short_palette.error(), "Theme palette must contain exactly 16 colors, found 15");

    auto bad = catalogue.load_theme_file(dir / "bad.toml");
    ASSERT_FALSE(bad.has_value());
    EXPECT_EQ(bad.error(), "Invalid hex color length for: #f0f0f");

    // None of the failures changed the catalogue.
    EXPECT_EQ(catalogue.list(), builtin_pairs);
}

TEST(ThemeCatalogue, LaterFileOfTheSameNameWinsAtTheFirstPosition) {
    ThemesDir dir;
    dir.add("mine.toml", "a.toml");
    dir.add("my_nord.toml", "b.toml");
    std::string second = "name = \"mine\"\ndisplay_name = \"Mine Again\"\ndark = true\n"
                         "background = \"#000000\"\nforeground = \"#ffffff\"\npalette = [";
    for (int i = 0; i < 16; ++i) {
        second += "\"#0000" + std::string(i < 10 ? "0" : "") + std::to_string(i) + "\",";
    }
    second += "]\n";
    dir.write("c.toml", second);

    auto catalogue = ThemeCatalogue::load_from(dir / "missing");
    auto first_name = catalogue.load_theme_file(dir / "a.toml");
    ASSERT_TRUE(first_name.has_value()) << first_name.error();
    EXPECT_EQ(*first_name, "mine");
    ASSERT_TRUE(catalogue.load_theme_file(dir / "b.toml").has_value());
    auto again = catalogue.load_theme_file(dir / "c.toml");
    ASSERT_TRUE(again.has_value()) << again.error();
    EXPECT_EQ(*again, "mine");

    Pairs expected = builtin_pairs;
    expected[1].second = "My Nord";
    expected.emplace_back("mine", "Mine Again");
    EXPECT_EQ(catalogue.list(), expected);
    EXPECT_EQ(catalogue.get("mine").background, "#000000");
}

TEST(ThemeCatalogue, LoadReadsTheConfiguredThemesDirectory) {
    ThemesDir home;
    home.add("mine.toml", "ombrix/themes/mine.toml");
    const char* saved = std::getenv("XDG_CONFIG_HOME");
    std::string saved_value = saved ? saved : "";
    g_setenv("XDG_CONFIG_HOME", home.path().c_str(), TRUE);
    auto list = ThemeCatalogue::load().list();
    if (saved) {
        g_setenv("XDG_CONFIG_HOME", saved_value.c_str(), TRUE);
    } else {
        g_unsetenv("XDG_CONFIG_HOME");
    }
    ASSERT_EQ(list.size(), 13u);
    EXPECT_EQ(list.back().first, "mine");
}

} // namespace
} // namespace ombrix::theme
