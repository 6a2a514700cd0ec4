#!/usr/bin/env bash
# Configures (once) and builds one build directory.
#   scripts/build.sh [DIR] [extra meson setup options...]
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${1:-build}
shift || true
if [ ! -f "$dir/build.ninja" ]; then
  meson setup "$dir" "$@"
fi
ninja -C "$dir"
