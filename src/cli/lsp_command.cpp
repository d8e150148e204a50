// tsy lsp: the language server for editors, on standard input and output.
#include <unistd.h>

#include <ext/stdio_filebuf.h>
#include <iostream>

#include "cli/commands.h"
#include "cli/settings_device.h"
#include "lsp/server.h"

namespace tsy::cli {

int RunLsp(const Arguments&) {
  // Standard output carries the protocol alone: the protocol gets its own
  // copy of it, and whatever else would print there (an output or a
  // synthesiser opened for play) goes to stderr.
  const int protocolOut = ::dup(STDOUT_FILENO);
  if (protocolOut < 0 || ::dup2(STDERR_FILENO, STDOUT_FILENO) < 0) {
    std::perror("tsy lsp: standard output");
    return 2;
  }
  __gnu_cxx::stdio_filebuf<char> protocolBuffer(protocolOut, std::ios::out);
  std::ostream out(&protocolBuffer);
  std::ios::sync_with_stdio(false);
  lsp::ServerOptions options;
  options.configuredDevice = [] { return SettingsDevice(); };
  return lsp::RunServer(*std::cin.rdbuf(), out, std::move(options));
}

}  // namespace tsy::cli
