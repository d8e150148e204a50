#include "core/smf/smf_preamble.h"

#include <algorithm>
#include <iterator>

#include "core/midi/midi_bytes.h"

namespace tsy {
namespace {

constexpr int64_t kGmSystemOnTick = -192;

struct PreambleStep {
  int8_t tick;
  uint8_t kind;  // midi::kControlChange, ...; the channel is the track's
  uint8_t data1;
  uint8_t data2;
};

// In tick order; steps of one tick go out in this order.
constexpr PreambleStep kSteps[] = {
    {-96, midi::kControlChange, midi::kAllNotesOff, 0},
    {-95, midi::kControlChange, midi::kVolume, 127},
    {-94, midi::kControlChange, midi::kExpression, 127},
    {-93, midi::kControlChange, midi::kPan, midi::kPanCentre},
    {-92, midi::kControlChange, midi::kBankSelect, 0},
    {-92, midi::kControlChange, midi::kBankSelectLsb, 0},
    // Registered parameter 0: the bend range.
    {-91, midi::kControlChange, midi::kRpnMsb, 0},
    {-91, midi::kControlChange, midi::kRpnLsb, 0},
    {-91, midi::kControlChange, midi::kDataEntry, midi::kBendRangeSemitones},
    // Registered parameter 1: fine tuning, in tune.
    {-89, midi::kControlChange, midi::kRpnMsb, 0},
    {-89, midi::kControlChange, midi::kRpnLsb, 1},
    {-89, midi::kControlChange, midi::kDataEntry, midi::Msb7(midi::kCentre14)},
    {-89, midi::kControlChange, midi::kDataEntryLsb, midi::Lsb7(midi::kCentre14)},
    {-87, midi::kProgramChange, 0, 0},
    {-86, midi::kPitchBend, midi::Lsb7(midi::kCentre14), midi::Msb7(midi::kCentre14)},
    // No registered parameter selected: (127, 127).
    {-2, midi::kControlChange, midi::kRpnMsb, 127},
    {-2, midi::kControlChange, midi::kRpnLsb, 127},
};

}  // namespace

int SmfPreamble::Messages(int track, int64_t tick, MessageWord* words, MessageSlots& slots) {
  int count = 0;
  if (tick == kGmSystemOnTick && !gmSystemOnWritten_) {
    std::copy(std::begin(midi::kGmSystemOn), std::end(midi::kGmSystemOn), slots[0].begin());
    words[count++] = SysExWord(0, sizeof midi::kGmSystemOn);
    gmSystemOnWritten_ = true;
  }
  const uint8_t channel = static_cast<uint8_t>(track % kChannelCount);
  for (const PreambleStep& step : kSteps)
    if (step.tick == tick) words[count++] = ChannelWord(step.kind, channel, step.data1, step.data2);
  return count;
}

}  // namespace tsy
