#!/usr/bin/env bash
# A real editor against tsy lsp: Neovim, headless, with the set-up shipped in
# editors/nvim, opens a faulty source; the diagnostic must arrive at its line
# and column with its text. Skipped (77) where Neovim is not installed.
# Usage: nvim_diagnostics_test.sh TSY EDITORS_FOLDER
set -euo pipefail
tsy=$1 editors=$2
command -v nvim >/dev/null || { echo "nvim is not installed: skipped"; exit 77; }

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
# The octave fault of "o9c" stands at the "c": line 2, column 5.
printf '1[c4 d8\n  o9c]\n' >"$scratch/faulty.mus"
cat >"$scratch/check.lua" <<'LUA'
local found = vim.wait(8000, function() return #vim.diagnostic.get(0) > 0 end, 50)
local lines = {}
if found then
  for _, d in ipairs(vim.diagnostic.get(0)) do
    table.insert(lines, string.format('%d:%d:%s:%s', d.lnum + 1, d.col + 1, tostring(d.code), d.message))
  end
else
  table.insert(lines, 'no diagnostic arrived; filetype=' .. vim.bo.filetype)
end
vim.fn.writefile(lines, vim.env.TSY_CHECK_OUT)
vim.cmd('qall!')
LUA

export HOME=$scratch XDG_CONFIG_HOME=$scratch/config XDG_DATA_HOME=$scratch/data XDG_STATE_HOME=$scratch/state
export TSY_CHECK_OUT=$scratch/result.txt
timeout 30 nvim --headless --clean --cmd "set runtimepath^=$editors/nvim" --cmd "let g:tessaly32_tsy = '$tsy'" \
  --cmd 'filetype plugin on' -c "luafile $scratch/check.lua" "$scratch/faulty.mus" </dev/null >/dev/null 2>&1 || true

result=$(cat "$scratch/result.txt" 2>/dev/null || echo "Neovim wrote no result")
expected="2:5:3026:オクターブ逸脱(9)！"
if [[ $result != "$expected" ]]; then
  echo "expected: $expected"
  echo "got:      $result"
  exit 1
fi
echo "diagnostic at $result"
