#include "midiout/audio_render.h"

#include <fluidsynth.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "core/midi/midi_bytes.h"

namespace tsy {
namespace {

constexpr int kBlockFrames = 64;        // the synthesiser's own block
constexpr int kSilentPeak = 8;          // sample magnitude below which a block is silence
constexpr double kQuietSeconds = 0.25;  // this much silence ends the release early

// The sound on its way to the file: the synthesiser's blocks, scaled by the gain.
class RenderStream {
 public:
  RenderStream(BuiltinSynth& synth, SoundWriter& file, double gainDb)
      : synth_(synth), file_(file), gain_(gainDb == 0 ? 1.0 : std::pow(10.0, gainDb / 20)) {}

  // Renders `frames` frames. Returns the loudest sample magnitude seen.
  int Frames(long frames) {
    int16_t block[kBlockFrames * kRenderChannels];
    int peak = 0;
    while (frames > 0) {
      const int n = static_cast<int>(std::min<long>(frames, kBlockFrames));
      synth_.Render(block, n);
      if (gain_ != 1.0) Scale(block, n * kRenderChannels);
      for (int i = 0; i < n * kRenderChannels; ++i) peak = std::max(peak, std::abs(static_cast<int>(block[i])));
      file_.Write(block, n);
      frames -= n;
    }
    return peak;
  }

 private:
  void Scale(int16_t* samples, int count) const {
    for (int i = 0; i < count; ++i)
      samples[i] = static_cast<int16_t>(std::clamp(std::lround(samples[i] * gain_), -32768L, 32767L));
  }

  BuiltinSynth& synth_;
  SoundWriter& file_;
  double gain_;  // linear
};

void Send(BuiltinSynth& synth, const TimedMessage& m) {
  if (m.bytes[0] == midi::kSysExStart) {
    synth.SendLong(m.bytes.data(), m.bytes.size());
  } else if ((m.bytes[0] & midi::kStatusBit) && m.bytes[0] < midi::kSysExStart) {
    uint32_t word = 0;
    for (size_t b = 0; b < m.bytes.size() && b < 3; ++b) word |= m.bytes[b] << (8 * b);
    synth.SendShort(word);
  }  // an escaped byte string is meant for some other device
}

long DueFrame(double seconds, int rate) { return static_cast<long>(seconds * rate); }

}  // namespace

RenderPlan PlanRender(const std::vector<TimedMessage>& music, const RenderSettings& settings) {
  RenderPlan plan;
  const double end = std::max(music.empty() ? 0 : music.back().seconds, settings.musicSeconds);
  const long musicFrames = DueFrame(end, settings.rate);
  const long tail = DueFrame(kMaxTailSeconds, settings.rate);
  plan.frames = static_cast<size_t>(musicFrames + (tail + kBlockFrames - 1) / kBlockFrames * kBlockFrames);
  plan.seconds = static_cast<double>(plan.frames) / settings.rate;
  plan.bytes = PcmFileBytes(*settings.format, plan.frames, kRenderChannels);
  plan.fits = settings.format->largestFile == 0 || plan.bytes <= settings.format->largestFile;
  return plan;
}

RenderResult RenderAudio(const std::vector<TimedMessage>& music, const std::string& soundFont, const std::string& path,
                         const RenderSettings& settings, const std::function<void(double)>& progress, double& seconds,
                         std::string& reason) {
  seconds = 0;
  if (!fluid_is_soundfont(soundFont.c_str())) return RenderResult::kNoSoundFont;
  std::unique_ptr<BuiltinSynth> synth;
  switch (BuiltinSynth::Open(SynthSink::kCaller, soundFont, synth, settings.rate)) {
    case SynthOpening::kOpened: break;
    case SynthOpening::kNoSynthesiser: return RenderResult::kNoSynthesiser;
    case SynthOpening::kFailed: return RenderResult::kNoSoundFont;
  }
  const bool wholeTail = settings.wholeTail || IsStreamTarget(path);
  const RenderPlan plan = PlanRender(music, settings);
  std::unique_ptr<SoundWriter> file;
  if (const FileResult opened =
          OpenSoundFile(path, *settings.format, settings.rate, kRenderChannels, wholeTail ? plan.frames : 0, file);
      !opened.ok()) {
    reason = opened.Reason();
    return RenderResult::kCannotWrite;
  }

  RenderStream out(*synth, *file, settings.gainDb);
  const double total = music.empty() ? 0 : music.back().seconds;
  long rendered = 0;  // frames so far
  size_t reported = 0;
  for (size_t i = 0; i < music.size(); ++i) {
    const TimedMessage& m = music[i];
    if (const long due = DueFrame(m.seconds, settings.rate); due > rendered) {
      out.Frames(due - rendered);
      rendered = due;
    }
    Send(*synth, m);
    if (progress && total > 0 && i - reported >= 256) {
      reported = i;
      progress(m.seconds / total);
    }
  }
  // The release: until a stretch of silence, or the limit.
  const long tailLimit = static_cast<long>(plan.frames) - rendered;
  const long quietLimit = DueFrame(kQuietSeconds, settings.rate);
  long tail = 0, quiet = 0;
  while (tail < tailLimit && (wholeTail || quiet < quietLimit)) {
    const long block = std::min<long>(kBlockFrames, tailLimit - tail);
    const bool silent = out.Frames(block) < kSilentPeak;
    quiet = silent ? quiet + block : 0;
    tail += block;
  }
  rendered += tail;
  if (progress) progress(1.0);
  if (const FileResult written = file->Finish(); !written.ok()) {
    reason = written.Reason();
    return RenderResult::kCannotWrite;
  }
  seconds = static_cast<double>(rendered) / settings.rate;
  return RenderResult::kWritten;
}

}  // namespace tsy
