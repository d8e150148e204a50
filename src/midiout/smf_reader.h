#pragma once
// Reads a Standard MIDI File of format 0 or 1 (what the SMF export writes)
// into the messages a device would receive, each with its time from the
// start and the track it came from.

#include <cstdint>
#include <string>
#include <vector>

namespace tsy {

struct TimedMessage {
  double seconds;              // from the start of the file
  std::vector<uint8_t> bytes;  // a channel message, or F0 .. F7
  int track = 0;               // the track chunk that holds it, 0.. in file order
};

// Fills `messages` in time order (meta events are read for the tempo and not
// kept). Returns false, with the reason in `fault`, for a file that is not a
// well-formed format-0 or format-1 SMF.
bool ReadSmf(const std::vector<uint8_t>& file, std::vector<TimedMessage>& messages, std::string& fault);

}  // namespace tsy
