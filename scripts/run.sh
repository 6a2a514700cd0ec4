#!/usr/bin/env bash
# Quick start (a): install what is missing, build, and start the terminal on this display.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh build
exec build/ombrix "$@"
