-- Tessaly32 in Neovim: starts `tsy lsp` for MML sources (*.mus) and offers
-- :TessalyPlay (plays the buffer from the cursor's line) and :TessalyStop.
-- The program is `tsy` on the PATH unless g:tessaly32_tsy names another.
local M = {}

local function command()
  return { vim.g.tessaly32_tsy or 'tsy', 'lsp' }
end

local function folder(buffer)
  local name = vim.api.nvim_buf_get_name(buffer)
  return name ~= '' and vim.fn.fnamemodify(name, ':p:h') or vim.fn.getcwd()
end

-- One server for every source buffer. Neovim 0.8 and later find it again
-- themselves; 0.7 keeps the client's id here.
local client_id = nil

local function start(buffer)
  local config = { name = 'tessaly32', cmd = command(), root_dir = folder(buffer) }
  if vim.lsp.start then
    vim.lsp.start(config, { bufnr = buffer })
    return
  end
  if not client_id or not vim.lsp.get_client_by_id(client_id) then
    client_id = vim.lsp.start_client(config)
  end
  if client_id then
    vim.lsp.buf_attach_client(buffer, client_id)
  end
end

local function execute(name, with_position)
  local arguments = {}
  if with_position then
    arguments = { vim.lsp.util.make_position_params() }
  end
  vim.lsp.buf.execute_command({ command = name, arguments = arguments })
end

function M.attach(buffer)
  start(buffer)
  vim.api.nvim_buf_create_user_command(buffer, 'TessalyPlay', function()
    execute('tessaly32.playFromCursor', true)
  end, { desc = 'Play the buffer from the cursor line' })
  vim.api.nvim_buf_create_user_command(buffer, 'TessalyStop', function()
    execute('tessaly32.stop', false)
  end, { desc = 'Stop playing' })
end

return M
