// tsy smf SRC [-o OUT.mid]: the desktop program's ExportSMF0, for scripts. The
// music is rendered through the engine without a device.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "cli/arguments.h"
#include "cli/commands.h"
#include "cli/music_input.h"
#include "core/engine/engine_call.h"
#include "core/smf/export_smf.h"
#include "platform/replacing_file.h"
#include "resources/string_table.h"
#include "resources/window_texts.h"

namespace tsy::cli {
namespace {

constexpr const char* kSmfHelp =
    "usage: tsy smf SRC [-o OUT.mid]\n"
    "Renders a source (.mus, compiled first) or an object image (.emd) through the\n"
    "engine into a Standard MIDI File of format 0 (default: SRC with the extension\n"
    ".mid) and prints where the music ends, as bars.ticks (192 ticks to a bar).\n"
    "Exit: 0 written; 1 the source raised a diagnostic (the tracks before it are\n"
    "exported); 2 a file cannot be read or written, or is no playable image;\n"
    "3 there is nothing to export.\n";

enum Exit { kExported = 0, kDiagnostic = 1, kFileFault = 2, kNothing = 3 };

std::string DefaultSmfPath(const std::string& source) {
  return std::filesystem::path(source).replace_extension(".mid").string();
}

int Export(const std::string& output) {
  const SmfExport result = ExportSmf(output);
  switch (result.outcome) {
    case SmfOutcome::kWritten: std::printf("%s\n", result.EndPosition().c_str()); return kExported;
    case SmfOutcome::kCannotCreate:
      std::fprintf(stderr, "%s: %s (%s)\n", LoadText(TextId::kCannotOpen), output.c_str(), result.reason.c_str());
      return kFileFault;
    case SmfOutcome::kWriteFailed:
      std::fprintf(stderr, "tsy: cannot write %s (%s)\n", output.c_str(), result.reason.c_str());
      return kFileFault;
    case SmfOutcome::kNoImage: break;
  }
  std::fprintf(stderr, "%s\n", kNothingToSave);
  return kNothing;
}

}  // namespace

int RunSmf(int argc, char** argv, int first) {
  std::optional<Arguments> args = ParseArguments(argc, argv, first, {"-o"});
  if (!args) return kFileFault;
  if (args->help) {
    std::fputs(kSmfHelp, stdout);
    return kExported;
  }
  if (args->positional.size() != 1) {
    std::fputs(kSmfHelp, stderr);
    return kFileFault;
  }
  const std::string source = args->positional[0];
  const std::string output = args->Option("-o").value_or(DefaultSmfPath(source));
  if (SameFile(source, output)) {
    std::fprintf(stderr, "tsy: the MIDI file %s would overwrite its source\n", output.c_str());
    return kFileFault;
  }

  std::vector<uint8_t> image;
  bool diagnostic = false;
  if (!ReadImage(source, image, &diagnostic)) return kFileFault;
  if (!HasTrack(image)) {
    std::fprintf(stderr, "%s\n", kNothingToSave);
    return kNothing;
  }
  if (!CheckPlayedVersion(source, image)) return kFileFault;
  std::vector<uint8_t> objectBuffer(kObjectBufferSize, 0);
  std::copy(image.begin(), image.end(), objectBuffer.begin());
  LoadMusic(objectBuffer);
  const int exit = Export(output);
  return exit == kExported && diagnostic ? kDiagnostic : exit;
}

}  // namespace tsy::cli
