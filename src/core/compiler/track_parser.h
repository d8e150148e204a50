#pragma once
// The track parser: turns the commands of a track block into events. The
// driver hands it one command at a time, at the command's first character.

#include <cstddef>
#include <cstdint>
#include <memory>

#include "core/compiler/compile_unit.h"

namespace tsy {

struct TrackState;  // the per-track parser state (octave, lengths, key signature, ...)

class TrackParser {
 public:
  explicit TrackParser(CompileUnit& unit);
  ~TrackParser();

  // Back to the per-track defaults at the start of every track pass.
  void ResetForTrack();

  // Compiles the command whose first character (already folded to lower case
  // unless upper-case letters are substitution letters) is at `index`; appends
  // its events to unit.track and raises its faults. Returns the index of the
  // command's last character.
  size_t ParseCommand(size_t index);

  // Set by "@ql", cleared by "@qx": upper-case letters are substitution letters.
  bool upperCaseLetters() const;
  // Set by "@xasm": the rest of the text is skipped for this track.
  bool skipRestOfText() const;
  // The track's length in ticks, repeats multiplied out (an unclosed repeat counted once).
  uint32_t trackTicks() const;

 private:
  CompileUnit& unit_;
  std::unique_ptr<TrackState> state_;
};

}  // namespace tsy
