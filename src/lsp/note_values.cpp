#include "lsp/note_values.h"

#include <cstdio>
#include <span>

namespace tsy::lsp {
namespace {

constexpr int64_t kWholeNote = 192;  // ticks

// The denominators whose note values divide a whole note into whole ticks,
// longest first: the plain values, and those with their triplets.
constexpr int kPlainDenominators[] = {1, 2, 4, 8, 16, 32, 64};
constexpr int kAllDenominators[] = {1, 2, 3, 4, 6, 8, 12, 16, 24, 32, 48, 64, 96, 192};
constexpr int64_t kShortestPlain = kWholeNote / 64;

// The index of the plain value (1, 2, 4, … 64) of `ticks` in kNoteValueNames, or -1.
int PlainValue(int64_t ticks) {
  for (int i = 0, d = 1; d <= 64; ++i, d *= 2)
    if (ticks * d == kWholeNote) return i;
  return -1;
}

}  // namespace

std::string LengthText(int64_t ticks) {
  if (ticks <= 0) return {};
  // A dotted value reads better than its sum: 72 is "4.", not "4^8".
  if ((ticks * 2) % 3 == 0 && PlainValue(ticks * 2 / 3) >= 0) return std::to_string(kWholeNote * 3 / (ticks * 2)) + ".";
  // A length that plain values sum to is written with them alone: 84 is
  // "4^8^16", not "3^12^48".
  const std::span<const int> denominators =
      ticks % kShortestPlain == 0 ? std::span<const int>(kPlainDenominators) : std::span<const int>(kAllDenominators);
  std::string text;
  for (int64_t rest = ticks; rest > 0;) {
    for (int d : denominators) {
      if (kWholeNote / d > rest) continue;
      if (!text.empty()) text += '^';
      text += std::to_string(d);
      rest -= kWholeNote / d;
      break;
    }
  }
  return text;
}

std::string NoteValueName(int64_t ticks, EditorLanguage language) {
  if (ticks <= 0) return {};
  if (int plain = PlainValue(ticks); plain >= 0) return kNoteValueNames[plain].In(language);
  if ((ticks * 2) % 3 != 0) return {};
  const int plain = PlainValue(ticks * 2 / 3);
  if (plain < 0) return {};
  char text[96];
  std::snprintf(text, sizeof text, kDottedFormat.In(language), kNoteValueNames[plain].In(language));
  return text;
}

}  // namespace tsy::lsp
