#!/usr/bin/env bash
# tsy as a JACK citizen, against a JACK server with its dummy backend and a
# MIDI sink client of our own that stamps what arrives:
#   - tsy devices lists the sink's port and the port of our own;
#   - tsy play into the sink delivers every message of the SMF export of the
#     same source (read back by mido), in order;
#   - --connect plays through Tessaly32:out connected to the sink;
#   - --clock sends Start, a timing clock every second tick and Stop;
#   - SIGTERM halts: every channel gets all-notes-off, exit 0;
#   - the server stopping under it is told once and does not end tsy play;
#   - nothing the libraries print reaches tsy's standard output.
# Skips (77) where jackd or mido is missing.
#   jack_play_test.sh TSY JACK_MIDI_SINK
set -euo pipefail
tsy=$1 sink=$2
command -v jackd >/dev/null || { echo "no jackd: skipped"; exit 77; }
python=/usr/bin/python3
"$python" -c 'import mido' 2>/dev/null || { echo "no python3-mido: skipped"; exit 77; }

work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  if [ -n "${TSY_KEEP_WORK:-}" ]; then echo "kept $work"; else rm -rf "$work"; fi
}
trap cleanup EXIT
cd "$work"
fail() { echo "FAIL: $*"; exit 1; }

# A server of our own name, so that tests running side by side stay apart.
# 1024-frame periods (TSY_JACK_PERIOD to change): the dummy backend wakes
# late by several milliseconds on a loaded virtual machine, and at shorter
# periods it then restarts cycles or times clients out, whose MIDI never
# reaches the sink. This check is of what arrives and in what order;
# bench/jack_timing measures timing at 32 frames.
export JACK_DEFAULT_SERVER=tsy-test-$$
jackd -n "$JACK_DEFAULT_SERVER" -d dummy -r 48000 -p "${TSY_JACK_PERIOD:-1024}" >jackd.log 2>&1 &
pids+=($!)

# Starts sink client $1, writing its arrivals to $1.txt, once the server takes clients.
start_sink() {
  local name=$1
  for _ in $(seq 100); do
    "$sink" "$name" >"$name.txt" 2>"$name.err" &
    local pid=$!
    for _ in $(seq 20); do
      if grep -q '^ready$' "$name.txt" 2>/dev/null; then pids+=("$pid"); eval "${name}_pid=$pid"; return 0; fi
      kill -0 "$pid" 2>/dev/null || break
      sleep 0.05
    done
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    sleep 0.1
  done
  cat jackd.log
  fail "the JACK server did not start"
}
stop_sink() {
  local pid_var=${1}_pid
  kill -TERM "${!pid_var}"
  wait "${!pid_var}" || true
}

start_sink sink
start_sink held

# The ports, as a new user would see them.
"$tsy" devices >devices.txt 2>devices.err
grep -qx 'Tessaly32' devices.txt || fail "tsy devices does not list Tessaly32: $(cat devices.txt)"
grep -qx 'sink:in' devices.txt || fail "tsy devices does not list the sink: $(cat devices.txt)"
[ -s devices.err ] && fail "tsy devices printed on stderr: $(cat devices.err)"
"$tsy" devices -v >devices-v.txt
grep -q $'^sink:in\tJACK port$' devices-v.txt || fail "tsy devices -v: $(cat devices-v.txt)"

# Four tracks: programs, controllers, chords, a tempo change and a rest.
cat >piece.mus <<'MUS'
1[ t150 @ch1 @19 @vol100 @pan-10 v13 o4 l8 c d e f g4 a4 t120 b >c< r4 c2/e/g ]
2[ @ch2 @33 v12 o2 l4 c g c g c g c2 ]
3[ @ch10 v14 o3 l8 c f+ d f+ c f+ d f+ c4 d4 ]
4[ @ch3 @48 @vol80 v10 o5 c1 e2 ]
MUS
"$tsy" smf piece.mus -o piece.mid >/dev/null

play_into() {  # sink name, then tsy play's arguments
  local name=$1
  shift
  start_sink "$name"
  "$tsy" play piece.mus "$@" >"$name.out" 2>"$name.play-err" || fail "tsy play $* exited $?: $(cat "$name.play-err")"
  stop_sink "$name"
  grep -q '^playing piece.mus through ' "$name.out" || fail "tsy play $*: $(cat "$name.out")"
  # The status line is all tsy writes: no library's words on its standard output.
  local others
  others=$(grep -v -e '^playing piece.mus through ' -e '^ *[0-9]*\.[0-9]*  tempo ' "$name.out" || true)
  [ -z "$others" ] || fail "tsy play $* wrote more than its own lines: $others"
}
play_into direct --device direct:in
play_into connected --connect connected:in
play_into clocked --device clocked:in --clock

# Every message of the export's music arrives, in order, as one run between
# the set-up before it and the halt after it.
end=$(tail -c 60 clocked.out | grep -o '[0-9]*\.[0-9]*  tempo' | tail -1 | cut -d' ' -f1)
"$python" - piece.mid direct.txt connected.txt clocked.txt "$end" <<'PY'
import sys, mido

# The export's music: what follows the bar of initialisation (the live
# set-up before play differs from it), from the piece's first program
# change on: the initialisation sets program 0 only.
def exported(path):
    out = None
    for message in mido.MidiFile(path).tracks[0]:
        if message.type == 'program_change' and message.program != 0 and out is None:
            out = []
        if message.is_meta or out is None:
            continue
        out.append(tuple(message.bin()) if message.type != 'sysex' else (0xF0, *message.data, 0xF7))
    return out

def arrived(path, clock=False):
    out = []
    for line in open(path):
        if line.startswith('ready'):
            continue
        data = tuple(int(b, 16) for b in line.split()[1:])
        if clock or data[0] < 0xF8:
            out.append(data)
    return out

def find_run(run, within):
    for start in range(len(within) - len(run) + 1):
        if within[start:start + len(run)] == run:
            return start
    return -1

music = exported(sys.argv[1])
assert len(music) > 40, f"the export holds {len(music)} messages"
for path in sys.argv[2:5]:
    received = arrived(path)
    if find_run(music, received) < 0:
        common = next((i for i, (a, b) in enumerate(zip(music, received)) if a != b), None)
        sys.exit(f"{path}: the export's {len(music)} messages do not arrive as one run "
                 f"({len(received)} arrived; first difference at {common})")

# The clock: Start before the music, a clock every second tick, Stop at the end.
clocked = arrived(sys.argv[4], clock=True)
kinds = [m[0] for m in clocked]
assert 0xFA in kinds and 0xFC in kinds, "Start and Stop"
start, stop = kinds.index(0xFA), len(kinds) - 1 - kinds[::-1].index(0xFC)
first_note = next(i for i, m in enumerate(clocked) if m[0] & 0xF0 == 0x90 and m[2] > 0)
assert start < first_note < stop, "Start comes before the first note and Stop after the music"
bars, ticks = sys.argv[5].split('.')
length = int(bars) * 192 + int(ticks)  # where play ended, as its status line says
clocks = kinds.count(0xF8)
# Exact in the unit tests; here a dummy server on a loaded machine may end
# play a tick either side of the status line's last word.
assert abs(clocks - (length // 2 + 1)) <= 1, f"{clocks} clocks for ticks 0..{length}"
PY

# The built-in synthesiser sounding through JACK: JACK's client library is
# loaded by FluidSynth too, and still nothing but tsy's lines is written.
printf '1[ t240 @19 o4 c4 d4 ]\n' >two.mus
TSY_AUDIO_DRIVER=jack "$tsy" play two.mus --device 'Direct Music' >synth.out 2>synth.err
others=$(tr '\r' '\n' <synth.out | grep -v -e '^playing two.mus through Direct Music' -e '^ *[0-9]*\.[0-9]*  tempo ' -e '^$' || true)
[ -z "$others" ] || fail "tsy play through the synthesiser wrote more than its own lines: $others"
grep -q $'^Direct Music\t.*jack$' <("$tsy" devices -v) || fail "tsy devices -v does not name the jack driver"

# SIGTERM while notes sound: halted, every channel silenced, exit 0.
printf '1[ t120 @19 o4 (c1/e/g)20 ]\n' >long.mus
"$tsy" play long.mus --device held:in >held.out 2>held.play-err &
player=$!
sleep 1.5
kill -TERM "$player"
status=0
wait "$player" || status=$?
[ "$status" -eq 0 ] || fail "tsy play after SIGTERM exited $status"
grep -q 'halted' held.out || fail "tsy play after SIGTERM: $(cat held.out)"
stop_sink held
"$python" - held.txt <<'PY'
import sys
lines = [l.split()[1:] for l in open(sys.argv[1]) if not l.startswith('ready')]
messages = [tuple(int(b, 16) for b in l) for l in lines]
on = [i for i, m in enumerate(messages) if m[0] & 0xF0 == 0x90 and m[2] > 0]
assert on, "notes sounded before the signal"
after = messages[on[-1]:]
silenced = {m[0] & 0x0F for m in after if m[0] & 0xF0 == 0xB0 and m[1] == 123}
assert silenced == set(range(16)), f"all notes off on channels {sorted(silenced)}"
# The port's closing silence (sustain off on every channel) still reaches JACK.
released = {m[0] & 0x0F for m in after if m[0] & 0xF0 == 0xB0 and m[1] == 64 and m[2] == 0}
assert released == set(range(16)), f"sustain off on channels {sorted(released)}"
PY

# The server stopping under a playing tsy: tsy says so once and lives on
# until it is told to stop, and then ends as usual.
start_sink gone
"$tsy" play long.mus --device gone:in >gone.out 2>gone.play-err &
player=$!
sleep 1
kill "${pids[0]}"  # the server
wait "${pids[0]}" 2>/dev/null || true
sleep 1
kill -0 "$player" 2>/dev/null || { wait "$player"; fail "tsy play died with status $? when the server stopped"; }
kill -TERM "$player"
status=0
wait "$player" || status=$?
[ "$status" -eq 0 ] || fail "tsy play after the server stopped and SIGTERM exited $status"
[ "$(grep -c "the JACK server has stopped" gone.play-err)" -eq 1 ] || fail "the server's stop was not told once: $(cat gone.play-err)"
echo "ok"
