-- Tessaly32 for Neovim: play the current .mus buffer with tsy and follow it.
-- Each track's playing line is highlighted and marked with its track number
-- at the end of the line, and the note's own column is marked as well; saving
-- the buffer is heard at the next bar line (tsy play --watch).
--
--   :luafile /path/to/tessaly32_follow.lua   (or put it on 'runtimepath' under lua/ and require it)
--   :TsyFollow [tsy play options]            e.g. :TsyFollow --device "Direct Music" --from 8
--   :TsyFollowStop
--
-- vim.g.tessaly32_tsy names the tsy program (default "tsy").

local M = {}

local ns = vim.api.nvim_create_namespace("tessaly32_follow")
local job = nil
local followed = nil -- the buffer being followed

-- The byte index of character `column` (from 1) of `text`.
local function byte_of_column(text, column)
  local ok, index = pcall(vim.str_byteindex, text, column - 1)
  if ok and index then return index end
  return math.min(column - 1, #text)
end

-- Marks where every track of one feed line plays.
local function show(buf, feed_line)
  local ok, position = pcall(vim.json.decode, feed_line)
  if not ok or type(position) ~= "table" or not vim.api.nvim_buf_is_valid(buf) then return end
  vim.api.nvim_buf_clear_namespace(buf, ns, 0, -1)
  local rows = vim.api.nvim_buf_line_count(buf)
  for _, track in ipairs(position.tracks or {}) do
    local row = (track.line or 0) - 1
    if row >= 0 and row < rows then
      vim.api.nvim_buf_set_extmark(buf, ns, row, 0, {
        line_hl_group = "CursorLine",
        virt_text = { { " ♪" .. track.track, "Comment" } },
        virt_text_pos = "eol",
      })
      local text = vim.api.nvim_buf_get_lines(buf, row, row + 1, false)[1] or ""
      local col = byte_of_column(text, track.column or 1)
      if col < #text then
        vim.api.nvim_buf_set_extmark(buf, ns, row, col, { end_col = col + 1, hl_group = "Search" })
      end
    end
  end
  vim.b[buf].tessaly32_position = position.position
end

-- The words of a command line; "double quotes" keep spaces in one word.
local function words(text)
  local out, i = {}, 1
  while true do
    local s = text:find("%S", i)
    if not s then return out end
    local quoted = text:sub(s, s) == '"'
    local e = quoted and (text:find('"', s + 1) or #text + 1) or (text:find("%s", s) or #text + 1)
    table.insert(out, quoted and text:sub(s + 1, e - 1) or text:sub(s, e - 1))
    i = e + 1
  end
end

function M.stop()
  if job then vim.fn.jobstop(job) end
  job = nil
  if followed and vim.api.nvim_buf_is_valid(followed) then vim.api.nvim_buf_clear_namespace(followed, ns, 0, -1) end
  followed = nil
end

-- Plays the current buffer's file with `options` (a list of words) and follows it.
function M.start(options)
  M.stop()
  local buf = vim.api.nvim_get_current_buf()
  local file = vim.api.nvim_buf_get_name(buf)
  if file == "" then
    vim.notify("Tessaly32: save the buffer to a .mus file first", vim.log.levels.ERROR)
    return
  end
  local command = { vim.g.tessaly32_tsy or "tsy", "play", file, "--watch", "--positions", "-" }
  vim.list_extend(command, options or {})
  local pending = "" -- a feed line may arrive in pieces
  followed = buf
  job = vim.fn.jobstart(command, {
    on_stdout = function(_, data)
      data[1] = pending .. data[1]
      pending = table.remove(data)
      if #data > 0 then show(buf, data[#data]) end -- only the newest position matters
    end,
    on_stderr = function(_, data)
      local text = vim.trim(table.concat(data, "\n"))
      if text ~= "" then vim.notify("tsy: " .. text, vim.log.levels.WARN) end
    end,
    on_exit = function()
      job = nil
      vim.schedule(function()
        if vim.api.nvim_buf_is_valid(buf) then vim.api.nvim_buf_clear_namespace(buf, ns, 0, -1) end
      end)
    end,
  })
  if job <= 0 then
    vim.notify("Tessaly32: cannot start " .. command[1], vim.log.levels.ERROR)
    job = nil
  end
end

vim.api.nvim_create_user_command("TsyFollow", function(args) M.start(words(args.args)) end, { nargs = "*" })
vim.api.nvim_create_user_command("TsyFollowStop", M.stop, {})

return M
