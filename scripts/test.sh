#!/usr/bin/env bash
# Builds Tessaly32 and runs every test. Extra arguments go to the build.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh "$@"
build_dir=${BUILD_DIR:-build}
QT_QPA_PLATFORM=offscreen ctest --test-dir "$build_dir" --output-on-failure -j "$(nproc)"
