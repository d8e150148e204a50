#!/usr/bin/env bash
# Configures and builds Tessaly32 into build/ (or the folder in $BUILD_DIR).
# Extra arguments go to CMake's configure step, e.g. -DTSY_SANITIZE=address.
# Warnings are errors here (TSY_WERROR), as in CI; a plain cmake build only shows them.
# Where ccache is installed it caches the compiles, shared by every checkout.
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${BUILD_DIR:-build}
launcher=()
if command -v ccache >/dev/null; then
  export CCACHE_BASEDIR=$PWD
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cmake -S . -B "$build_dir" -G Ninja "${launcher[@]}" -DTSY_WERROR=ON "$@" >/dev/null
cmake --build "$build_dir" -j "$(nproc)"
