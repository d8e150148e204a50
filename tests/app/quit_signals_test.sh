#!/usr/bin/env bash
# The desktop program ends on SIGTERM, SIGINT and SIGHUP as on closing its
# window: exit status 0 and the settings written (beside a copy of the
# program in a scratch folder, where it keeps them), without the ExitCheck
# question. Runs on Qt's offscreen platform.
#   quit_signals_test.sh PATH/TO/tessaly32
set -uo pipefail
program=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$program" "$work/tessaly32"
export QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR=$work

fail() { echo "FAIL: $*"; exit 1; }

for signal in TERM INT HUP; do
  rm -f "$work/tsy32.ini"
  "$work/tessaly32" >"$work/out.txt" 2>&1 &
  pid=$!
  sleep 1.5  # the window is up and the output opened or given up
  kill -0 "$pid" 2>/dev/null || fail "SIG$signal: the program ended before the signal: $(cat "$work/out.txt")"
  kill -"$signal" "$pid"
  for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  if kill -0 "$pid" 2>/dev/null; then
    kill -KILL "$pid"
    fail "SIG$signal: still running 10 s after the signal"
  fi
  wait "$pid"
  status=$?
  [ "$status" -eq 0 ] || fail "SIG$signal: exit status $status, not 0"
  grep -q '^LoadInFile=' "$work/tsy32.ini" 2>/dev/null || fail "SIG$signal: the settings were not written"
  echo "ok: SIG$signal ends the program with 0 and writes the settings"
done
