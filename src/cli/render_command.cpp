// tsy render SRC [-o OUT.wav] [--soundfont SF2]: the SMF export of a piece,
// rendered offline through the built-in synthesiser into a WAV file.
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "cli/commands.h"
#include "cli/music_input.h"
#include "core/engine/engine_call.h"
#include "core/smf/export_smf.h"
#include "midiout/audio_render.h"
#include "midiout/builtin_synth.h"
#include "midiout/smf_reader.h"
#include "platform/replacing_file.h"

namespace tsy::cli {
namespace {

constexpr int kBarWidth = 40;

// "[##########--------------]  45%" on stderr, redrawn in place whenever the
// percentage moves.
void ShowProgress(double fraction) {
  static int shown = -1;
  const int percent = static_cast<int>(fraction * 100 + 0.5);
  if (percent == shown) return;
  shown = percent;
  const int filled = percent * kBarWidth / 100;
  std::fprintf(stderr, "\r[%s%s] %3d%%%s", std::string(filled, '#').c_str(),
               std::string(kBarWidth - filled, '-').c_str(), percent, percent >= 100 ? "\n" : "");
  std::fflush(stderr);
}

// The SMF export of the music in `objectBuffer`, read back as timed
// messages. The engine is this command's alone: no play thread runs. Music
// that could play longer than a day is refused, as tsy smf refuses it.
bool ExportMusic(const std::string& source, const std::vector<uint8_t>& objectBuffer,
                 std::vector<TimedMessage>& music) {
  LoadMusic(objectBuffer);
  if (const RenderLength length = LongestRender(CurrentImage()); length.Exceeds(kDefaultRenderLimitSeconds)) {
    PrintTooLong(source, length, kDefaultRenderLimitSeconds, nullptr);
    return false;
  }
  RequestExport();  // the music's own restart or stop requests do not apply
  ConfirmExport();
  uint32_t endTick = 0;
  const std::vector<uint8_t> smf = RenderSmf(endTick);
  std::string fault;
  if (!ReadSmf(smf, music, fault)) {
    std::fprintf(stderr, "tsy: the export of %s cannot be read back (%s)\n", source.c_str(), fault.c_str());
    return false;
  }
  return true;
}

}  // namespace

int RunRender(const Arguments& args) {
  RemoveTemporariesOnSignals();  // an interrupted command leaves no half-written file behind
  const std::string source = args.positional[0];
  const std::string output = args.OutputPath(".wav");
  const std::string soundFont = args.Option("--soundfont").value_or(kDefaultSoundFont);
  if (access(soundFont.c_str(), R_OK) != 0) {
    std::fprintf(stderr,
                 "tsy: no SoundFont at %s (%s); install a General MIDI SoundFont "
                 "(Debian: fluid-soundfont-gm) or name one with --soundfont\n",
                 soundFont.c_str(), std::strerror(errno));
    return 2;
  }
  if (SameFile(source, output)) {
    std::fprintf(stderr, "tsy: the WAV file %s would overwrite its source\n", output.c_str());
    return 2;
  }

  std::vector<uint8_t> objectBuffer;
  std::vector<TimedMessage> music;
  if (!ReadMusic(source, objectBuffer) || !ExportMusic(source, objectBuffer, music)) return 2;

  double seconds = 0;
  std::string reason;
  switch (RenderToWav(music, soundFont, output, ShowProgress, seconds, reason)) {
    case RenderResult::kWritten: break;
    case RenderResult::kNoSoundFont:
      std::fprintf(stderr, "tsy: %s is not a SoundFont the synthesiser can load\n", soundFont.c_str());
      return 2;
    case RenderResult::kNoSynthesiser: std::fprintf(stderr, "tsy: the synthesiser could not be started\n"); return 2;
    case RenderResult::kCannotWrite:
      std::fprintf(stderr, "tsy: cannot write %s (%s)\n", output.c_str(), reason.c_str());
      return 2;
  }
  const int minutes = static_cast<int>(seconds) / 60;
  std::printf("%s  %d:%04.1f\n", output.c_str(), minutes, seconds - 60 * minutes);
  return 0;
}

}  // namespace tsy::cli
