#!/usr/bin/env bash
# Quick start (b): install what is missing, build, and run every test: the unit tests, the GUI
# tests (headless, on a private Xvfb display and D-Bus session started here), and the whole
# suite again built with AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

scripts/setup.sh
scripts/build.sh build
scripts/build.sh build-sanitize -Db_sanitize=address,undefined -Db_lundef=false \
  -Dbuildtype=debug

# A free display number for our own Xvfb.
display=90
while [ -e "/tmp/.X${display}-lock" ] || [ -e "/tmp/.X11-unix/X${display}" ]; do
  display=$((display + 1))
done

work=$(mktemp -d /tmp/ombrix-test.XXXXXX)
xvfb_pid=
cleanup() {
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT

Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 1 100); do
  [ -e "/tmp/.X11-unix/X${display}" ] && break
  sleep 0.1
done

# Nothing may touch the real home or start desktop services that outlive the run.
mkdir -p "$work/home"
export HOME="$work/home"
export XDG_CONFIG_HOME="$work/home/.config"
export XDG_DATA_HOME="$work/home/.local/share"
export XDG_CACHE_HOME="$work/home/.cache"
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
export DISPLAY=":$display"
unset WAYLAND_DISPLAY
export LANG=C.UTF-8 LC_ALL=C.UTF-8
# GTK 4.8 has no GDK_DEBUG=no-portals; GTK_USE_PORTAL=0 keeps it off the portals.
export GDK_BACKEND=x11 GTK_USE_PORTAL=0 NO_AT_BRIDGE=1 GTK_A11Y=none
export GSETTINGS_BACKEND=memory

status=0
summary() {
  # Sums meson's "Ok:" and "Fail:" lines over every run.
  awk '/^Ok:/ {ok += $2} /^Fail:/ {fail += $2} /^Unexpected Pass:/ {fail += $3}
       /^Timeout:/ {fail += $2} END {printf "ombrix: %d passed, %d failed\n", ok, fail}' "$@"
}

run_suite() {
  local dir=$1
  shift
  dbus-run-session -- meson test -C "$dir" --print-errorlogs "$@" 2>&1 | tee "$work/$dir.log"
  return "${PIPESTATUS[0]}"
}

run_suite build --num-processes 2 || status=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
# The core is checked for leaks too; the toolkit keeps caches for the life of the process, so
# the GUI tests are not.
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
  run_suite build-sanitize --suite unit --num-processes 2 --timeout-multiplier 3 || status=1
mv "$work/build-sanitize.log" "$work/build-sanitize-unit.log"
ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 \
  run_suite build-sanitize --no-suite unit --num-processes 2 --timeout-multiplier 3 || status=1

summary "$work/build.log" "$work/build-sanitize-unit.log" "$work/build-sanitize.log"
exit $status
