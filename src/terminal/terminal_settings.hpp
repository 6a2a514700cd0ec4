#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Pure arithmetic and mappings behind the terminal view's settings.
namespace ombrix::terminal {

// Values equal to VTE's VteCursorShape and VteCursorBlinkMode.
enum class CursorShape : int { block = 0, ibeam = 1, underline = 2 };
enum class CursorBlink : int { system = 0, on = 1, off = 2 };

// Exact, case-sensitive mapping; anything unknown gives block / system.
CursorShape map_cursor_shape(std::string_view shape);
CursorBlink map_cursor_blink(std::string_view blink);

// size × PANGO_SCALE (1024) truncated toward zero, saturating at the int32 limits; NaN → 0.
std::int32_t font_size_to_pango_units(double size_points);

// Zoom steps in 64-bit floating point, clamped by exact comparison.
double zoom_in_step(double factor);  // min(factor + 0.1, 3.0)
double zoom_out_step(double factor); // max(factor - 0.1, 0.4)
inline constexpr double zoom_reset_factor = 1.0;

// Truncation toward zero to int32, saturating; NaN → 0 (pointer coordinates).
std::int32_t saturating_int32(double value);

// The local path named by a current-directory URI ("file://host/path" with percent
// escapes), or none for other schemes and unusable URIs.
std::optional<std::string> directory_from_uri(std::string_view uri);

} // namespace ombrix::terminal
