#pragma once

#include <cstdint>
#include <string>

namespace ombrix::terminal {

// True if some process listed under proc_root has shell_pid as its parent. Every failure
// counts as "no child" for the part of the scan where it happened.
bool has_child_processes(std::uint32_t shell_pid, const std::string& proc_root = "/proc");

} // namespace ombrix::terminal
