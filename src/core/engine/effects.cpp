#include "core/engine/effects.h"

#include <algorithm>
#include <bit>

#include "core/engine/engine_call.h"
#include "core/image/event_table.h"
#include "core/midi/midi_bytes.h"

namespace tsy {
namespace {

constexpr uint32_t kSilentFadeStep = 127;  // from here on the volume stays at its lowest
constexpr uint32_t kStopFadeStep = 160;    // beyond this step play is stopped
constexpr uint8_t kFullMasterVolume = 127;

// The Master Volume message with `volume` in both data bytes.
void WriteMasterVolume(PassOutput& out, uint8_t volume) {
  uint8_t* slot = out.OpenSlot(midi::kMasterVolumeSize);
  if (!slot) return;
  const auto message = midi::MasterVolume(volume, volume);
  std::copy(message.begin(), message.end(), slot);
  out.CloseSysEx(midi::kMasterVolumeSize);
}

// A step is due once per tick since the ramp began.
bool StepDue(uint32_t passTick, uint32_t startTick, int32_t done) {
  return passTick - startTick >= static_cast<uint32_t>(done);
}

void StepBend(EngineState& s, int track, uint8_t ch, PassOutput& out) {
  if (s.bendSteps[ch] == 0 || !StepDue(s.passTick, s.bendTick[ch], s.bendDone[ch])) return;
  if (s.bendDone[ch] + 1 > s.bendSteps[ch]) {
    s.bendSteps[ch] = 0;
    return;
  }
  // A bend never sent is the centre: the glide starts from there.
  if (s.bendNow[ch] == kUnsetBend) s.bendNow[ch] = 0.0f;
  // Into a note that releases (portamento): start s semitones away and come back.
  if (s.bendDone[ch] == 0 && (s.noteFlags[track] & kNoteRelease)) s.bendNow[ch] = -s.bendAmount[ch];
  s.bendNow[ch] = s.bendNow[ch] + s.bendAmount[ch] / static_cast<float>(s.bendSteps[ch]);
  // A 24-semitone glide reaches 16384 at its end; the 14-bit value stops at its top.
  const int value = std::clamp(static_cast<int>(s.bendNow[ch]) + midi::kCentre14, 0, midi::kMax14);
  out.ChannelMessage(midi::kPitchBend, ch, midi::Lsb7(value), midi::Msb7(value));
  s.bendDone[ch] += 1;
  for (int t = 0; t < kTrackCount; ++t)
    if (s.trackChannel[t] == ch) s.noteFlags[t] = s.noteFlags[t] | kNoteBent;
}

void MarkRamping(EngineState& s, uint8_t ch, uint8_t k, bool ramping) {
  Relaxed<uint64_t>& word = s.ccRamping[ch][k / 64];
  const uint64_t bit = uint64_t{1} << (k % 64);
  word = ramping ? word | bit : word & ~bit;
}

void StepController(EngineState& s, uint8_t ch, uint8_t k, PassOutput& out) {
  if (!StepDue(s.passTick, s.ccTick[ch][k], s.ccDone[ch][k])) return;
  if (s.ccDone[ch][k] + 1 > s.ccSteps[ch][k]) {
    s.ccSteps[ch][k] = 0;
    MarkRamping(s, ch, k, false);
    return;
  }
  s.ccNow[ch][k] = s.ccNow[ch][k] + s.ccStep[ch][k];
  // The added 1 of the step and the subtracted half make the last value exact.
  const int value = std::clamp(static_cast<int>(s.ccNow[ch][k] - 0.5), 0, 127);
  if (value != s.ccSent[ch][k]) {
    s.ccSent[ch][k] = value;
    out.ControlChange(ch, k, static_cast<uint8_t>(value));
  }
  s.ccDone[ch][k] += 1;
}

}  // namespace

void StartControllerRamp(EngineState& s, uint8_t channel, uint8_t controller, uint16_t length, uint8_t from,
                         uint8_t to) {
  s.ccTick[channel][controller] = s.passTick;
  s.ccDone[channel][controller] = 0;
  s.ccSteps[channel][controller] = length;
  s.ccNow[channel][controller] = static_cast<float>(from);
  s.ccStep[channel][controller] = static_cast<float>(to - from + 1) / static_cast<float>(length);
  s.ccSent[channel][controller] = -1;
  MarkRamping(s, channel, controller, length != 0);
}

void StartBendRamp(EngineState& s, uint8_t channel, uint16_t length, int8_t semitones) {
  s.bendTick[channel] = s.passTick;
  s.bendDone[channel] = 0;
  s.bendSteps[channel] = length;
  s.bendAmount[channel] = static_cast<float>(semitones * midi::kCentre14) * (1.0f / midi::kBendRangeSemitones);
}

void StepChannelRamps(EngineState& s, int track, PassOutput& out) {
  const uint8_t ch = s.trackChannel[track];
  StepBend(s, track, ch, out);
  // In rising controller number, as the ramps' messages have always gone out.
  for (int word = 0; word < kControllerCount / 64; ++word) {
    for (uint64_t ramps = s.ccRamping[ch][word]; ramps != 0; ramps &= ramps - 1)
      StepController(s, ch, static_cast<uint8_t>(word * 64 + std::countr_zero(ramps)), out);
  }
}

void StepFade(EngineState& s, PassOutput& out) {
  if (!s.fadeActive) {
    if (s.fadeStep != 0) {
      s.fadeStep = 0;
      WriteMasterVolume(out, kFullMasterVolume);
    }
    return;
  }
  const uint32_t step = (s.tick - s.fadeTick) / kTicksPerFadeStep;
  if (step == static_cast<uint32_t>(s.fadeStep)) return;
  s.fadeStep = static_cast<int32_t>(step);
  if (step < kSilentFadeStep) {
    WriteMasterVolume(out, static_cast<uint8_t>(kFullMasterVolume - step));
  } else if (step > kStopFadeStep && GetStatus() == EngineStatus::kPlaying) {
    RequestStop();
  }
}

}  // namespace tsy
