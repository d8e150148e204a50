#include "midiout/audio_render.h"

#include <fluidsynth.h>

#include <algorithm>
#include <cstdlib>

#include "core/midi/midi_bytes.h"
#include "midiout/builtin_synth.h"
#include "midiout/wav_file.h"

namespace tsy {
namespace {

constexpr int kChannels = 2;
constexpr int kBlockFrames = 64;         // the synthesiser's own block
constexpr double kMaxTailSeconds = 5.0;  // release and reverb after the last message
constexpr int kSilentPeak = 8;           // sample magnitude below which a block is silence
constexpr double kQuietSeconds = 0.25;   // this much silence ends the release early

// Renders `frames` frames into `wav`, one synthesiser block at a time.
// Returns the loudest sample magnitude seen.
int RenderFrames(BuiltinSynth& synth, WavWriter& wav, long frames) {
  int16_t block[kBlockFrames * kChannels];
  int peak = 0;
  while (frames > 0) {
    const int n = static_cast<int>(std::min<long>(frames, kBlockFrames));
    synth.Render(block, n);
    for (int i = 0; i < n * kChannels; ++i) peak = std::max(peak, std::abs(static_cast<int>(block[i])));
    wav.Write(block, n);
    frames -= n;
  }
  return peak;
}

}  // namespace

RenderResult RenderToWav(const std::vector<TimedMessage>& music, const std::string& soundFont,
                         const std::string& wavPath, const std::function<void(double)>& progress, double& seconds,
                         std::string& reason) {
  seconds = 0;
  if (!fluid_is_soundfont(soundFont.c_str())) return RenderResult::kNoSoundFont;
  std::unique_ptr<BuiltinSynth> synth;
  switch (BuiltinSynth::Open(SynthSink::kCaller, soundFont, synth)) {
    case SynthOpening::kOpened: break;
    case SynthOpening::kNoSynthesiser: return RenderResult::kNoSynthesiser;
    case SynthOpening::kFailed: return RenderResult::kNoSoundFont;
  }
  WavWriter wav;
  if (const FileResult opened = wav.Open(wavPath, kSynthSampleRate, kChannels); !opened.ok()) {
    reason = opened.Reason();
    return RenderResult::kCannotWrite;
  }

  const double total = music.empty() ? 0 : music.back().seconds;
  long rendered = 0;  // frames so far
  size_t reported = 0;
  for (size_t i = 0; i < music.size(); ++i) {
    const TimedMessage& m = music[i];
    const long due = static_cast<long>(m.seconds * kSynthSampleRate);
    if (due > rendered) {
      RenderFrames(*synth, wav, due - rendered);
      rendered = due;
    }
    if (m.bytes[0] == midi::kSysExStart) {
      synth->SendLong(m.bytes.data(), m.bytes.size());
    } else if ((m.bytes[0] & midi::kStatusBit) && m.bytes[0] < midi::kSysExStart) {
      uint32_t word = 0;
      for (size_t b = 0; b < m.bytes.size() && b < 3; ++b) word |= m.bytes[b] << (8 * b);
      synth->SendShort(word);
    }  // an escaped byte string is meant for some other device
    if (progress && total > 0 && i - reported >= 256) {
      reported = i;
      progress(m.seconds / total);
    }
  }
  // The release: until a stretch of silence, or the limit.
  const long tailLimit = static_cast<long>(kMaxTailSeconds * kSynthSampleRate);
  const long quietLimit = static_cast<long>(kQuietSeconds * kSynthSampleRate);
  long tail = 0, quiet = 0;
  while (tail < tailLimit && quiet < quietLimit) {
    const bool silent = RenderFrames(*synth, wav, kBlockFrames) < kSilentPeak;
    quiet = silent ? quiet + kBlockFrames : 0;
    tail += kBlockFrames;
  }
  rendered += tail;
  if (progress) progress(1.0);
  if (const FileResult written = wav.Finish(); !written.ok()) {
    reason = written.Reason();
    return RenderResult::kCannotWrite;
  }
  seconds = static_cast<double>(rendered) / kSynthSampleRate;
  return RenderResult::kWritten;
}

}  // namespace tsy
