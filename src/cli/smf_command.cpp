// tsy smf SRC [-o OUT.mid]: the desktop program's ExportSMF0, for scripts. The
// music is rendered through the engine without a device.
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "cli/music_input.h"
#include "core/engine/engine_call.h"
#include "core/smf/export_smf.h"
#include "platform/replacing_file.h"
#include "resources/string_table.h"
#include "resources/window_texts.h"

namespace tsy::cli {
namespace {


enum Exit { kExported = 0, kDiagnostic = 1, kFileFault = 2, kNothing = 3 };

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

int RunSmf(const Arguments& args) {
  const std::string source = args.positional[0];
  const std::string output = args.OutputPath(".mid");
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
