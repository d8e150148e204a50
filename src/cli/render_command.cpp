// tsy render SRC... [-o OUT] [--format NAME] [--rate HZ] [--gain DB]
// [--stems DIR] [--soundfont SF2]: the SMF export of a piece, rendered
// offline through the built-in synthesiser into a sound file, or into one
// file per track.
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <optional>

#include "cli/batch.h"
#include "cli/commands.h"
#include "cli/music_input.h"
#include "cli/stems.h"
#include "core/engine/engine_call.h"
#include "core/smf/export_smf.h"
#include "midiout/audio_render.h"
#include "midiout/builtin_synth.h"
#include "midiout/smf_reader.h"
#include "platform/replacing_file.h"

namespace tsy::cli {
namespace {

constexpr int kBarWidth = 40;
constexpr double kLargestGainDb = 40;  // louder or softer than this is surely a slip

constexpr const char* kFormatOption = "--format";
constexpr const char* kRateOption = "--rate";
constexpr const char* kGainOption = "--gain";
constexpr const char* kStemsOption = "--stems";

// "[##########--------------]  45%" on stderr, redrawn in place whenever the
// percentage moves; one bar per output.
class ProgressBar {
 public:
  void Show(double fraction) {
    const int percent = static_cast<int>(std::lround(fraction * 100));
    if (percent == shown_) return;
    shown_ = percent;
    const int filled = percent * kBarWidth / 100;
    std::fprintf(stderr, "\r[%s%s] %3d%%%s", std::string(filled, '#').c_str(),
                 std::string(kBarWidth - filled, '-').c_str(), percent, percent >= 100 ? "\n" : "");
    std::fflush(stderr);
  }

 private:
  int shown_ = -1;
};

// The SMF export of the music in `objectBuffer`, read back as timed
// messages. The engine is this command's alone: no play thread runs. Music
// that could play longer than a day is refused, as tsy smf refuses it.
bool ExportMusic(const std::string& source, const std::vector<uint8_t>& objectBuffer, SmfFormat format,
                 std::vector<TimedMessage>& music) {
  LoadMusic(objectBuffer);
  if (const RenderLength length = LongestRender(CurrentImage()); length.Exceeds(kDefaultRenderLimitSeconds)) {
    PrintTooLong(source, length, kDefaultRenderLimitSeconds, nullptr);
    return false;
  }
  RequestExport();  // the music's own restart or stop requests do not apply
  ConfirmExport();
  uint32_t endTick = 0;
  const std::vector<uint8_t> smf = RenderSmf(endTick, format);
  std::string fault;
  if (!ReadSmf(smf, music, fault)) {
    std::fprintf(stderr, "tsy: the export of %s cannot be read back (%s)\n", source.c_str(), fault.c_str());
    return false;
  }
  return true;
}

// The file format of the render: --format, else the output's extension,
// else WAV (an extension that names no format gets WAV, as before there were
// others, with a word on stderr). Null after saying why on stderr.
const SoundFormatInfo* ChooseFormat(const Arguments& args) {
  std::string names;
  for (const SoundFormatInfo& f : SoundFormats()) names += std::string(names.empty() ? "" : ", ") + f.name;
  if (auto name = args.Option(kFormatOption)) {
    const SoundFormatInfo* format = FindSoundFormat(*name);
    if (!format) std::fprintf(stderr, "tsy: %s takes %s, not '%s'\n", kFormatOption, names.c_str(), name->c_str());
    return format;
  }
  const std::optional<std::string> output = args.Option("-o");
  if (!output || output->back() == '/' || std::filesystem::path(*output).extension().empty())
    return FindSoundFormat("wav");
  if (const SoundFormatInfo* format = SoundFormatOfPath(*output)) return format;
  std::fprintf(stderr, "tsy: %s: no sound format has the extension %s (%s); writing WAV (%s names another)\n",
               output->c_str(), std::filesystem::path(*output).extension().c_str(), names.c_str(), kFormatOption);
  return FindSoundFormat("wav");
}

// The render's settings from the options; nothing after saying why on stderr.
std::optional<RenderSettings> ChooseSettings(const Arguments& args) {
  RenderSettings settings;
  settings.format = ChooseFormat(args);
  if (!settings.format) return std::nullopt;
  settings.rate = settings.format->onlyRate ? settings.format->onlyRate : kSynthSampleRate;
  if (auto text = args.Option(kRateOption)) {
    char* end = nullptr;
    const long rate = std::strtol(text->c_str(), &end, 10);
    if (end == text->c_str() || *end != '\0' || !IsRenderRate(static_cast<int>(rate))) {
      std::fprintf(stderr, "tsy: %s takes 22050, 44100, 48000 or 96000 (frames per second), not '%s'\n", kRateOption,
                   text->c_str());
      return std::nullopt;
    }
    if (settings.format->onlyRate && rate != settings.format->onlyRate) {
      std::fprintf(stderr, "tsy: %s files are made at %d frames per second only, not %ld\n", settings.format->name,
                   settings.format->onlyRate, rate);
      return std::nullopt;
    }
    settings.rate = static_cast<int>(rate);
  }
  if (auto text = args.Option(kGainOption)) {
    char* end = nullptr;
    settings.gainDb = std::strtod(text->c_str(), &end);
    const bool unit = *end == '\0' || std::strcmp(end, "dB") == 0 || std::strcmp(end, "db") == 0;
    if (end == text->c_str() || !unit || !(std::fabs(settings.gainDb) <= kLargestGainDb)) {
      std::fprintf(stderr, "tsy: %s takes decibels from -40 to +40 such as -6 or 3dB, not '%s'\n", kGainOption,
                   text->c_str());
      return std::nullopt;
    }
  }
  settings.wholeTail = args.Option(kStemsOption).has_value();
  return settings;
}

// "WAV", "FLAC": the format as a reader knows it.
std::string UpperName(const SoundFormatInfo& format) {
  std::string name = format.name;
  for (char& c : name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return name;
}

// Says on stderr that the render of `source` cannot fit its format; true when it fits.
bool CheckFits(const std::string& source, const std::vector<TimedMessage>& music, const RenderSettings& settings) {
  const RenderPlan plan = PlanRender(music, settings);
  if (plan.fits) return true;
  std::fprintf(stderr,
               "tsy: the render of %s lasts up to %s and would make a %s file of %llu bytes, more than the %llu "
               "bytes (4 GiB) a %s file can describe; nothing was written (--format rf64 or w64 writes it)\n",
               source.c_str(), ClockText(plan.seconds).c_str(), UpperName(*settings.format).c_str(),
               static_cast<unsigned long long>(plan.bytes),
               static_cast<unsigned long long>(settings.format->largestFile), UpperName(*settings.format).c_str());
  return false;
}

// Says on stderr why a render failed; true when it was written.
bool ReportRender(RenderResult result, const std::string& soundFont, const std::string& output,
                  const std::string& reason) {
  switch (result) {
    case RenderResult::kWritten: return true;
    case RenderResult::kNoSoundFont:
      std::fprintf(stderr, "tsy: %s is not a SoundFont the synthesiser can load\n", soundFont.c_str());
      return false;
    case RenderResult::kNoSynthesiser:
      std::fprintf(stderr, "tsy: the synthesiser could not be started\n");
      return false;
    case RenderResult::kCannotWrite:
      std::fprintf(stderr, "tsy: cannot write %s (%s)\n", output.c_str(), reason.c_str());
      return false;
  }
  return false;
}

// True when `path` is where tsy's standard output goes.
bool IsStandardOutput(const std::string& path) {
  struct stat target, out;
  return ::stat(path.c_str(), &target) == 0 && ::fstat(STDOUT_FILENO, &out) == 0 && target.st_dev == out.st_dev &&
         target.st_ino == out.st_ino;
}

std::string LengthText(double seconds) {
  const int minutes = static_cast<int>(seconds) / 60;
  char text[32];
  std::snprintf(text, sizeof text, "%d:%04.1f", minutes, seconds - 60 * minutes);
  return text;
}

// The mix of one SRC into its file.
int RenderMix(const Arguments& args, const RenderSettings& settings, const std::string& soundFont, std::string& line) {
  const std::string source = args.positional[0];
  const std::string output = OutputFor(args, settings.format->extension);
  if (SameFile(source, output)) {
    std::fprintf(stderr, "tsy: the %s file %s would overwrite its source\n", UpperName(*settings.format).c_str(),
                 output.c_str());
    return 2;
  }
  if (!settings.format->streams && IsStreamTarget(output)) {
    std::fprintf(stderr,
                 "tsy: %s is a pipe or a device, and a %s file's header is completed at its end; write "
                 "wav, flac, ogg or opus there\n",
                 output.c_str(), UpperName(*settings.format).c_str());
    return 2;
  }
  std::vector<uint8_t> objectBuffer;
  std::vector<TimedMessage> music;
  if (!ReadMusic(source, objectBuffer) || !ExportMusic(source, objectBuffer, SmfFormat::kSingleTrack, music) ||
      !CheckFits(source, music, settings))
    return 2;
  double seconds = 0;
  std::string reason;
  ProgressBar bar;
  const RenderResult result = RenderAudio(
      music, soundFont, output, settings, [&](double f) { bar.Show(f); }, seconds, reason);
  if (!ReportRender(result, soundFont, output, reason)) return 2;
  line = output + "  " + LengthText(seconds);
  if (IsStandardOutput(output)) {  // the sound went there: the line must not follow it
    std::fprintf(stderr, "%s\n", line.c_str());
    line.clear();
  }
  return 0;
}

// One file per track of one SRC, into the folder --stems names (with
// several SRC, a folder per SRC inside it).
int RenderStems(const Arguments& args, const RenderSettings& settings, const std::string& soundFont,
                std::string& line) {
  const std::string source = args.positional[0];
  std::string folder = *args.Option(kStemsOption);
  if (args.batch) folder = (std::filesystem::path(folder) / std::filesystem::path(source).stem()).string();
  std::vector<uint8_t> objectBuffer;
  std::vector<TimedMessage> music;
  if (!ReadMusic(source, objectBuffer) || !ExportMusic(source, objectBuffer, SmfFormat::kTrackPerTrack, music) ||
      !CheckFits(source, music, settings))
    return 2;
  const std::vector<Stem> stems = PlanStems(CurrentImage(), music, folder, settings.format->extension);
  if (stems.empty()) {
    std::fprintf(stderr, "tsy: %s has no track with notes\n", source.c_str());
    return 2;
  }
  if (!MakeFolder(folder)) return 2;
  RenderSettings together = settings;
  together.musicSeconds = music.empty() ? 0 : music.back().seconds;
  double seconds = 0;
  ProgressBar bar;  // one for all the stems
  for (size_t i = 0; i < stems.size(); ++i) {
    const auto progress = [&](double f) { bar.Show((static_cast<double>(i) + f) / static_cast<double>(stems.size())); };
    std::string reason;
    const RenderResult result =
        RenderAudio(StemMusic(music, stems[i].chunk), soundFont, stems[i].path, together, progress, seconds, reason);
    if (!ReportRender(result, soundFont, stems[i].path, reason)) return 2;
  }
  line = folder + "  " + std::to_string(stems.size()) + " stems  " + LengthText(seconds);
  return 0;
}

int RenderOne(const Arguments& args, std::string& line) {
  const std::optional<RenderSettings> settings = ChooseSettings(args);
  const std::string soundFont = args.Option("--soundfont").value_or(kDefaultSoundFont);
  if (args.Option(kStemsOption)) return RenderStems(args, *settings, soundFont, line);
  return RenderMix(args, *settings, soundFont, line);
}

}  // namespace

int RunRender(const Arguments& args) {
  RemoveTemporariesOnSignals();  // an interrupted command leaves no half-written file behind
  const std::optional<RenderSettings> settings = ChooseSettings(args);
  if (!settings) return kUsageFault;
  if (args.Option(kStemsOption) && args.Option("-o")) {
    std::fprintf(stderr, "tsy: %s writes a file per track instead of the mix; give it or -o, not both\n", kStemsOption);
    return kUsageFault;
  }
  const std::string soundFont = args.Option("--soundfont").value_or(kDefaultSoundFont);
  if (access(soundFont.c_str(), R_OK) != 0) {
    std::fprintf(stderr,
                 "tsy: no SoundFont at %s (%s); install a General MIDI SoundFont "
                 "(Debian: fluid-soundfont-gm) or name one with --soundfont\n",
                 soundFont.c_str(), std::strerror(errno));
    return 2;
  }
  return RunEach(args, {RenderOne, args.Option(kStemsOption) ? nullptr : settings->format->extension});
}

}  // namespace tsy::cli
