#pragma once
// Offline rendering: timed MIDI messages played into the built-in
// synthesiser as fast as it computes, written to a 44.1 kHz 16-bit stereo WAV.

#include <functional>
#include <string>
#include <vector>

#include "midiout/smf_reader.h"

namespace tsy {

enum class RenderResult {
  kWritten,
  kNoSoundFont,    // the SoundFont is missing or is no SoundFont
  kNoSynthesiser,  // the synthesiser could not be made
  kCannotWrite,    // the WAV file could not be written (`reason` tells why)
};

// Renders `music` with `soundFont` into `wavPath`, followed by the sound's
// release until it falls silent (at most kMaxTailSeconds). `progress` is
// called with the fraction done, 0..1, now and then. `seconds` receives the
// length of the audio written, `reason` the system's word when the file failed.
RenderResult RenderToWav(const std::vector<TimedMessage>& music, const std::string& soundFont,
                         const std::string& wavPath, const std::function<void(double)>& progress, double& seconds,
                         std::string& reason);

}  // namespace tsy
