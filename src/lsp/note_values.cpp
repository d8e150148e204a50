#include "lsp/note_values.h"

#include <cstdio>

namespace tsy::lsp {
namespace {

constexpr int64_t kWholeNote = 192;  // ticks

// The denominators whose note values divide a whole note into whole ticks,
// longest first: plain values and their triplets.
constexpr int kDenominators[] = {1, 2, 3, 4, 6, 8, 12, 16, 24, 32, 48, 64, 96, 192};

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
  std::string text;
  for (int64_t rest = ticks; rest > 0;) {
    for (int d : kDenominators) {
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
