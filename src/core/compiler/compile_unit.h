#pragma once
// What one compile shares between the driver and the track parser: the
// condensed text with the source characters it came from, the diagnostics,
// the tone map, and the current track's event bytes with the source
// position of each event.

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

#include "core/compiler/condensed_text.h"
#include "core/compiler/diagnostics.h"
#include "core/compiler/source_map.h"
#include "core/compiler/source_position.h"
#include "core/image/image_layout.h"

namespace tsy {

constexpr size_t kImageSoftLimit = 16127;  // track bytes + image beyond this: kDataOverflow

// One tone map entry: a program and an optional bank select (-1 = none).
struct ToneMapEntry {
  uint8_t program = 0;
  int16_t bankMsb = -1;
  int16_t bankLsb = -1;
};
using ToneMap = std::array<ToneMapEntry, 256>;

// Entries 0..127 are their own program, 128..255 program 0, none with a bank.
ToneMap InitialToneMap();

struct CompileUnit {
  CondensedText text;  // condensed source, CP932; grows on expansion
  SourceLines lines;   // turns the source characters of text into lines and columns
  Diagnostics diagnostics;
  ToneMap toneMap = InitialToneMap();
  std::vector<uint8_t> track;               // the current track's events (no terminator)
  std::vector<SourceMapEntry> trackEvents;  // where each of them came from, offsets into track
  size_t commandAt = 0;                     // index in text of the command being compiled
  size_t imageLength = kImageHeaderSize;    // the image built so far, for the size limit

  // The source position of the character at `index` of text; past the end,
  // the position just after the last character.
  SourcePosition PositionAt(size_t index) const;

  // Takes the current track back to its first `size` bytes, with the events
  // that started there.
  void TruncateTrack(size_t size);

  // Expands the upper-case substitution letter at `index` in place, as the
  // driver does inside a block. Raises kSubstitutionNotFound and returns
  // false when the letter has no registered body, kDataOverflow when the
  // text would grow beyond its bound. Used by the driver and by the group
  // opener, which expands every letter up to its "}".
  std::function<bool(CompileUnit& unit, size_t index)> expandLetter;
};

}  // namespace tsy
