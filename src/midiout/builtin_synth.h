#pragma once
// The built-in software synthesiser ("Direct Music"): FluidSynth with a
// General MIDI SoundFont, sounding through FluidSynth's audio driver, or
// rendered by the caller (tests, `tsy render`).

#include <memory>
#include <string>

#include "midiout/output_backend.h"

// FluidSynth's own type names, declared as its header does, so that users of
// this header need not include FluidSynth. NOLINTBEGIN(bugprone-reserved-identifier)
typedef struct _fluid_hashtable_t fluid_settings_t;
typedef struct _fluid_synth_t fluid_synth_t;
typedef struct _fluid_audio_driver_t fluid_audio_driver_t;
// NOLINTEND(bugprone-reserved-identifier)

namespace tsy {

constexpr const char* kDefaultSoundFont = "/usr/share/sounds/sf2/default-GM.sf2";
constexpr int kSynthSampleRate = 44100;  // frames per second, live and rendered
// Audio periods of 64 frames: FluidSynth applies the events it is given at
// the start of the next period it renders, so with one synthesis block per
// period every event lands within one 64-frame block (1.45 ms) of its send.
constexpr int kSynthPeriodFrames = 64;
// Four periods ahead of the audio hardware: 5.8 ms at 44.1 kHz, well inside
// the 10 ms that a player notices.
constexpr int kSynthPeriods = 4;
// The synthesiser's name as the sound servers show it (its JACK client).
constexpr const char* kSynthClientName = "Tessaly32";
// The environment variable that names a FluidSynth audio driver to try first.
constexpr const char* kAudioDriverVariable = "TSY_AUDIO_DRIVER";

// Where the synthesiser's sound goes.
enum class SynthSink {
  kAudioDriver,  // the platform's audio output, through FluidSynth's audio driver
  kCaller,       // nowhere until the caller renders it (Render)
};

// How an opening ended; the two failures lead to different fallbacks.
enum class SynthOpening {
  kOpened,
  kNoSynthesiser,  // not even the synthesiser's settings could be made: standby
  kFailed,         // a later step failed; everything is released: use the MIDI Mapper
};

class BuiltinSynth : public OutputBackend {
 public:
  ~BuiltinSynth() override;

  // Opens the synthesiser with `soundFont` step by step (see the .cpp);
  // `synth` receives it when the outcome is kOpened. The sound is made at
  // `sampleRate` frames per second (an offline render may ask for another).
  static SynthOpening Open(SynthSink sink, const std::string& soundFont, std::unique_ptr<BuiltinSynth>& synth,
                           int sampleRate = kSynthSampleRate);

  BackendKind kind() const override { return BackendKind::kBuiltinSynth; }
  // A bank select LSB with a nonzero value goes out as 0: the GM set knows
  // only bank LSB 0.
  void SendShort(uint32_t message) override;
  // XG System On is not sent: the synthesiser is no XG device. The Master
  // Volume message sets the output gain, which FluidSynth does not do itself.
  void SendLong(const uint8_t* bytes, size_t length) override;
  void Reset() override;

  // Renders `frames` stereo frames of 16-bit samples, interleaved, at the
  // rate it was opened with. Only for SynthSink::kCaller.
  void Render(int16_t* interleaved, int frames);

  // The audio driver that a live opening would sound through now ("jack",
  // "pulseaudio", ...), found by starting it without a SoundFont; empty
  // when none starts.
  static std::string ProbeAudioDriver();

  // Audio output latency in milliseconds (0 for SynthSink::kCaller).
  double latencyMs() const { return latencyMs_; }
  // The audio driver it sounds through; empty for SynthSink::kCaller.
  const std::string& audioDriver() const { return audioDriver_; }
  fluid_synth_t* synth() const { return synth_; }

 private:
  BuiltinSynth() = default;

  fluid_settings_t* settings_ = nullptr;
  fluid_synth_t* synth_ = nullptr;
  fluid_audio_driver_t* driver_ = nullptr;
  float baseGain_ = 0;
  double latencyMs_ = 0;
  std::string audioDriver_;
};

}  // namespace tsy
