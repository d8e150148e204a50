#pragma once
// Offline rendering: timed MIDI messages played into the built-in
// synthesiser as fast as it computes, written as 16-bit stereo sound in any
// of the sound file formats.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "midiout/builtin_synth.h"
#include "midiout/smf_reader.h"
#include "midiout/sound_file.h"

namespace tsy {

enum class RenderResult {
  kWritten,
  kNoSoundFont,    // the SoundFont is missing or is no SoundFont
  kNoSynthesiser,  // the synthesiser could not be made
  kCannotWrite,    // the file could not be written (`reason` tells why)
};

constexpr int kRenderChannels = 2;
constexpr double kMaxTailSeconds = 5.0;  // release and reverb after the last message

struct RenderSettings {
  const SoundFormatInfo* format = nullptr;  // never null when rendering
  int rate = kSynthSampleRate;              // frames per second
  double gainDb = 0;                        // applied to every sample, saturating; 0 leaves them as made
  // The release runs its whole kMaxTailSeconds instead of ending once the
  // sound has died away, so the length is known before the render starts:
  // stems that line up, and streams whose header states the size.
  bool wholeTail = false;
  double musicSeconds = 0;  // the music lasts at least this long: stems end with the whole piece
};

// What a render of `music` will write at most, known before it starts.
struct RenderPlan {
  size_t frames = 0;   // the music and the whole release
  double seconds = 0;  // `frames` at the render's rate
  uint64_t bytes = 0;  // what the file's size fields must describe
  bool fits = true;    // the format can describe `bytes`
};

RenderPlan PlanRender(const std::vector<TimedMessage>& music, const RenderSettings& settings);

// Renders `music` with `soundFont` into `path`, followed by the sound's
// release until it falls silent (at most kMaxTailSeconds, or exactly that
// with wholeTail). A target that is a stream gets the whole release and its
// size up front. `progress` is called with the fraction done, 0..1, now and
// then. `seconds` receives the length of the audio written, `reason` the
// system's word when the file failed.
RenderResult RenderAudio(const std::vector<TimedMessage>& music, const std::string& soundFont, const std::string& path,
                         const RenderSettings& settings, const std::function<void(double)>& progress, double& seconds,
                         std::string& reason);

}  // namespace tsy
