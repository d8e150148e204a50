#pragma once
// MIDI clock for the synthesisers, sequencers and drum machines that follow
// us: the play clock's events as MIDI real-time messages. Timing clock 24 to
// a quarter note (every second tick), Start at play from the top, a Song
// Position Pointer and Continue at play from a position, Stop at a halt,
// Continue at a resume.

#include <cstdint>

#include "core/engine/engine_call.h"
#include "core/engine/play_output.h"

namespace tsy {

constexpr int kMostClockMessages = 3;  // Song Position, Continue, Timing Clock

// The clock of one output. It knows whether the transport runs, so that the
// stop which the play thread answers when it starts or when nothing plays
// tells a follower nothing.
class MidiClock {
 public:
  // Writes the messages for `event` at `tick` into `messages` (MessageWord
  // packing) and returns how many there are. A position past what the Song
  // Position Pointer holds is given as its last sixteenth.
  int Messages(ClockEvent event, uint32_t tick, MessageWord (&messages)[kMostClockMessages]);

 private:
  bool running_ = false;  // between a Start or Continue and the next Stop
};

}  // namespace tsy
