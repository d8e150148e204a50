// tsy help [COMMAND]: the command list, or one command's help.
#include <cstdio>

#include "cli/commands.h"
#include "cli/help_text.h"

namespace tsy::cli {

int RunHelp(const Arguments& args) {
  if (args.positional.empty()) {
    PrintCommandList(stdout);
    return 0;
  }
  const Command* command = FindCommand(args.positional[0]);
  if (!command) {
    std::fprintf(stderr, "tsy: unknown command '%s'\n", args.positional[0].c_str());
    PrintCommandList(stderr);
    return kUsageFault;
  }
  PrintCommandHelp(*command, stdout);
  return 0;
}

}  // namespace tsy::cli
