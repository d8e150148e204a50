#pragma once
// The bar of initialisation that an SMF export writes before the music
// (ticks -192..-1) unless the image does its own: GM System On once, then for
// each present track, on channel track mod 16, all notes off, volume,
// expression, pan, bank, bend range 24, centred fine tuning, program 0,
// centred bend, and the registered parameter deselected.

#include <cstdint>

#include "core/engine/engine_call.h"

namespace tsy {

constexpr int64_t kPreambleTicks = 192;  // one 4/4 bar of initialisation before the music

class SmfPreamble {
 public:
  // Writes the messages of track t at preamble tick `tick` into `words`
  // (GM System On into slot 0) and returns their number.
  int Messages(int track, int64_t tick, MessageWord* words, MessageSlots& slots);

 private:
  bool gmSystemOnWritten_ = false;  // once for the whole file
};

}  // namespace tsy
