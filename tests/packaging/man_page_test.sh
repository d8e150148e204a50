#!/usr/bin/env bash
# The man pages render without a warning and name what the programs list:
#   man_page_test.sh TSY PACKAGING_DIR [TESSALY32]
# Every command of `tsy help` has its section in tsy(1) and every option of
# `tsy CMD --help` is named in it, read as the bash completion reads them; a
# command or option added to tsy fails here until its page says what it does.
# tessaly32(1) names every option of `tessaly32 --help`, which runs without a
# display.
set -uo pipefail
tsy=$1 packaging=$2 tessaly32=${3:-}
source "$packaging/tsy.bash-completion"
failed=0
fail() {
  echo "FAIL: $*"
  failed=1
}

pages=("$packaging/tsy.1")
[[ -n $tessaly32 ]] && pages+=("$packaging/tessaly32.1")
for page in "${pages[@]}"; do
  warnings=$(groff -man -ww -z -Tutf8 "$page" 2>&1)
  [[ -z $warnings ]] || fail "$(basename "$page") renders with warnings: $warnings"
done

# The text of tsy(1)'s section for one command: from its .SS line to the next section.
section() { awk -v name="$1" '/^\.S[SH] / { inside = $0 ~ ("^\\.SS \"?" name "( |\"|$)") } inside' "$packaging/tsy.1"; }
# An option as troff writes it: every "-" escaped.
troff() { sed 's/-/\\-/g' <<<"$1"; }

commands=$(_tsy_commands "$tsy")
[[ -n $commands ]] || fail "tsy help lists no command"
for command in $commands; do
  text=$(section "$command")
  if [[ -z $text ]]; then
    fail "tsy.1 has no section for the command $command"
    continue
  fi
  for option in $(_tsy_options "$tsy" "$command" | cut -d' ' -f2); do
    [[ $option == --help ]] && continue  # every command's, under OPTIONS
    grep -qF -- "$(troff "$option")" <<<"$text" || fail "tsy.1 does not name $command's option $option"
  done
done

if [[ -n $tessaly32 ]]; then
  options=$(
    unset DISPLAY WAYLAND_DISPLAY
    export QT_QPA_PLATFORM=xcb
    _tsy_options "$tessaly32" | cut -d' ' -f2
  )
  [[ $options == *--version* ]] || fail "tessaly32 --help does not run without a display"
  for option in $options; do
    grep -qF -- "$(troff "$option")" "$packaging/tessaly32.1" || fail "tessaly32.1 does not name $option"
  done
fi
exit $failed
