#!/usr/bin/env bash
# Builds the fuzz targets with clang's libFuzzer (AddressSanitizer, leak
# detection and UndefinedBehaviorSanitizer on) into build-fuzz/ and runs each
# one for a given time, one after the other, from seeds made of the examples
# and the tests:
#   scripts/fuzz.sh [SECONDS] [TARGET...]   default: 600 s each, every fuzz/*.cpp
# Each target's corpus grows in build-fuzz/corpus/TARGET and is kept for the
# next run. A crash, hang, leak, out-of-memory or sanitizer report leaves its
# input in build-fuzz/findings/ and its log beside it; the script ends with a
# table of every target and exits 1 when any found something.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-600}
[ $# -gt 0 ] && shift
dir=build-fuzz
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for src in fuzz/*.cpp; do targets+=("$(basename "$src" .cpp)"); done
fi
hang_seconds=10  # one input running longer than this is a hang (an unbounded export, say)

CC=clang CXX=clang++ cmake -S . -B "$dir" -G Ninja -DTSY_FUZZ=ON -DTSY_GUI=OFF -DTSY_TESTS=OFF \
  -DTSY_BENCH=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$dir" -j 2 --target "${targets[@]}" tsy

# Seeds: literals of the tests and the examples, and object images compiled
# from the source seeds (any image that a source gives).
seeds=$dir/seeds
rm -rf "$seeds"
python3 fuzz/make_seeds.py . "$seeds"
mkdir -p "$seeds/engine_image"
for src in "$seeds"/compile_source/*; do
  ASAN_OPTIONS=detect_leaks=0 "$dir/tsy" compile "$src" -o "$seeds/engine_image/$(basename "$src")" \
    >/dev/null 2>&1 || true
done
cp -r "$seeds/engine_image" "$seeds/smf_export"
cp -r "$seeds/engine_image" "$seeds/seek_image"
cp -r "$seeds/compile_source" "$seeds/export_source"

export UBSAN_OPTIONS=halt_on_error=1:abort_on_error=1:print_stacktrace=1
export ASAN_OPTIONS=detect_leaks=1
mkdir -p "$dir/findings" "$dir/logs"
found=0
rows=()
for t in "${targets[@]}"; do
  corpus=$dir/corpus/$t
  mkdir -p "$corpus"
  [ -d "$seeds/$t" ] && cp -n "$seeds/$t"/* "$corpus"/ 2>/dev/null || true
  [ -d "fuzz/corpus/$t" ] && cp -n "fuzz/corpus/$t"/* "$corpus"/ 2>/dev/null || true
  log=$dir/logs/$t.log
  echo "fuzz: $t for $seconds s ($(ls "$corpus" | wc -l) inputs to start from)"
  set +e
  "$dir/$t" "$corpus" -max_total_time="$seconds" -timeout="$hang_seconds" -rss_limit_mb=2048 \
    -max_len=16383 -print_final_stats=1 -artifact_prefix="$dir/findings/$t-" >"$log" 2>&1
  rc=$?
  set -e
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  speed=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -1)
  cov=$(grep -o 'cov: [0-9]*' "$log" | tail -1 | cut -d' ' -f2)
  size=$(ls "$corpus" | wc -l)
  if grep -q 'ERROR: libFuzzer: timeout\|ALARM: working on the last Unit' "$log"; then result=hang
  elif grep -q 'ERROR: LeakSanitizer' "$log"; then result=leak
  elif grep -q 'out-of-memory\|ERROR: libFuzzer: out-of-memory' "$log"; then result=out-of-memory
  elif grep -q 'runtime error:' "$log"; then result="undefined behaviour"
  elif grep -q 'ERROR: AddressSanitizer' "$log"; then result="memory error"
  elif grep -q 'ERROR: libFuzzer: deadly signal\|ERROR: libFuzzer' "$log"; then result=crash
  elif [ "$rc" -ne 0 ]; then result="exit $rc"
  else result=clean
  fi
  if [ "$result" != clean ]; then
    found=1
    artifact=$(sed -n 's/.*Test unit written to \(.*\)$/\1/p' "$log" | tail -1)
    cp "$log" "$dir/findings/$t.log"
    result="$result: ${artifact:-see $dir/findings/$t.log}"
    grep -m1 -A12 'ERROR:\|runtime error:\|ALARM:' "$log" >&2 || true
  fi
  rows+=("$(printf '%-16s %8s %10s %8s %6s %7s  %s' "$t" "$seconds" "${runs:--}" "${speed:--}" "${cov:--}" \
    "$size" "$result")")
done

printf '\n%-16s %8s %10s %8s %6s %7s  %s\n' target seconds runs exec/s cov corpus result
printf '%s\n' "${rows[@]}"
exit $found
