#include "terminal/banner.hpp"

#include <array>

namespace ombrix::terminal {
namespace {

// One glyph per letter, drawn with '#' for a full block. Strokes are two columns wide where
// they run vertically, since terminal cells are about twice as tall as they are wide.
using Glyph = std::array<std::string_view, 5>;

constexpr Glyph glyph_o = {" #### ", "##  ##", "##  ##", "##  ##", " #### "};
constexpr Glyph glyph_m = {"##   ##", "### ###", "## # ##", "##   ##", "##   ##"};
constexpr Glyph glyph_b = {"##### ", "##  ##", "##### ", "##  ##", "##### "};
constexpr Glyph glyph_r = {"##### ", "##  ##", "##### ", "## ## ", "##  ##"};
constexpr Glyph glyph_i = {"####", " ## ", " ## ", " ## ", "####"};
constexpr Glyph glyph_x = {"##  ##", " #### ", "  ##  ", " #### ", "##  ##"};

constexpr std::array<const Glyph*, 6> word = {&glyph_o, &glyph_m, &glyph_b,
                                              &glyph_r, &glyph_i, &glyph_x};

constexpr std::string_view full_block = "\u2588";

} // namespace

std::string banner_art() {
    std::string art;
    for (std::size_t row = 0; row < 5; ++row) {
        if (row > 0) {
            art += "\r\n";
        }
        for (const Glyph* glyph : word) {
            // The leading space of each row, then one blank column between letters.
            art += ' ';
            for (char cell : (*glyph)[row]) {
                if (cell == '#') {
                    art += full_block;
                } else {
                    art += ' ';
                }
            }
        }
    }
    return art;
}

std::string welcome_banner() {
    std::string banner = "\r\n\033[1;38;2;45;212;191m";
    banner += banner_art();
    banner += "\033[0m\r\n\r\n\033[0;38;2;161;161;170mWelcome to Ombrix (Zelvane Terminal) v";
    banner += banner_version;
    banner += "\033[0m\r\n\033[0;38;2;113;113;122mType \033[1;38;2;45;212;191mspecs"
              "\033[0;38;2;113;113;122m, \033[1;38;2;45;212;191mthemes\033[0;38;2;113;113;122m,"
              " or \033[1;38;2;45;212;191mclear\033[0;38;2;113;113;122m to interact.\033[0m"
              "\r\n\r\n";
    return banner;
}

} // namespace ombrix::terminal
