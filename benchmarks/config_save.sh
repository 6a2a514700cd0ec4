#!/usr/bin/env bash
# Prints the time of N configuration saves with and without fdatasync before the rename.
# Usage: benchmarks/config_save.sh [build-dir] [saves] [directory]
# The directory defaults to one inside the build directory, i.e. on the project's disk.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
saves=${2:-200}
directory=${3:-$(pwd)/$build/config-save-bench}
ninja -C "$build" -j2 tests/unit/config/config_save_bench >/dev/null
echo "file system of $directory: $(df -T "$(dirname "$directory")" | awk 'NR==2 {print $2}')"
"$build/tests/unit/config/config_save_bench" "$saves" "$directory"
