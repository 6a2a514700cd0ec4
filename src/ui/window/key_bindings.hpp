#pragma once

#include <cstdint>
#include <optional>

// The fixed key bindings of the window, matched without the toolkit: key values are GDK key
// values and the state uses GDK's modifier bits.
namespace ombrix::ui {

// Slot order equals the keys of the configuration's shortcuts section.
enum class WindowAction {
    new_tab,
    close_tab,
    next_tab,
    prev_tab,
    split_horizontal,
    split_vertical,
    close_pane,
    focus_next_pane,
    focus_prev_pane,
    toggle_sidebar,
    search,
    copy,
    paste,
    select_all,
    zoom_in,
    zoom_out,
    zoom_reset,
};

inline constexpr std::uint32_t shift_mask = 0x1;
inline constexpr std::uint32_t control_mask = 0x4;
inline constexpr std::uint32_t alt_mask = 0x8;

// The action bound to a key press, or none. Only the Shift, Control and Alt bits are tested.
std::optional<WindowAction> match_key(std::uint32_t keyval, std::uint32_t state);

} // namespace ombrix::ui
