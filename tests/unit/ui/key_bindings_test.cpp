#include "ui/window/key_bindings.hpp"

#include <gtest/gtest.h>
#include <optional>

namespace ombrix::ui {
namespace {

constexpr std::uint32_t S = shift_mask;
constexpr std::uint32_t C = control_mask;
constexpr std::uint32_t A = alt_mask;

struct KeyCase {
    std::uint32_t keyval;
    std::uint32_t state;
    std::optional<WindowAction> action;
};

class KeyBindingsTest : public testing::TestWithParam<KeyCase> {};

TEST_P(KeyBindingsTest, MatchesTheFixedTable) {
    const auto& c = GetParam();
    EXPECT_EQ(match_key(c.keyval, c.state), c.action)
        << std::hex << "keyval 0x" << c.keyval << " state 0x" << c.state;
}

using enum WindowAction;
INSTANTIATE_TEST_SUITE_P(
    Table, KeyBindingsTest,
    testing::Values(
        // Control+Shift, letters in both cases.
        KeyCase{'T', C | S, new_tab}, KeyCase{'t', C | S, new_tab}, KeyCase{'W', C | S, close_tab},
        KeyCase{'e', C | S, split_horizontal}, KeyCase{'O', C | S, split_vertical},
        KeyCase{'x', C | S, close_pane}, KeyCase{0xff53, C | S, focus_next_pane},
        KeyCase{0xff96, C | S, focus_prev_pane}, KeyCase{'B', C | S, toggle_sidebar},
        KeyCase{'F', C | S, search}, KeyCase{'C', C | S, copy}, KeyCase{'v', C | S, paste},
        KeyCase{'A', C | S, select_all},
        // Alt is not tested under Control.
        KeyCase{'T', C | S | A, new_tab},
        // Control alone.
        KeyCase{0xff56, C, next_tab}, KeyCase{0xff9b, C, next_tab}, KeyCase{0xff55, C, prev_tab},
        KeyCase{0xff9a, C, prev_tab}, KeyCase{'+', C, zoom_in}, KeyCase{'=', C, zoom_in},
        KeyCase{0xffab, C, zoom_in}, KeyCase{'-', C, zoom_out}, KeyCase{0xffad, C, zoom_out},
        KeyCase{'0', C, zoom_reset}, KeyCase{0xffb0, C, zoom_reset},
        // Alt arrows, Shift not tested.
        KeyCase{0xff53, A, focus_next_pane}, KeyCase{0xff54, A | S, focus_next_pane},
        KeyCase{0xff99, A, focus_next_pane}, KeyCase{0xff52, A, focus_prev_pane},
        KeyCase{0xff97, A, focus_prev_pane}, KeyCase{0xff51, A, focus_prev_pane},
        // F9 with or without Shift; other modifier bits are ignored.
        KeyCase{0xffc6, 0, toggle_sidebar}, KeyCase{0xffc6, S, toggle_sidebar},
        KeyCase{0xffc6, 0x10 | 0x4000000, toggle_sidebar},
        // Combinations that match nothing.
        KeyCase{'t', C, std::nullopt}, KeyCase{'t', S, std::nullopt},
        KeyCase{0xff56, C | S, std::nullopt}, KeyCase{'+', C | S, std::nullopt},
        KeyCase{0xff53, C, std::nullopt}, KeyCase{0xffc6, C, std::nullopt},
        KeyCase{0xffc6, A, std::nullopt}, KeyCase{'T', A | S, std::nullopt},
        KeyCase{0xff53, 0, std::nullopt}));

} // namespace
} // namespace ombrix::ui
