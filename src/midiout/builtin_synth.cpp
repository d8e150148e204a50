#include "midiout/builtin_synth.h"

#include <fluidsynth.h>

#include <cstdlib>
#include <cstring>

#include "core/midi/midi_bytes.h"
#include "midiout/library_logs.h"

namespace tsy {
namespace {

// The audio drivers tried after FluidSynth's own default, in order: sound
// servers first (PipeWire answers as PulseAudio and JACK too), then the raw
// devices. Drivers this FluidSynth was built without are skipped.
constexpr const char* kAudioDrivers[] = {"pulseaudio", "pipewire", "jack", "alsa", "sdl2"};

bool DriverAvailable(fluid_settings_t* settings, const char* name) {
  struct Search {
    const char* name;
    bool found;
  } search{name, false};
  fluid_settings_foreach_option(settings, "audio.driver", &search, [](void* data, const char*, const char* option) {
    auto* s = static_cast<Search*>(data);
    if (std::strcmp(s->name, option) == 0) s->found = true;
  });
  return search.found;
}

// How the synthesiser meets the sound servers: under JACK its ports are
// connected to the system's playback ports, as a player expects of a
// program that sounds; PulseAudio and PipeWire show it as "Tessaly32" (a
// name the user gave in $PULSE_PROP_OVERRIDE stays).
void NameForSoundServers(fluid_settings_t* settings) {
  fluid_settings_setint(settings, "audio.jack.autoconnect", 1);
  fluid_settings_setstr(settings, "audio.jack.id", kSynthClientName);
  fluid_settings_setstr(settings, "audio.pulseaudio.media-role", "music");
  setenv("PULSE_PROP_OVERRIDE", "application.name='Tessaly32' application.icon_name='tessaly32'", 0);
}

fluid_audio_driver_t* TryAudioDriver(fluid_settings_t* settings, fluid_synth_t* synth, const char* name) {
  if (!DriverAvailable(settings, name)) return nullptr;
  fluid_settings_setstr(settings, "audio.driver", name);
  return new_fluid_audio_driver(settings, synth);
}

// The audio driver that `settings` last asked for.
std::string DriverName(fluid_settings_t* settings) {
  char name[64] = "";
  fluid_settings_copystr(settings, "audio.driver", name, sizeof name);
  return name;
}

// Starts the audio output: the driver that $TSY_AUDIO_DRIVER names, if any
// (e.g. "jack", or "file", which writes the sound as it plays into
// fluidsynth.wav in the current folder); then FluidSynth's default driver,
// then the others of kAudioDrivers. Null when none opens (no sound card, no
// sound server).
fluid_audio_driver_t* StartAudioDriver(fluid_settings_t* settings, fluid_synth_t* synth) {
  if (const char* chosen = std::getenv(kAudioDriverVariable); chosen && *chosen) {
    if (fluid_audio_driver_t* driver = TryAudioDriver(settings, synth, chosen)) return driver;
    char* defaultDriver = nullptr;
    if (fluid_settings_getstr_default(settings, "audio.driver", &defaultDriver) == FLUID_OK)
      fluid_settings_setstr(settings, "audio.driver", defaultDriver);
  }
  if (fluid_audio_driver_t* driver = new_fluid_audio_driver(settings, synth)) return driver;
  for (const char* name : kAudioDrivers)
    if (fluid_audio_driver_t* driver = TryAudioDriver(settings, synth, name)) return driver;
  return nullptr;
}

}  // namespace

BuiltinSynth::~BuiltinSynth() {
  if (driver_) delete_fluid_audio_driver(driver_);
  if (synth_) delete_fluid_synth(synth_);
  if (settings_) delete_fluid_settings(settings_);
}

// Opens step by step, with the fallbacks the output opening expects: no
// settings object (the synthesiser itself is missing) leaves the caller in
// standby; any later failure releases everything and sends the caller to
// the MIDI Mapper.
SynthOpening BuiltinSynth::Open(SynthSink sink, const std::string& soundFont, std::unique_ptr<BuiltinSynth>& synth,
                                int sampleRate) {
  QuietLibraryLogs();  // once per process
  std::unique_ptr<BuiltinSynth> s(new BuiltinSynth);
  // The settings object: without it there is no synthesiser to fall back from.
  s->settings_ = new_fluid_settings();
  if (!s->settings_) return SynthOpening::kNoSynthesiser;
  // The sample rate, and the audio buffer that makes the latency.
  fluid_settings_setnum(s->settings_, "synth.sample-rate", sampleRate);
  fluid_settings_setint(s->settings_, "audio.period-size", kSynthPeriodFrames);
  fluid_settings_setint(s->settings_, "audio.periods", kSynthPeriods);
  NameForSoundServers(s->settings_);
  // Rendered by the caller, only the samples the music uses are loaded.
  fluid_settings_setint(s->settings_, "synth.dynamic-sample-loading", sink == SynthSink::kCaller ? 1 : 0);
  s->synth_ = new_fluid_synth(s->settings_);
  if (!s->synth_) return SynthOpening::kFailed;
  // The General MIDI instruments: the SoundFont must be there and be one.
  if (!fluid_is_soundfont(soundFont.c_str())) return SynthOpening::kFailed;
  if (fluid_synth_sfload(s->synth_, soundFont.c_str(), 1) == FLUID_FAILED) return SynthOpening::kFailed;
  // Every channel takes its instrument from the SoundFont.
  fluid_synth_program_reset(s->synth_);
  // Sound starts; whether it did is judged just below.
  if (sink == SynthSink::kAudioDriver) s->driver_ = StartAudioDriver(s->settings_, s->synth_);
  // Without a running audio output there is no output clock to play by.
  if (sink == SynthSink::kAudioDriver) {
    if (!s->driver_) return SynthOpening::kFailed;
    s->latencyMs_ = 1000.0 * kSynthPeriodFrames * kSynthPeriods / kSynthSampleRate;
    s->audioDriver_ = DriverName(s->settings_);
  }
  s->baseGain_ = fluid_synth_get_gain(s->synth_);
  synth = std::move(s);
  return SynthOpening::kOpened;
}

std::string BuiltinSynth::ProbeAudioDriver() {
  QuietLibraryLogs();
  fluid_settings_t* settings = new_fluid_settings();
  if (!settings) return {};
  NameForSoundServers(settings);
  fluid_synth_t* synth = new_fluid_synth(settings);
  std::string name;
  if (fluid_audio_driver_t* driver = synth ? StartAudioDriver(settings, synth) : nullptr) {
    name = DriverName(settings);
    delete_fluid_audio_driver(driver);
  }
  if (synth) delete_fluid_synth(synth);
  delete_fluid_settings(settings);
  return name;
}

void BuiltinSynth::SendShort(uint32_t message) {
  const uint8_t status = message & 0xFF;
  const int channel = midi::ChannelOf(status);
  const int data1 = (message >> 8) & midi::kDataBits;
  int data2 = (message >> 16) & midi::kDataBits;
  switch (midi::KindOf(status)) {
    case midi::kNoteOff: fluid_synth_noteoff(synth_, channel, data1); break;
    case midi::kNoteOn: fluid_synth_noteon(synth_, channel, data1, data2); break;
    case midi::kKeyPressure: fluid_synth_key_pressure(synth_, channel, data1, data2); break;
    case midi::kControlChange:
      if (data1 == midi::kBankSelectLsb) data2 = 0;
      fluid_synth_cc(synth_, channel, data1, data2);
      break;
    case midi::kProgramChange: fluid_synth_program_change(synth_, channel, data1); break;
    case midi::kChannelPressure: fluid_synth_channel_pressure(synth_, channel, data1); break;
    case midi::kPitchBend: fluid_synth_pitch_bend(synth_, channel, data1 | (data2 << 7)); break;
    default: break;  // system messages mean nothing to the synthesiser
  }
}

void BuiltinSynth::SendLong(const uint8_t* bytes, size_t length) {
  if (midi::BeginsWith(bytes, length, midi::kXgSystemOn)) return;
  if (midi::IsMasterVolume(bytes, length)) {
    // Loudness follows the square of the volume, as with controller 7.
    const float volume = static_cast<float>(midi::MasterVolumeValue(bytes)) / midi::kMax14;
    fluid_synth_set_gain(synth_, baseGain_ * volume * volume);
    return;
  }
  // After a device reset the master volume is full again.
  if (midi::BeginsWith(bytes, length, midi::kGmSystemOn) || midi::BeginsWith(bytes, length, midi::kGsReset))
    fluid_synth_set_gain(synth_, baseGain_);
  // FluidSynth takes the body without F0 and F7.
  if (length < 2 || bytes[0] != midi::kSysExStart || bytes[length - 1] != midi::kSysExEnd) return;
  fluid_synth_sysex(synth_, reinterpret_cast<const char*>(bytes + 1), static_cast<int>(length - 2), nullptr, nullptr,
                    nullptr, 0);
}

void BuiltinSynth::Reset() {
  for (int channel = 0; channel < 16; ++channel) {
    fluid_synth_cc(synth_, channel, midi::kSustain, 0);
    fluid_synth_all_notes_off(synth_, channel);
  }
  fluid_synth_set_gain(synth_, baseGain_);
}

void BuiltinSynth::Render(int16_t* interleaved, int frames) {
  fluid_synth_write_s16(synth_, frames, interleaved, 0, 2, interleaved, 1, 2);
}

}  // namespace tsy
