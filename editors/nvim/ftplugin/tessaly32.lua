-- Every Tessaly32 source buffer talks to the language server `tsy lsp`.
require('tessaly32').attach(vim.api.nvim_get_current_buf())
