#include "core/smf/smf_preamble.h"

#include <algorithm>
#include <iterator>

namespace tsy {
namespace {

constexpr int64_t kGmSystemOnTick = -192;
constexpr uint8_t kGmSystemOn[] = {0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7};

struct PreambleStep {
  int8_t tick;
  uint8_t status;  // the channel is added
  uint8_t data1;
  uint8_t data2;
};

// In tick order; steps of one tick go out in this order.
constexpr PreambleStep kSteps[] = {
    {-96, 0xB0, 123, 0},                           // all notes off
    {-95, 0xB0, 7, 127},                           // volume
    {-94, 0xB0, 11, 127},                          // expression
    {-93, 0xB0, 10, 64},                           // pan
    {-92, 0xB0, 0, 0},                             // bank select
    {-92, 0xB0, 32, 0},      {-91, 0xB0, 101, 0},  // registered parameter 0: bend range 24 semitones
    {-91, 0xB0, 100, 0},     {-91, 0xB0, 6, 24},  {-89, 0xB0, 101, 0},  // registered parameter 1: fine tuning centred
    {-89, 0xB0, 100, 1},     {-89, 0xB0, 6, 64},  {-89, 0xB0, 38, 0},  {-87, 0xC0, 0, 0},  // program 0
    {-86, 0xE0, 0x00, 0x40},                                                               // bend centred
    {-2, 0xB0, 101, 127},  // no registered parameter selected
    {-2, 0xB0, 100, 127},
};

}  // namespace

int SmfPreamble::Messages(int track, int64_t tick, MessageWord* words, MessageSlots& slots) {
  int count = 0;
  if (tick == kGmSystemOnTick && !gmSystemOnWritten_) {
    std::copy(std::begin(kGmSystemOn), std::end(kGmSystemOn), slots[0].begin());
    words[count++] = SysExWord(0, sizeof kGmSystemOn);
    gmSystemOnWritten_ = true;
  }
  const uint8_t channel = static_cast<uint8_t>(track % kChannelCount);
  for (const PreambleStep& step : kSteps)
    if (step.tick == tick) words[count++] = ShortMessage(step.status | channel, step.data1, step.data2);
  return count;
}

}  // namespace tsy
