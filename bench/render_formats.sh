#!/usr/bin/env bash
# Render speed per sound format: `tsy render` against `fluidsynth -F OUT -T TYPE` on the same
# piece (its SMF export), in seconds of sound per second of work. Figures only.
#   bench/render_formats.sh TSY [PIECE.mus] [SF2]
set -euo pipefail
tsy=$(realpath "$1")
piece=$(realpath "${2:-$(dirname "$0")/../examples/demo.mus}")
soundfont=${3:-/usr/share/sounds/sf2/default-GM.sf2}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

"$tsy" smf "$piece" -o piece.mid >/dev/null
calc() { awk "BEGIN { printf \"%.2f\", $1 }"; }
elapsed() { local start end; start=$(date +%s.%N); "$@" >/dev/null 2>&1; end=$(date +%s.%N); calc "$end - $start"; }
length() { soxi -D "$1" 2>/dev/null || opusinfo "$1" | sed -n 's/.*Playback length: \([0-9]*\)m:\([0-9.]*\)s.*/\1 \2/p' |
  awk '{ print $1 * 60 + $2 }'; }

printf '%-6s %-34s %-34s\n' format "tsy render" "fluidsynth -F"
# format, fluidsynth's -T type ("" where it has none)
for row in wav:wav flac:flac ogg:oga opus: rf64:rf64 w64:w64; do
  format=${row%%:*} type=${row#*:}
  t=$(elapsed "$tsy" render "$piece" -o "tsy.$format" --soundfont "$soundfont")
  tsy_figure="$(calc "$(length "tsy.$format") / $t")x real time ($t s)"
  fs_figure="-"
  if [[ -n $type ]]; then
    f=$(elapsed fluidsynth -ni -q -F "fs.$format" -T "$type" -r 44100 "$soundfont" piece.mid)
    fs_figure="$(calc "$(length "fs.$format") / $f")x real time ($f s)"
  fi
  printf '%-6s %-34s %-34s\n' "$format" "$tsy_figure" "$fs_figure"
done
