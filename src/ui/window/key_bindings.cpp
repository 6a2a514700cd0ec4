#include "ui/window/key_bindings.hpp"

#include <initializer_list>

namespace ombrix::ui {
namespace {

struct Binding {
    std::initializer_list<std::uint32_t> keyvals;
    WindowAction action;
};

std::optional<WindowAction> lookup(std::initializer_list<Binding> table, std::uint32_t keyval) {
    for (const auto& binding : table) {
        for (std::uint32_t candidate : binding.keyvals) {
            if (candidate == keyval) {
                return binding.action;
            }
        }
    }
    return std::nullopt;
}

} // namespace

std::optional<WindowAction> match_key(std::uint32_t keyval, std::uint32_t state) {
    using enum WindowAction;
    const bool shift = (state & shift_mask) != 0;
    const bool control = (state & control_mask) != 0;
    const bool alt = (state & alt_mask) != 0;
    // Letters come in both cases: with Shift held the key value is usually the capital.
    if (control && shift) {
        return lookup({{{0x54, 0x74}, new_tab},
                       {{0x57, 0x77}, close_tab},
                       {{0x45, 0x65}, split_horizontal},
                       {{0x4f, 0x6f}, split_vertical},
                       {{0x58, 0x78}, close_pane},
                       {{0xff53, 0xff98}, focus_next_pane},
                       {{0xff51, 0xff96}, focus_prev_pane},
                       {{0x42, 0x62}, toggle_sidebar},
                       {{0x46, 0x66}, search},
                       {{0x43, 0x63}, copy},
                       {{0x56, 0x76}, paste},
                       {{0x41, 0x61}, select_all}},
                      keyval);
    }
    if (control) {
        return lookup({{{0xff56, 0xff9b}, next_tab},
                       {{0xff55, 0xff9a}, prev_tab},
                       {{0x2b, 0x3d, 0xffab}, zoom_in},
                       {{0x2d, 0xffad}, zoom_out},
                       {{0x30, 0xffb0}, zoom_reset}},
                      keyval);
    }
    if (alt) {
        return lookup({{{0xff53, 0xff54, 0xff98, 0xff99}, focus_next_pane},
                       {{0xff51, 0xff52, 0xff96, 0xff97}, focus_prev_pane}},
                      keyval);
    }
    return keyval == 0xffc6 ? std::optional(toggle_sidebar) : std::nullopt;
}

} // namespace ombrix::ui
