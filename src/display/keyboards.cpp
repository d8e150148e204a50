#include "display/keyboards.h"

#include <bitset>

#include "display/display_layout.h"
#include "display/palette.h"

namespace tsy {
namespace {

constexpr int kWhiteKeys = 63;  // nine octaves of seven
constexpr int kOctaves = 9;

// By white key within the octave (i mod 7): its pitch class, and the pitch
// class of the black key drawn to its left (-1: none).
constexpr int kWhitePitch[7] = {0, 2, 4, 5, 7, 9, 11};
constexpr int kBlackPitch[7] = {-1, 1, 3, -1, 6, 8, 10};

// Lit keys of one keyboard, by octave * 12 + pitch class. A note n falls in
// octave (n - 12) / 12 truncated toward zero, so notes 1..11 land in the
// first octave beside 12..23, and note 0 in none.
using LitKeys = std::bitset<static_cast<size_t>(kOctaves) * 12>;

void CollectLitKeys(const EngineState& s, LitKeys (&lit)[kKeyboardCount + 1]) {
  for (int t = 0; t < kTrackCount; ++t) {
    const int tag = s.trackTag[t];
    if (tag < 1 || tag > kKeyboardCount) continue;
    if (s.trackPos[t].load() == nullptr || s.noteState[t] == kNoteIdle) continue;
    const int size = s.chordSize[t] < kChordNotes ? int{s.chordSize[t]} : kChordNotes;
    for (int j = 0; j < size; ++j) {
      const int note = s.eventNotes[t][j];
      const int octave = (note - 12) / 12;
      if (note - 12 < -11 || octave >= kOctaves) continue;
      lit[tag].set(octave * 12 + note % 12);
    }
  }
}

void DrawKeyboard(Canvas& picture, const LitKeys& lit, Colour litColour) {
  picture.FillRect(0, 0, 441, 24, kGrey);
  for (int i = 0; i < kWhiteKeys; ++i) {
    const int octave = i / 7, step = i % 7;
    picture.FillRect(7 * i, 0, 6, 23, lit[octave * 12 + kWhitePitch[step]] ? litColour : kWhite);
    if (kBlackPitch[step] >= 0) {
      picture.FillRect(7 * i - 3, 0, 5, 13, lit[octave * 12 + kBlackPitch[step]] ? litColour : kBlack);
    }
  }
}

}  // namespace

void DrawKeyboards(Canvas& window, Canvas& picture, const EngineState& s) {
  LitKeys lit[kKeyboardCount + 1];
  CollectLitKeys(s, lit);
  for (int k = 1; k <= kKeyboardCount; ++k) {
    DrawKeyboard(picture, lit[k], kPalette[k]);
    const Place place = KeyboardPlace(k);
    window.Copy(picture, place.x, place.y, place.width, place.height);
  }
}

}  // namespace tsy
