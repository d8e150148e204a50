#!/usr/bin/env bash
# The desktop program as a user meets it, under Xvfb with a window manager
# (openbox), driven by xdotool and checked on screenshots:
#   - when the output cannot be opened, its box shows within 2 s of the start
#     while the window is already up;
#   - Enter on track 1 right after the start (nothing plays) turns its number
#     black on red at once, a second Enter back to black on yellow.
# Skips (exit 77) when Xvfb, openbox, xdotool or ImageMagick is missing.
#   desktop_under_xvfb_test.sh PATH/TO/tessaly32
set -uo pipefail
program=$1
for tool in Xvfb openbox xdotool import; do
  command -v "$tool" >/dev/null || { echo "skip: $tool is not installed"; exit 77; }
done
work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
  wait 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; exit 1; }

# A free display number: the first without a lock file.
display=90
while [ -e "/tmp/.X$display-lock" ]; do display=$((display + 1)); done
export DISPLAY=:$display XDG_RUNTIME_DIR=$work
unset QT_QPA_PLATFORM
Xvfb "$DISPLAY" -screen 0 1024x768x24 -nolisten tcp >"$work/xvfb.txt" 2>&1 &
pids+=($!)
for _ in $(seq 50); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.1; done
openbox >"$work/openbox.txt" 2>&1 &
pids+=($!)
sleep 0.5

cp "$program" "$work/tessaly32"
start=$(date +%s%N)
"$work/tessaly32" >"$work/out.txt" 2>&1 &
program_pid=$!
pids+=("$program_pid")

# Visible windows named "Tessaly32..." with their sizes: "id width height".
windows() {
  for id in $(xdotool search --onlyvisible --name '^Tessaly32' 2>/dev/null); do
    eval "$(xdotool getwindowgeometry --shell "$id" 2>/dev/null)"
    echo "$id ${WIDTH:-0} ${HEIGHT:-0}"
  done
}
main= box=
for _ in $(seq 50); do
  while read -r id width height; do
    if [ "$width" = 640 ] && [ "$height" = 480 ]; then
      [ -n "$main" ] || echo "the main window showed after $((($(date +%s%N) - start) / 1000000)) ms"
      main=$id
    else
      box=$id
    fi
  done < <(windows)
  [ -n "$box" ] && break
  [ -n "$main" ] && [ $((($(date +%s%N) - start) / 1000000)) -gt 3000 ] && break
  sleep 0.1
done
[ -n "$main" ] || fail "the main window did not show within 5 s: $(cat "$work/out.txt")"
if [ -n "$box" ]; then
  shown_ms=$((($(date +%s%N) - start) / 1000000))
  echo "the output's box showed after $shown_ms ms"
  [ "$shown_ms" -le 2000 ] || fail "the box showed after $shown_ms ms, more than 2 s"
  xdotool windowactivate --sync "$box" key Return
  sleep 0.3
else
  echo "no box: the output opened"
fi

# The colour behind track 1's number (client pixel 19, 20) as #RRGGBB.
number_ground() {
  import -window "$main" "$work/shot.png" 2>/dev/null || return 1
  convert "$work/shot.png" -format '%[hex:p{19,20}]' info: | cut -c1-6
}
xdotool windowactivate --sync "$main" >/dev/null 2>&1
sleep 0.3
[ "$(number_ground)" = FFFF00 ] || fail "track 1's number is not on yellow at the start: $(number_ground)"
xdotool key --window "$main" Return
sleep 0.3
[ "$(number_ground)" = FF0000 ] || fail "after Enter track 1's number is not on red: $(number_ground)"
xdotool key --window "$main" Return
sleep 0.3
[ "$(number_ground)" = FFFF00 ] || fail "after a second Enter track 1's number is not on yellow: $(number_ground)"
echo "ok: Enter mutes and unmutes track 1 on the screen at once"

kill -TERM "$program_pid"
wait "$program_pid" || fail "the program ended with status $? on SIGTERM: $(tail -40 "$work/out.txt")"
