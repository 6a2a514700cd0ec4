#include "ui/tab_manager/tab_icons.hpp"

#include <gio/gio.h>
#include <string_view>

namespace ombrix::ui {
namespace {

constexpr std::string_view tab_icon_svg =
    R"(<svg xmlns="http://www.w3.org/2000/svg" width="16" height="16" viewBox="0 0 24 24" )"
    R"(fill="none" stroke="#14b8a6" stroke-width="2.5" stroke-linecap="round" )"
    R"(stroke-linejoin="round"><path d="M12 19h8"/><path d="m4 17 6-6-6-6"/></svg>)";

constexpr std::string_view selection_dot_svg =
    R"(<svg xmlns="http://www.w3.org/2000/svg" width="8" height="8" viewBox="0 0 8 8">)"
    R"(<circle cx="4" cy="4" r="3" fill="#14b8a6"/></svg>)";

GObjectPtr<GdkPixbuf> decode(std::string_view svg, int size) {
    auto stream = adopt(
        g_memory_input_stream_new_from_data(svg.data(), static_cast<gssize>(svg.size()), nullptr));
    return adopt(
        gdk_pixbuf_new_from_stream_at_scale(stream.get(), size, size, TRUE, nullptr, nullptr));
}

// Main thread only, like everything in the window.
GObjectPtr<GdkPixbuf> cached(GObjectPtr<GdkPixbuf>& cache, std::string_view svg, int size) {
    if (!cache) {
        cache = decode(svg, size);
    }
    return cache;
}

} // namespace

GObjectPtr<GdkPixbuf> tab_icon() {
    static GObjectPtr<GdkPixbuf> cache;
    return cached(cache, tab_icon_svg, 16);
}

GObjectPtr<GdkPixbuf> selection_dot() {
    static GObjectPtr<GdkPixbuf> cache;
    return cached(cache, selection_dot_svg, 8);
}

} // namespace ombrix::ui
