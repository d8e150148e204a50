#!/usr/bin/env bash
# Builds and runs the whole test suite under a sanitizer:
#   scripts/sanitize.sh address   AddressSanitizer + UndefinedBehaviorSanitizer (build-asan/)
#   scripts/sanitize.sh thread    ThreadSanitizer (build-tsan/)
set -euo pipefail
cd "$(dirname "$0")/.."
kind=${1:-address}
case "$kind" in
  address) dir=build-asan ;;
  thread)  dir=build-tsan ;;
  *) echo "usage: scripts/sanitize.sh address|thread" >&2; exit 2 ;;
esac
# Findings inside libraries we do not build (fontconfig under Qt, FluidSynth's
# OpenMP runtime) are suppressed by name in scripts/*.supp; ours stop the test.
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$PWD/scripts/lsan.supp:print_suppressions=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
export TSAN_OPTIONS=${TSAN_OPTIONS:-halt_on_error=1:second_deadlock_stack=1:suppressions=$PWD/scripts/tsan.supp}
BUILD_DIR=$dir scripts/build.sh -DTSY_SANITIZE="$kind" -DTSY_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug
QT_QPA_PLATFORM=offscreen ctest --test-dir "$dir" --output-on-failure -j "$(nproc)"
