#!/usr/bin/env bash
# Prints start-up, new-tab, memory and restyling figures for the real program under a private
# Xvfb display and D-Bus session.
#   benchmarks/window_benchmark.sh [build-dir]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
ninja -C "$build" ombrix benchmarks/window_benchmark >/dev/null

display=95
while [ -e "/tmp/.X${display}-lock" ]; do display=$((display + 1)); done
work=$(mktemp -d /tmp/ombrix-bench.XXXXXX)
Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; rm -rf "$work"' EXIT
sleep 1
export DISPLAY=":$display" HOME="$work" XDG_CONFIG_HOME="$work/.config" XDG_DATA_HOME="$work/.local/share"
export LANG=C.UTF-8 GDK_BACKEND=x11 GTK_USE_PORTAL=0 NO_AT_BRIDGE=1 GTK_A11Y=none GSETTINGS_BACKEND=memory

# Launch to first shell: the configured "shell" is a probe that stamps the time it starts.
mkdir -p "$work/.config/ombrix"
cat >"$work/probe.sh" <<'PROBE'
#!/bin/sh
date +%s%N > "$HOME/shell-started"
exec sleep 30
PROBE
chmod +x "$work/probe.sh"
printf '[general]\nshell = "%s"\n' "$work/probe.sh" >"$work/.config/ombrix/config.toml"
dbus-run-session -- bash -c '
  for run in 1 2 3; do
    rm -f "$HOME/shell-started"
    start=$(date +%s%N)
    "'"$build"'/ombrix" >/dev/null 2>&1 &
    app=$!
    while [ ! -s "$HOME/shell-started" ]; do sleep 0.005; done
    echo "launch to first shell running: $(( ($(cat "$HOME/shell-started") - start) / 1000000 )) ms (run $run)"
    kill $app; wait $app 2>/dev/null || true
  done
'
rm -f "$work/.config/ombrix/config.toml"
dbus-run-session -- "$build/benchmarks/window_benchmark"
