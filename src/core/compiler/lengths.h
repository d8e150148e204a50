#pragma once
// Length expressions (notes, rests, `w`, `@varc`, ornaments) and the default
// length list `l`. A denominator d stands for 192 / d ticks.

#include <cstdint>
#include <vector>

#include "core/compiler/parse_context.h"

namespace tsy {

constexpr int32_t kWholeNoteTicks = 192;

struct Length {
  bool ok = true;        // false: a fault was raised (a bad '=' form, a length of no tick)
  bool written = false;  // false: nothing was written, the default length applies
  int64_t ticks = 0;     // may be 0 or negative; the caller checks the range it needs
};

// length -> ['=' number] | term {('^' term) | '.' | ('_' term)}
// An empty term at '^', '.', '_' or the end puts the default list in place of
// the terms so far. Reads from the context's position.
Length ReadLength(ParseContext& cx);

// default -> 'l' term {('^' term) | '.' | ('_' term)}, an empty term counting as 4.
void ParseDefaultLength(ParseContext& cx);

// The ticks of a list of terms, each quotient truncated; terms have no zero denominator.
int64_t TicksOf(const std::vector<LengthTerm>& terms);

// A note's length must fit one note event: 1..kMaxNoteTicks, else kResolutionOutOfRange.
bool CheckNoteTicks(ParseContext& cx, int64_t ticks);

}  // namespace tsy
