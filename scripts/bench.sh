#!/usr/bin/env bash
# Builds the benchmarks (the default optimised build, in build-bench/) and prints one table:
# compile of the largest source, the demo and a million substitution letters, SMF export of a ten-minute piece, play
# timing, display paint, `tsy render` against `fluidsynth -F` on the same
# SMF, render speed per sound format against fluidsynth -F -T, seek with chase, live reload and the positions feed,
# timing through JACK (where jackd is installed), and the desktop program's CPU while the demo plays. Figures only: nothing here passes or fails on time. Each program's own
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

cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTSY_WERROR=ON -DTSY_TESTS=OFF -DTSY_GUI=$gui >/dev/null
targets=(compile_bench smf_render play_timing display_paint seek_bench jack_timing tsy)
[ "$gui" = ON ] && targets+=(tessaly32)
cmake --build "$dir" -j 2 --target "${targets[@]}"
mkdir -p "$logs"

calc() { awk "BEGIN { printf \"%.6f\", $1 }"; }
seconds_of() { local start end; start=$(date +%s.%N); "$@" >/dev/null 2>&1; end=$(date +%s.%N); calc "$end - $start"; }
rows=()
row() { rows+=("$(printf '%-44s %-28s %s' "$1" "$2" "$3")"); }

# CPU time of the desktop program over $gui_seconds s of the demo playing
# (init.emd) at the default DispRate of 24, under Xvfb, read per thread from
# /proc: the window's, the refresh and play threads' and Qt's own on one side,
# the built-in synthesiser rendering the sound (into a file, so that it plays
# in real time without a sound card) on the other.
gui_seconds=15
thread_ticks() {  # PID PATTERN: CPU ticks of the threads whose name matches
  local total=0 t
  for t in /proc/"$1"/task/*; do
    if [ "$(basename "$t")" = "$1" ] || grep -qE "$2" "$t/comm"; then
      total=$((total + $(awk '{ print $14 + $15 }' "$t/stat")))
    fi
  done
  echo "$total"
}
gui_cpu() {
  local home=$work/gui pid window0 all0 window1 all1 hz
  mkdir -p "$home"
  "$dir/tsy" compile examples/demo.mus -o "$home/init.emd" >/dev/null
  rm -f "$dir/tsy32.ini"  # the defaults
  (cd "$home" && TSY_AUDIO_DRIVER=file timeout $((gui_seconds + 20)) xvfb-run -a "$OLDPWD/$dir/tessaly32" \
    >"$OLDPWD/$logs/gui.txt" 2>&1) &
  sleep 4
  pid=$(pgrep -f "^$PWD/$dir/tessaly32" | head -1)
  if [ -z "$pid" ]; then row "desktop program, demo playing" "did not start (see $logs/gui.txt)" ""; return; fi
  window0=$(thread_ticks "$pid" '^(tsy-|Q)'); all0=$(thread_ticks "$pid" '.')
  sleep "$gui_seconds"
  window1=$(thread_ticks "$pid" '^(tsy-|Q)'); all1=$(thread_ticks "$pid" '.')
  kill "$pid"; wait || true
  hz=$(getconf CLK_TCK)
  row "desktop program, demo playing, DispRate 24" \
    "$(printf '%.1f' "$(calc "($window1 - $window0) * 100 / $hz / $gui_seconds")") % of a core" "<= 5 %"
  row "built-in synthesiser rendering beside it" \
    "$(printf '%.1f' "$(calc "($all1 - $all0 - $window1 + $window0) * 100 / $hz / $gui_seconds")") % of a core" ""
}

echo "bench: compile"
"$dir/compile_bench" >"$logs/compile.txt"
compile_ms() { sed -n "s/^$1: \([0-9.]*\) ms per compile.*/\1/p" "$logs/compile.txt"; }
row "compile, 48 tracks, $(sed -n 's/^largest source:.*image \([0-9]*\) bytes,.*/\1/p' "$logs/compile.txt")-byte image" \
  "$(compile_ms 'largest source') ms" "<= 10 ms"
row "compile, the demo" "$(compile_ms demo) ms" "<= 20 ms"
row "compile, a million substitution letters (1 MB)" "$(compile_ms 'million letters') ms" "< 1000 ms"

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

echo "bench: seek, live reload and the positions feed"
"$dir/seek_bench" >"$logs/seek.txt" 2>&1
row "seek with chase, last bar of the 10-minute piece" \
  "$(sed -n 's/^seek with chase.*: \([0-9.]*\) ms mean, \([0-9.]*\) ms best.*/\1 ms (best \2)/p' "$logs/seek.txt")" "<= 5 ms"
row "a saved source to its new image, the demo" \
  "$(sed -n 's/^save of .*: \([0-9.]*\) ms mean.*/\1 ms/p' "$logs/seek.txt")" "<= 20 ms"
row "positions feed while playing" \
  "$(sed -n 's/^positions feed: .*, \([0-9.]*\) % of a core.*/\1 % of a core/p' "$logs/seek.txt")" "<= 0.5 %"

if command -v jackd >/dev/null; then
  echo "bench: timing through JACK ($play_seconds s of music)"
  "$dir/jack_timing" "$play_seconds" >"$logs/jack.txt" 2>&1 || true
  row "JACK port latency (constant)" "$(sed -n 's/.*latency of the port (constant): \([0-9.]*\) ms/\1 ms/p' "$logs/jack.txt")" "-"
  row "JACK arrival |arrival - ideal| p50 / p99 / max" \
    "$(sed -n "s/.*on JACK's frame clock *p50 \([0-9.]*\) ms *p99 \([0-9.]*\) ms *max \([0-9.]*\) ms.*/\1 \/ \2 \/ \3 ms/p" "$logs/jack.txt")" \
    "p99 <= 0.5, max <= 1.5 ms"
fi

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

if [ "$gui" = ON ] && command -v xvfb-run >/dev/null; then
  echo "bench: desktop program while the demo plays"
  gui_cpu
fi

echo "bench: render per sound format"
bench/render_formats.sh "$dir/tsy" examples/demo.mus "$soundfont" >"$logs/formats.txt"

printf '\n%-44s %-28s %s\n' benchmark figure target
printf '%s\n' "${rows[@]}"
printf '\nrender per sound format, the demo (s of sound per s of work):\n'
cat "$logs/formats.txt"
