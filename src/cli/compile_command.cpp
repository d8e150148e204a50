// tsy compile SRC.mus... [-o OUT.emd] [--json]: the desktop program's
// compile, for scripts.
#include <unistd.h>

#include <cstdio>
#include <string>

#include "cli/batch.h"
#include "cli/commands.h"
#include "cli/compile_report.h"
#include "core/compiler/compile_driver.h"
#include "platform/replacing_file.h"

namespace tsy::cli {
namespace {

// The result box's text, as it stands; on a terminal the prompt is kept
// off its last line.
void PrintMessageText(const std::string& cp932) {
  std::string text = MessageTextUtf8(cp932);
  std::fputs(text.c_str(), stdout);
  if (!text.empty() && text.back() != '\n' && ::isatty(STDOUT_FILENO)) std::fputc('\n', stdout);
  std::fflush(stdout);
}

constexpr const char* kImageExtension = ".emd";

// One source: the result box's text (one of several: the image's name), its
// diagnostics on stderr, the image written.
int CompileOne(const Arguments& args, std::string& line) {
  const std::string source = args.positional[0];
  const std::string output = OutputFor(args, kImageExtension);
  if (SameFile(source, output)) {
    std::fprintf(stderr, "tsy: the image %s would overwrite its source\n", output.c_str());
    return 2;
  }

  CompileResult result = CompileFile(source);
  if (!result.opened) {
    PrintCannotOpen(source, result.readError);
    return 2;
  }
  if (args.Option("--json")) {
    std::fputs(CompileReportJson(source, result).c_str(), stdout);
    std::fflush(stdout);
  } else if (!args.batch) {
    PrintMessageText(result.messageText);
  }
  PrintDiagnostics(source, result);
  if (const FileResult written = WriteFileReplacing(output, result.image); !written.ok()) {
    std::fprintf(stderr, "tsy: cannot write %s (%s)\n", output.c_str(), written.Reason().c_str());
    return 2;
  }
  if (args.batch) line = output + (result.errorFree() ? "" : " (the tracks before a diagnostic)");
  return result.errorFree() ? 0 : 1;
}

}  // namespace

int RunCompile(const Arguments& args) { return RunEach(args, {CompileOne, kImageExtension}); }

}  // namespace tsy::cli
