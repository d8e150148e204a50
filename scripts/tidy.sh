#!/usr/bin/env bash
# Runs clang-tidy (.clang-tidy) over the C++ files that changed since BASE:
# the first argument, else origin/main where there is one, else the state of
# the tree before the latest stretch of work (commits less than six hours
# apart). A changed header brings in the file
# of the same name beside it. Needs a configured build (compile_commands.json).
# Exits nonzero on any finding.
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${BUILD_DIR:-build}
base=${1:-}
if [ -z "$base" ]; then
  if git rev-parse -q --verify origin/main >/dev/null; then
    base=$(git merge-base HEAD origin/main)
  else
    # The commit before the latest stretch of work: the newest commit that
    # the next one follows by more than six hours.
    base=$(git log --format='%H %ct' | awk '!found && NR > 1 && newer - $2 > 21600 { print $1; found = 1 } { newer = $2 }')
    [ -n "$base" ] || base=$(git rev-list --max-parents=0 HEAD | tail -n 1)
  fi
fi
mapfile -t files < <(git diff --name-only --diff-filter=d "$base" -- 'src/*.cpp' 'src/*.h' |
  sed 's/\.h$/.cpp/' | sort -u | while read -r f; do [ -f "$f" ] && echo "$f"; done)
if [ ${#files[@]} -eq 0 ]; then
  echo "tidy: no C++ file changed since $(git rev-parse --short "$base")"
  exit 0
fi
echo "tidy: ${#files[@]} files changed since $(git rev-parse --short "$base")"
printf '%s\n' "${files[@]}" | xargs -P "$(nproc)" -n 4 clang-tidy -p "$build_dir" --quiet --extra-arg=-Wno-unknown-warning-option 2>/dev/null
echo "tidy: clean"
