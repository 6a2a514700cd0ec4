#pragma once

#include <string>
#include <string_view>

namespace ombrix::terminal {

inline constexpr std::string_view banner_version = "0.1.5";

// The five rows of block-letter art spelling OMBRIX, joined by "\r\n".
std::string banner_art();

// The whole welcome banner fed into every new terminal before its shell starts.
std::string welcome_banner();

} // namespace ombrix::terminal
