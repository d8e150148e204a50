// tsy compile SRC.mus [-o OUT.emd]: the desktop program's compile, for scripts.
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "cli/arguments.h"
#include "cli/commands.h"
#include "cli/compile_report.h"
#include "core/compiler/compile_driver.h"
#include "platform/replacing_file.h"

namespace tsy::cli {
namespace {

constexpr const char* kCompileHelp =
    "usage: tsy compile SRC.mus [-o OUT.emd]\n"
    "Compiles SRC into an object image (default: SRC with the extension .emd) and\n"
    "prints the compile result: any diagnostics and the length of every track in\n"
    "bars.ticks. Diagnostics also go to stderr as FILE:LINE: text.\n"
    "Sources may be Shift-JIS (CP932) or UTF-8.\n"
    "Exit: 0 compiled; 1 a diagnostic was raised (the tracks before it are still\n"
    "written); 2 the source cannot be read or the image cannot be written.\n";

std::string DefaultObjectPath(const std::string& source) {
  return std::filesystem::path(source).replace_extension(".emd").string();
}

// The result box's text, as it stands; on a terminal the prompt is kept
// off its last line.
void PrintMessageText(const std::string& cp932) {
  std::string text = MessageTextUtf8(cp932);
  std::fputs(text.c_str(), stdout);
  if (!text.empty() && text.back() != '\n' && ::isatty(STDOUT_FILENO)) std::fputc('\n', stdout);
  std::fflush(stdout);
}

}  // namespace

int RunCompile(int argc, char** argv, int first) {
  std::optional<Arguments> args = ParseArguments(argc, argv, first, {"-o"});
  if (!args) return 2;
  if (args->help) {
    std::fputs(kCompileHelp, stdout);
    return 0;
  }
  if (args->positional.size() != 1) {
    std::fputs(kCompileHelp, stderr);
    return 2;
  }
  const std::string source = args->positional[0];
  const std::string output = args->Option("-o").value_or(DefaultObjectPath(source));
  if (SameFile(source, output)) {
    std::fprintf(stderr, "tsy: the image %s would overwrite its source\n", output.c_str());
    return 2;
  }

  CompileResult result = CompileFile(source);
  if (!result.opened) {
    PrintCannotOpen(source, result.readError);
    return 2;
  }
  PrintMessageText(result.messageText);
  PrintDiagnostics(source, result);
  if (const FileResult written = WriteFileReplacing(output, result.image); !written.ok()) {
    std::fprintf(stderr, "tsy: cannot write %s (%s)\n", output.c_str(), written.Reason().c_str());
    return 2;
  }
  return result.errorFree() ? 0 : 1;
}

}  // namespace tsy::cli
