#include "core/compiler/groups.h"

#include <cmath>
#include <string_view>

#include "core/compiler/commands.h"
#include "core/compiler/lengths.h"
#include "core/compiler/pitch.h"

namespace tsy {
namespace {

// Characters that may stand in a group besides notes, 'w', '/', '@' commands,
// '_' transpositions and quoted remarks.
constexpr std::string_view kAllowedInGroup = "0123456789+#_-%o><vq=~&!?";

// The index of the closing quote of the quoted run that opens at `at`, or npos.
size_t ClosingQuote(const CondensedText& text, size_t at) { return text.Find('"', at + 1); }

// Expands every substitution letter up to the closing brace, so that the
// notes they stand for are counted. False when one has no registration (kSubstitutionNotFound).
// The second byte of a double-byte character is no letter: a body holding
// one would otherwise expand into itself for ever.
bool ExpandLetters(ParseContext& cx) {
  if (!cx.state.upperCaseLetters || !cx.unit.expandLetter) return true;
  const CondensedText& text = cx.unit.text;
  for (size_t i = cx.pos; i < text.size() && text[i] != '}';) {
    if (text[i] == '"') {
      i = ClosingQuote(text, i);
      if (i == CondensedText::npos) return true;
      ++i;
    } else if (text[i] >= 'A' && text[i] <= 'Z') {
      if (!cx.unit.expandLetter(cx.unit, i)) return false;
    } else {
      i += text.CharacterWidth(i);
    }
  }
  return true;
}

// Counts the group's notes from the read position to the closing brace
// (chord members and the first note of a portamento take no share). Sets
// `close` to the brace's index. -1 after a fault (kBadCharacterInGroup).
int CountNotes(ParseContext& cx, size_t& close) {
  const CondensedText& text = cx.unit.text;
  int count = 0;
  size_t i = cx.pos;
  auto fault = [&](size_t at) {
    cx.pos = at;
    cx.Fault(TextId::kBadCharacterInGroup);
    return -1;
  };
  for (;;) {
    if (i >= text.size()) return fault(i);
    char c = cx.Peek(i - cx.pos);
    if (c == '}') break;
    if (c == 'r' || LetterPosition(c) >= 0) {
      ++count;
      ++i;
    } else if (c == 'w' || c == '/') {
      --count;
      ++i;
    } else if (c == '@') {
      size_t consumed = MeasureAtCommand(cx.unit, cx.state, i + 1);
      i += 1 + (consumed ? consumed : 1);
    } else if (c == '"') {
      size_t quote = ClosingQuote(text, i);
      if (quote == CondensedText::npos) return fault(i);
      i = quote + 1;
    } else if (c == '_') {
      // A transposition's letter is not a note.
      ++i;
      while (i < text.size() && (text[i] == '<' || text[i] == '>')) ++i;
      if (LetterPosition(cx.Peek(i - cx.pos)) >= 0) ++i;
    } else if (kAllowedInGroup.find(c) != std::string_view::npos && c != '\0') {
      ++i;
    } else {
      return fault(i);
    }
  }
  close = i;
  return count;
}

// The ticks the whole group lasts: 192 / n for the n after the brace, or the
// default length when none is written. 0 after a fault (kResolutionOutOfRange).
int64_t GroupTicks(ParseContext& cx, size_t close) {
  ParseContext after(cx.unit, cx.state, close + 1);
  int32_t denominator = 0;
  int64_t ticks = after.ReadNumber(denominator) ? (denominator ? kWholeNoteTicks / denominator : 0)
                                                : TicksOf(cx.state.defaultLength);
  if (ticks < 1) {
    after.Fault(TextId::kResolutionOutOfRange);
    return 0;
  }
  return ticks;
}

}  // namespace

void ParseGroupOpen(ParseContext& cx) {
  if (!ExpandLetters(cx)) return;
  size_t close = 0;
  int count = CountNotes(cx, close);
  if (count < 0) return;
  int64_t ticks = GroupTicks(cx, close);
  if (ticks == 0) return;
  Group& group = cx.state.group;
  group = Group{};
  group.open = true;
  if (count > 0) {
    group.remaining = count;
    group.share = static_cast<float>(ticks) / static_cast<float>(count);
  }
}

void ParseGroupClose(ParseContext& cx) {
  if (!cx.state.group.open) {
    cx.Fault(TextId::kNotUnderstood);
    return;
  }
  int32_t ignored = 0;
  cx.ReadNumber(ignored);
  cx.state.group = Group{};
}

bool GroupShareDue(const TrackState& state) { return state.group.open && state.group.remaining > 0; }

int64_t NextGroupShare(TrackState& state) {
  Group& group = state.group;
  float whole = std::floor(group.share);
  int64_t ticks = static_cast<int64_t>(whole);
  group.carry += group.share - whole;
  if (group.carry >= 1.0f) {
    ticks += 1;
    group.carry -= std::floor(group.carry);
  }
  if (--group.remaining == 0 && group.carry >= 0.5f) ticks += 1;
  return ticks;
}

}  // namespace tsy
