#!/usr/bin/env bash
# The Neovim follower in a real Neovim: it plays a source through tsy (the
# built-in synthesiser recording to a file) and highlights the line each
# track plays, read from tsy's positions feed.
# Usage: nvim_follow_test.sh TSY PLUGIN
set -euo pipefail
tsy=$1
plugin=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
cat >follow.mus <<'MUS'
; two tracks on their own lines
1[ t240 @19 o4 c1 c1 c1 c1 ]
2[ t240 @33 o2 c1 c1 c1 c1 ]
MUS
export TSY_AUDIO_DRIVER=file
timeout 60 nvim --headless -u NONE -i NONE \
  -c "let g:tessaly32_tsy = '$tsy'" \
  -c "luafile $plugin" \
  -c "edit follow.mus" \
  -c 'TsyFollow --device "Direct Music" --from 1' \
  -c "lua local ns = vim.api.nvim_create_namespace('tessaly32_follow')
      local seen = vim.wait(20000, function()
        return #vim.api.nvim_buf_get_extmarks(0, ns, 0, -1, {}) >= 4
      end, 20)
      local rows = {}
      for _, m in ipairs(vim.api.nvim_buf_get_extmarks(0, ns, 0, -1, {})) do rows[m[2] + 1] = true end
      local out = {}
      for row in pairs(rows) do table.insert(out, tostring(row)) end
      table.sort(out)
      vim.fn.writefile({tostring(seen), table.concat(out, ','), vim.b.tessaly32_position or ''}, 'result.txt')" \
  -c "TsyFollowStop" -c "qa!"
result=$(cat result.txt)
echo "$result"
[[ $(sed -n 1p result.txt) == true ]] || { echo "no highlight appeared"; exit 1; }
[[ $(sed -n 2p result.txt) == "2,3" ]] || { echo "the playing lines are 2 and 3"; exit 1; }
[[ $(sed -n 3p result.txt) =~ ^[1-3]\.[0-9]{3}$ ]] || { echo "the position is shown from bar 1 on"; exit 1; }
echo "nvim follower: ok"
