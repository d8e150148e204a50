#!/usr/bin/env bash
# The bash completion of tsy, run as bash runs it on Tab:
#   completion_test.sh TSY COMPLETION_SCRIPT
# Commands and options come from the built tsy; a stand-in tsy shows that
# options listed on their own help lines, with values or without, are found.
set -uo pipefail
export LC_ALL=C
tsy=$(realpath "$1")
source "$2"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
touch a.mus B.MUS c.emd d.mid e.wav f.sf2 g.txt
mkdir songs
failed=0

# What Tab offers after the words given (the last one is being typed), sorted.
offers() {
  COMP_WORDS=("$@")
  COMP_CWORD=$(($# - 1))
  COMPREPLY=()
  _tsy
  printf '%s\n' "${COMPREPLY[@]}" | sort | paste -sd' '
}
expect() {  # WANT WORDS...
  local want=$1 got
  shift
  got=$(offers "$@")
  if [[ $got != "$want" ]]; then
    echo "FAIL: ${*:2} -> '$got', want '$want'"
    failed=1
  fi
}

expect "compile devices dump help lsp play render smf" "$tsy" ""
expect "--help --version" "$tsy" --
expect "B.MUS a.mus songs" "$tsy" compile ""
expect "-o" "$tsy" compile -o
expect "c.emd songs" "$tsy" compile a.mus -o ""
expect "B.MUS a.mus c.emd songs" "$tsy" dump ""
expect "d.mid songs" "$tsy" smf a.mus -o ""
expect "e.wav songs" "$tsy" render a.mus -o ""
expect "flac" "$tsy" render a.mus --format f
expect "44100 48000" "$tsy" render a.mus --rate 4
expect "songs" "$tsy" render a.mus --stems ""
expect "" "$tsy" render a.mus --gain ""
expect "0 1" "$tsy" smf a.mus --format ""
expect "B.MUS a.mus c.emd songs" "$tsy" smf a.mus ""
expect "f.sf2 songs" "$tsy" render a.mus --soundfont ""
expect "--clock --connect --device --from --from-line --help --loop --positions --seconds --to --watch" "$tsy" play a.mus --
expect "" "$tsy" play a.mus --seconds ""
expect "" "$tsy" play a.mus --from ""
expect "" "$tsy" play a.mus --to ""
expect "B.MUS a.mus c.emd d.mid e.wav f.sf2 g.txt songs" "$tsy" play a.mus --positions ""
expect "Direct\\ Music MIDI\\ Mapper" "$tsy" play a.mus --device ""
expect "Direct\\ Music MIDI\\ Mapper" "$tsy" play a.mus --connect ""
expect "Direct\\ Music" "$tsy" play a.mus --device Di
expect "MIDI\\ Mapper" "$tsy" play a.mus --device 'MIDI\ M'
expect "" "$tsy" devices ""

cat >stand-in <<'END'
#!/bin/sh
case "$1 $2" in
  "help "*) printf 'usage: tsy <command>\ncommands:\n  compile SRC.mus  compile\n  lsp  language server\n' ;;
  "compile --help")
    printf 'usage: tsy compile SRC.mus [options]\n  -o, --output OUT.emd  write there\n'
    printf '  --json                Print as JSON\n  --jobs=N              N threads\n' ;;
esac
END
chmod +x stand-in
expect "compile lsp" ./stand-in ""
expect "--help --jobs --json --output -o" ./stand-in compile -
expect "c.emd songs" ./stand-in compile a.mus --output ""
expect "B.MUS a.mus songs" ./stand-in compile --json ""

exit $failed
