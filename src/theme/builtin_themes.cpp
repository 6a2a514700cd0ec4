#include "theme/builtin_themes.hpp"

namespace ombrix::theme {

// Kept as TOML text, not as records, so that they go through the same reading and validation
// as the user's theme files.
const std::array<std::string_view, 12> builtin_theme_texts{
    R"toml(name = "kitty-dark"
display_name = "Kitty Dark"
dark = true
background = "#181825"
foreground = "#cdd6f4"
cursor = "#f5e0dc"
cursor_foreground = "#181825"
selection_background = "#45475a"
selection_foreground = "#cdd6f4"
palette = [
  "#45475a",
  "#f38ba8",
  "#a6e3a1",
  "#f9e2af",
  "#89b4fa",
  "#f5c2e7",
  "#94e2d5",
  "#bac2de",
  "#585b70",
  "#f38ba8",
  "#a6e3a1",
  "#f9e2af",
  "#89b4fa",
  "#f5c2e7",
  "#94e2d5",
  "#a6adc8",
]
)toml",
    R"toml(name = "nord"
display_name = "Nord"
dark = true
background = "#2e3440"
foreground = "#d8dee9"
cursor = "#d8dee9"
cursor_foreground = "#2e3440"
selection_background = "#434c5e"
selection_foreground = "#eceff4"
palette = [
  "#3b4252",
  "#bf616a",
  "#a3be8c",
  "#ebcb8b",
  "#81a1c1",
  "#b48ead",
  "#88c0d0",
  "#e5e9f0",
  "#4c566a",
  "#bf616a",
  "#a3be8c",
  "#ebcb8b",
  "#81a1c1",
  "#b48ead",
  "#8fbcbb",
  "#eceff4",
]
)toml",
    R"toml(name = "dracula"
display_name = "Dracula"
dark = true
background = "#282a36"
foreground = "#f8f8f2"
cursor = "#f8f8f2"
cursor_foreground = "#282a36"
selection_background = "#44475a"
selection_foreground = "#f8f8f2"
palette = [
  "#21222c",
  "#ff5555",
  "#50fa7b",
  "#f1fa8c",
  "#bd93f9",
  "#ff79c6",
  "#8be9fd",
  "#f8f8f2",
  "#6272a4",
  "#ff6e6e",
  "#69ff94",
  "#ffffa5",
  "#d6acff",
  "#ff92df",
  "#a4ffff",
  "#ffffff",
]
)toml",
    R"toml(name = "solarized-dark"
display_name = "Solarized Dark"
dark = true
background = "#002b36"
foreground = "#839496"
cursor = "#93a1a1"
cursor_foreground = "#002b36"
selection_background = "#073642"
selection_foreground = "#93a1a1"
palette = [
  "#073642",
  "#dc322f",
  "#859900",
  "#b58900",
  "#268bd2",
  "#d33682",
  "#2aa198",
  "#eee8d5",
  "#002b36",
  "#cb4b16",
  "#586e75",
  "#657b83",
  "#839496",
  "#6c71c4",
  "#93a1a1",
  "#fdf6e3",
]
)toml",
    R"toml(name = "gruvbox-dark"
display_name = "Gruvbox Dark"
dark = true
background = "#282828"
foreground = "#ebdbb2"
cursor = "#ebdbb2"
cursor_foreground = "#282828"
selection_background = "#504945"
selection_foreground = "#ebdbb2"
palette = [
  "#282828",
  "#cc241d",
  "#98971a",
  "#d79921",
  "#458588",
  "#b16286",
  "#689d6a",
  "#a89984",
  "#928374",
  "#fb4934",
  "#b8bb26",
  "#fabd2f",
  "#83a598",
  "#d3869b",
  "#8ec07c",
  "#ebdbb2",
]
)toml",
    R"toml(name = "catppuccin-mocha"
display_name = "Catppuccin Mocha"
dark = true
background = "#1e1e2e"
foreground = "#cdd6f4"
cursor = "#f5e0dc"
cursor_foreground = "#1e1e2e"
selection_background = "#45475a"
selection_foreground = "#cdd6f4"
palette = [
  "#45475a",
  "#f38ba8",
  "#a6e3a1",
  "#f9e2af",
  "#89b4fa",
  "#f5c2e7",
  "#94e2d5",
  "#bac2de",
  "#585b70",
  "#f38ba8",
  "#a6e3a1",
  "#f9e2af",
  "#89b4fa",
  "#f5c2e7",
  "#94e2d5",
  "#a6adc8",
]
)toml",
    R"toml(name = "tokyo-night"
display_name = "Tokyo Night"
dark = true
background = "#1a1b26"
foreground = "#c0caf5"
cursor = "#c0caf5"
cursor_foreground = "#1a1b26"
selection_background = "#33467c"
selection_foreground = "#c0caf5"
palette = [
  "#15161e",
  "#f7768e",
  "#9ece6a",
  "#e0af68",
  "#7aa2f7",
  "#bb9af7",
  "#7dcfff",
  "#a9b1d6",
  "#414868",
  "#f7768e",
  "#9ece6a",
  "#e0af68",
  "#7aa2f7",
  "#bb9af7",
  "#7dcfff",
  "#c0caf5",
]
)toml",
    R"toml(name = "one-dark"
display_name = "One Dark"
dark = true
background = "#282c34"
foreground = "#abb2bf"
cursor = "#528bff"
cursor_foreground = "#282c34"
selection_background = "#3e4451"
selection_foreground = "#abb2bf"
palette = [
  "#282c34",
  "#e06c75",
  "#98c379",
  "#e5c07b",
  "#61afef",
  "#c678dd",
  "#56b6c2",
  "#abb2bf",
  "#5c6370",
  "#e06c75",
  "#98c379",
  "#e5c07b",
  "#61afef",
  "#c678dd",
  "#56b6c2",
  "#ffffff",
]
)toml",
    R"toml(name = "rose-pine"
display_name = "Rosé Pine"
dark = true
background = "#191724"
foreground = "#e0def4"
cursor = "#524f67"
cursor_foreground = "#e0def4"
selection_background = "#2a283e"
selection_foreground = "#e0def4"
palette = [
  "#26233a",
  "#eb6f92",
  "#31748f",
  "#f6c177",
  "#9ccfd8",
  "#c4a7e7",
  "#ebbcba",
  "#e0def4",
  "#6e6a86",
  "#eb6f92",
  "#31748f",
  "#f6c177",
  "#9ccfd8",
  "#c4a7e7",
  "#ebbcba",
  "#e0def4",
]
)toml",
    R"toml(name = "monokai-pro"
display_name = "Monokai Pro"
dark = true
background = "#2d2a2e"
foreground = "#fcfcfa"
cursor = "#ffd866"
cursor_foreground = "#2d2a2e"
selection_background = "#403e41"
selection_foreground = "#fcfcfa"
palette = [
  "#2d2a2e",
  "#ff6188",
  "#a9dc76",
  "#ffd866",
  "#78dce8",
  "#ab9df2",
  "#78dce8",
  "#fcfcfa",
  "#727072",
  "#ff6188",
  "#a9dc76",
  "#ffd866",
  "#78dce8",
  "#ab9df2",
  "#78dce8",
  "#fcfcfa",
]
)toml",
    R"toml(name = "everforest-dark"
display_name = "Everforest Dark"
dark = true
background = "#2d353b"
foreground = "#d3c6aa"
cursor = "#d3c6aa"
cursor_foreground = "#2d353b"
selection_background = "#3d484d"
selection_foreground = "#d3c6aa"
palette = [
  "#343f44",
  "#e67e80",
  "#a7c080",
  "#dbbc7f",
  "#7fbbb3",
  "#d699b6",
  "#83c092",
  "#d3c6aa",
  "#859289",
  "#e67e80",
  "#a7c080",
  "#dbbc7f",
  "#7fbbb3",
  "#d699b6",
  "#83c092",
  "#9da9a0",
]
)toml",
    R"toml(name = "kanagawa"
display_name = "Kanagawa"
dark = true
background = "#1f1f28"
foreground = "#dcd7ba"
cursor = "#c8c093"
cursor_foreground = "#1f1f28"
selection_background = "#2d4f67"
selection_foreground = "#dcd7ba"
palette = [
  "#16161d",
  "#c34043",
  "#76946a",
  "#c0a36e",
  "#7e9cd8",
  "#957fb8",
  "#6a9589",
  "#c8c093",
  "#727169",
  "#e82424",
  "#98bb6c",
  "#e6c384",
  "#7fb4ca",
  "#938aa9",
  "#7aa89f",
  "#dcd7ba",
]
)toml",
};

} // namespace ombrix::theme
