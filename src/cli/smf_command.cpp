// tsy smf SRC [-o OUT.mid] [--max-length DURATION]: the desktop program's
// ExportSMF0, for scripts. The music is rendered through the engine without
// a device, straight into the file.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "cli/music_input.h"
#include "cli/play_position.h"
#include "core/engine/engine_call.h"
#include "core/smf/export_smf.h"
#include "platform/replacing_file.h"
#include "resources/string_table.h"
#include "resources/window_texts.h"

namespace tsy::cli {
namespace {

enum Exit { kExported = 0, kDiagnostic = 1, kFileFault = 2, kNothing = 3 };

constexpr const char* kMaxLengthOption = "--max-length";

// Seconds per unit of a duration: "90" and "90s" are seconds, "45m" minutes, "2h" hours.
struct DurationUnit {
  char suffix;
  double seconds;
};
constexpr DurationUnit kDurationUnits[] = {{'s', 1}, {'m', 60}, {'h', 3600}};

// A duration above 0 as --max-length takes it; false when `text` is none.
bool ParseDuration(const std::string& text, double& seconds) {
  char* end = nullptr;
  const double count = std::strtod(text.c_str(), &end);
  if (end == text.c_str() || !(count > 0)) return false;
  double unit = 1;
  if (*end != '\0') {
    const auto* found = std::find_if(std::begin(kDurationUnits), std::end(kDurationUnits),
                                     [&](const DurationUnit& u) { return u.suffix == *end; });
    if (found == std::end(kDurationUnits) || end[1] != '\0') return false;
    unit = found->seconds;
  }
  seconds = count * unit;
  return seconds < 1e15;
}

int Export(const std::string& source, const std::string& output, double limitSeconds, uint32_t from) {
  const SmfExport result = ExportSmf(output, limitSeconds, from);
  switch (result.outcome) {
    case SmfOutcome::kWritten: std::printf("%s\n", result.EndPosition().c_str()); return kExported;
    case SmfOutcome::kCannotCreate:
      std::fprintf(stderr, "%s: %s (%s)\n", LoadText(TextId::kCannotOpen), output.c_str(), result.reason.c_str());
      return kFileFault;
    case SmfOutcome::kWriteFailed:
      std::fprintf(stderr, "tsy: cannot write %s (%s)\n", output.c_str(), result.reason.c_str());
      return kFileFault;
    case SmfOutcome::kTooLong: PrintTooLong(source, result.length, limitSeconds, kMaxLengthOption); return kFileFault;
    case SmfOutcome::kTooLarge:
      std::fprintf(stderr, "tsy: the export of %s grew past the 4 GiB a MIDI track can hold; %s was not written\n",
                   source.c_str(), output.c_str());
      return kFileFault;
    case SmfOutcome::kNoImage: break;
  }
  std::fprintf(stderr, "%s\n", kNothingToSave);
  return kNothing;
}

}  // namespace

int RunSmf(const Arguments& args) {
  RemoveTemporariesOnSignals();  // an interrupted command leaves no half-written file behind
  double limitSeconds = kDefaultRenderLimitSeconds;
  if (auto text = args.Option(kMaxLengthOption); text && !ParseDuration(*text, limitSeconds)) {
    std::fprintf(stderr, "tsy: %s needs a duration above 0 such as 90, 90s, 45m or 2h, not '%s'\n", kMaxLengthOption,
                 text->c_str());
    return kUsageFault;
  }
  uint32_t from = 0;
  if (!ReadPositionOption(args, "--from", from)) return kUsageFault;
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
  const int exit = Export(source, output, limitSeconds, from);
  return exit == kExported && diagnostic ? kDiagnostic : exit;
}

}  // namespace tsy::cli
