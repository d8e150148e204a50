// tsy smf SRC... [-o OUT.mid] [--max-length DURATION] [--format 0|1]: the
// desktop program's ExportSMF0, for scripts, or a file of one track per
// track. The music is rendered through the engine without a device, straight
// into the file.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "cli/batch.h"
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
constexpr const char* kFormatOption = "--format";
constexpr const char* kMidiExtension = ".mid";

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

// The file kind --format names: "0" (the default) or "1"; false for anything else.
bool ParseFormat(const std::optional<std::string>& text, SmfFormat& format) {
  format = SmfFormat::kSingleTrack;
  if (!text || *text == "0") return true;
  format = SmfFormat::kTrackPerTrack;
  return *text == "1";
}

int Export(const std::string& source, const std::string& output, double limitSeconds, SmfFormat format, uint32_t from,
           std::string& line) {
  const SmfExport result = ExportSmf(output, limitSeconds, format, from);
  switch (result.outcome) {
    case SmfOutcome::kWritten: line = result.EndPosition(); return kExported;
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

// One SRC into its MIDI file; the options were checked by RunSmf.
int ExportOne(const Arguments& args, std::string& line) {
  double limitSeconds = kDefaultRenderLimitSeconds;
  if (auto text = args.Option(kMaxLengthOption)) ParseDuration(*text, limitSeconds);
  SmfFormat format;
  ParseFormat(args.Option(kFormatOption), format);
  uint32_t from = 0;
  ReadPositionOption(args, "--from", from);
  const std::string source = args.positional[0];
  const std::string output = OutputFor(args, kMidiExtension);
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
  const int exit = Export(source, output, limitSeconds, format, from, line);
  return exit == kExported && diagnostic ? kDiagnostic : exit;
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
  if (SmfFormat format; !ParseFormat(args.Option(kFormatOption), format)) {
    std::fprintf(stderr, "tsy: %s takes 0 (one track) or 1 (a track per track), not '%s'\n", kFormatOption,
                 args.Option(kFormatOption)->c_str());
    return kUsageFault;
  }
  if (uint32_t from = 0; !ReadPositionOption(args, "--from", from)) return kUsageFault;
  return RunEach(args, {ExportOne, kMidiExtension});
}

}  // namespace tsy::cli
