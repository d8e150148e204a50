#!/usr/bin/env bash
# Builds the benchmarks (the default optimised build, in build-bench/) and prints one table:
# compile of the largest source, SMF export of a ten-minute piece, play
# timing, display paint, and `tsy render` against `fluidsynth -F` on the same
# SMF. Figures only: nothing here passes or fails on time. Each program's own
# output is kept in build-bench/logs/.
#   scripts/bench.sh [PLAY_SECONDS]   (seconds of music for the play timing, default 20)
set -euo pipefail
cd "$(dirname "$0")/.."
play_seconds=${1:-20}
dir=build-bench
logs=$dir/logs
soundfont=/usr/share/sounds/sf2/default-GM.sf2
gui=ON
pkg-config --exists Qt6Widgets 2>/dev/null || gui=OFF

cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTSY_TESTS=OFF -DTSY_GUI=$gui >/dev/null
cmake --build "$dir" -j 2 --target compile_bench smf_render play_timing display_paint tsy
mkdir -p "$logs"

calc() { awk "BEGIN { printf \"%.6f\", $1 }"; }
seconds_of() { local start end; start=$(date +%s.%N); "$@" >/dev/null 2>&1; end=$(date +%s.%N); calc "$end - $start"; }
rows=()
row() { rows+=("$(printf '%-44s %-28s %s' "$1" "$2" "$3")"); }

echo "bench: compile"
"$dir/compile_bench" >"$logs/compile.txt"
row "compile, 48 tracks, $(sed -n 's/.*image \([0-9]*\) bytes.*/\1/p' "$logs/compile.txt")-byte image" \
  "$(sed -n 's/^\([0-9.]*\) ms per compile.*/\1/p' "$logs/compile.txt") ms" "<= 10 ms"

echo "bench: SMF export"
"$dir/smf_render" bench/ten_minutes.mus 20 >"$logs/export.txt"
row "SMF export, 10-minute piece, 16 tracks" \
  "$(sed -n 's/^\([0-9.]*\) ms per render.*/\1/p' "$logs/export.txt") ms" "<= 50 ms"

echo "bench: play timing ($play_seconds s of music)"
"$dir/play_timing" "$play_seconds" >"$logs/play.txt" 2>&1
row "play timing |send - ideal| p50 / p99 / max" \
  "$(sed -n 's/.*p50 \([0-9.]*\) ms *p99 \([0-9.]*\) ms *max \([0-9.]*\) ms.*/\1 \/ \2 \/ \3 ms/p' "$logs/play.txt")" \
  "p99 <= 0.5, max <= 2 ms"
row "play thread CPU per second of music" \
  "$(sed -n 's/.*CPU: \([0-9.]*\) %.*/\1 %/p' "$logs/play.txt")" "<= 2 %"

echo "bench: display paint"
QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen} "$dir/display_paint" >"$logs/paint.txt" 2>&1
row "display paint, painter alone" \
  "$(sed -n 's/^painter only.*: *\([0-9.]*\) ms.*/\1 ms/p' "$logs/paint.txt")" ""
if grep -q '^Qt' "$logs/paint.txt"; then
  row "display paint through Qt, 640 x 480" \
    "$(sed -n 's/^Qt.*: *\([0-9.]*\) ms.*/\1 ms/p' "$logs/paint.txt")" "<= 2 ms"
fi

echo "bench: render against fluidsynth -F"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$dir/tsy" smf examples/demo.mus -o "$work/demo.mid" >/dev/null
tsy_s=$(seconds_of "$dir/tsy" render examples/demo.mus -o "$work/tsy.wav" --soundfont "$soundfont")
fs_s=$(seconds_of fluidsynth -ni -q -F "$work/fs.wav" -r 44100 "$soundfont" "$work/demo.mid")
# Each renders its own tail of silence, so speed is compared per second of sound.
audio_s() { soxi -D "$1"; }
tsy_rate=$(calc "$(audio_s "$work/tsy.wav") / $tsy_s")
fs_rate=$(calc "$(audio_s "$work/fs.wav") / $fs_s")
row "tsy render, demo (s of sound per s)" "$(printf '%.1fx real time (%.2f s)' "$tsy_rate" "$tsy_s")" ""
row "fluidsynth -F, the same SMF" "$(printf '%.1fx real time (%.2f s)' "$fs_rate" "$fs_s")" ""
row "tsy render against fluidsynth -F" "$(printf '%+.1f %% time per s of sound' \
  "$(calc "($fs_rate / $tsy_rate - 1) * 100")")" "within 10 %"

printf '\n%-44s %-28s %s\n' benchmark figure target
printf '%s\n' "${rows[@]}"
