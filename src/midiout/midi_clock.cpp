#include "midiout/midi_clock.h"

#include <algorithm>

#include "core/midi/midi_bytes.h"

namespace tsy {
namespace {

constexpr uint32_t kLastSongPosition = midi::kMax14;

MessageWord SongPositionWord(uint32_t tick) {
  const int sixteenths = static_cast<int>(std::min(tick / midi::kTicksPerSongPosition, kLastSongPosition));
  return midi::kSongPosition | midi::Lsb7(sixteenths) << 8 | midi::Msb7(sixteenths) << 16;
}

}  // namespace

int MidiClock::Messages(ClockEvent event, uint32_t tick, MessageWord (&messages)[kMostClockMessages]) {
  int n = 0;
  switch (event) {
    case ClockEvent::kStart:
      // Start always means the top; elsewhere the position comes first and
      // play continues from it.
      if (tick == 0) {
        messages[n++] = midi::kStart;
      } else {
        messages[n++] = SongPositionWord(tick);
        messages[n++] = midi::kContinue;
      }
      break;
    case ClockEvent::kStop:
      if (running_) messages[n++] = midi::kStop;
      running_ = false;
      return n;
    case ClockEvent::kContinue:
      messages[n++] = midi::kContinue;
      running_ = true;
      return n;
    case ClockEvent::kTick:
      if (!running_) return n;
      break;
  }
  running_ = true;
  // The clock that follows a start marks its first beat.
  if (tick % midi::kTicksPerClock == 0) messages[n++] = midi::kTimingClock;
  return n;
}

}  // namespace tsy
