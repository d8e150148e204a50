#pragma once
// What one compile shares between the driver and the track parser: the
// condensed text with its line map, the diagnostics, the tone map and the
// current track's event bytes.

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/compiler/diagnostics.h"
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
  std::string text;               // condensed source, CP932; grows on expansion
  std::vector<uint32_t> lineMap;  // source line (from 1) of every character of text
  Diagnostics diagnostics;
  ToneMap toneMap = InitialToneMap();
  std::vector<uint8_t> track;  // the current track's events (no terminator)
  size_t imageLength = 403;    // the image built so far, for the size limit

  // The source line of the character at `index` (the last line past the end).
  uint32_t LineAt(size_t index) const;

  // Expands the upper-case substitution letter at `index` in place (text and
  // line map), as the driver does inside a block. Raises kSubstitutionNotFound and returns
  // false when the letter has no registered body. Used by the driver and by
  // the group opener, which expands every letter up to its "}".
  std::function<bool(CompileUnit& unit, size_t index)> expandLetter;
};

}  // namespace tsy
