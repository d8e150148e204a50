#include "core/compiler/lengths.h"

#include <algorithm>

namespace tsy {
namespace {

enum class EmptyTerm { kDefaultList, kQuarter };

// Reads the terms of a length after its optional '='. An empty term is
// replaced by the default list (note lengths) or by a quarter (`l`).
// Returns false on a fault.
bool ReadTerms(ParseContext& cx, EmptyTerm empty, std::vector<LengthTerm>& terms, bool& written) {
  enum class Current { kEmpty, kDigits, kDotted } current = Current::kEmpty;
  int32_t denominator = 0;
  bool subtracted = false;

  // Closes the term being read, filling in an empty one.
  auto close = [&] {
    if (current == Current::kDigits) {
      terms.push_back({denominator, subtracted});
    } else if (current == Current::kEmpty) {
      if (empty == EmptyTerm::kDefaultList) terms = cx.state.defaultLength;
      else terms.push_back({4, subtracted});
    }
  };

  for (;;) {
    char c = cx.Peek();
    if (ParseContext::IsDigit(c)) {
      if (current != Current::kEmpty) break;  // digits after a dot end the length
      cx.ReadNumber(denominator);
      current = Current::kDigits;
    } else if (c == '^') {
      ++cx.pos;
      close();
      current = Current::kEmpty;
    } else if (c == '.') {
      ++cx.pos;
      close();
      int32_t doubled = std::min(terms.back().denominator * 2, kNumberCap);
      terms.push_back({doubled, subtracted});
      current = Current::kDotted;
    } else if (c == '_' && ParseContext::IsDigit(cx.PeekRaw(1))) {
      ++cx.pos;  // a '_' without digits is left for the next command
      close();
      subtracted = true;
      current = Current::kEmpty;
    } else if (c == '=') {
      cx.Fault(TextId::kBadExactLength);
      return false;
    } else {
      break;
    }
    written = true;
    if (terms.size() > kMaxDefaultTerms) {
      cx.Fault(TextId::kResolutionOutOfRange);
      return false;
    }
  }
  close();
  for (const LengthTerm& term : terms) {
    if (term.denominator == 0) {
      cx.Fault(TextId::kResolutionOutOfRange);
      return false;
    }
  }
  return true;
}

// '=' number: a tick count, which admits no further terms.
Length ReadTickCount(ParseContext& cx) {
  Length length;
  length.written = true;
  int32_t ticks = 0;
  if (!cx.ReadNumber(ticks)) {
    cx.Fault(TextId::kBadExactLength);
    length.ok = false;
    return length;
  }
  const char after = cx.Peek();
  if (after == '^' || after == '.' || after == '=') {
    cx.Fault(after == '^'   ? TextId::kTieAfterExactLength
             : after == '.' ? TextId::kDotAfterExactLength
                            : TextId::kBadExactLength);
    length.ok = false;
    return length;
  }
  length.ticks = ticks;
  return length;
}

}  // namespace

int64_t TicksOf(const std::vector<LengthTerm>& terms) {
  int64_t ticks = 0;
  for (const LengthTerm& term : terms) {
    int64_t part = kWholeNoteTicks / term.denominator;
    ticks += term.subtracted ? -part : part;
  }
  return ticks;
}

Length ReadLength(ParseContext& cx) {
  if (cx.Accept('=')) return ReadTickCount(cx);
  Length length;
  std::vector<LengthTerm> terms;
  length.ok = ReadTerms(cx, EmptyTerm::kDefaultList, terms, length.written);
  if (length.ok) length.ticks = TicksOf(terms);
  return length;
}

void ParseDefaultLength(ParseContext& cx) {
  std::vector<LengthTerm> terms;
  bool written = false;
  if (!ReadTerms(cx, EmptyTerm::kQuarter, terms, written)) return;
  // A list that comes to no time at all would give every later note a length of 0.
  if (TicksOf(terms) <= 0) {
    cx.Fault(TextId::kResolutionOutOfRange);
    return;
  }
  cx.state.defaultLength = std::move(terms);
}

bool CheckNoteTicks(ParseContext& cx, int64_t ticks) {
  if (ticks >= 1 && ticks <= kMaxNoteTicks) return true;
  cx.Fault(TextId::kResolutionOutOfRange);
  return false;
}

}  // namespace tsy
