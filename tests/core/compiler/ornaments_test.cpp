// Ornaments: the notes each one expands into, with c of the default octave
// (48) as the main note: its upper neighbour d (50), its lower b (47).
#include <gtest/gtest.h>

#include "track_compile.h"

namespace tsy::test {
namespace {

TEST(Ornaments, EachKindExpandsTheNextNote) {
  const Golden cases[] = {
      {"@trnc", "32 03 07 00 06 30 03 07 00 06 2F 03 07 00 06 30 03 07 00 1E", 48},
      {"@xtrnc", "2F 03 07 00 06 30 03 07 00 06 32 03 07 00 06 30 03 07 00 1E", 48},
      {"@morc", "30 03 07 00 06 32 03 07 00 06 30 03 07 00 24", 48},
      {"@xmorc", "30 03 07 00 06 2F 03 07 00 06 30 03 07 00 24", 48},
      {"@cadc",
       "2F 03 07 00 06 30 03 07 00 06 32 03 07 00 06 30 03 07 00 06 32 03 07 00 06 30 03 07 00 06 "
       "32 03 07 00 06 30 03 07 00 06",
       48},
      {"@xcadc",
       "2F 03 07 00 06 30 03 07 00 06 32 03 07 00 06 30 03 07 00 06 32 03 07 00 06 30 03 07 00 06 "
       "2F 03 07 00 06 30 03 07 00 06",
       48},
      {"@idmc",
       "32 03 07 00 06 30 03 07 00 06 2F 03 07 00 06 30 03 07 00 06 32 03 07 00 06 30 03 07 00 06 "
       "32 03 07 00 06 30 03 07 00 06",
       48},
      {"@xidmc",
       "32 03 07 00 06 30 03 07 00 06 2F 03 07 00 06 30 03 07 00 06 32 03 07 00 06 30 03 07 00 06 "
       "2F 03 07 00 06 30 03 07 00 06",
       48},
      {"@tric",
       "30 03 07 00 06 32 03 07 00 06 30 03 07 00 06 32 03 07 00 06 30 03 07 00 06 32 03 07 00 06 "
       "30 03 07 00 06 32 03 07 00 06",
       48},
  };
  ExpectGolden(cases);
}

TEST(Ornaments, NeighboursLengthsAndScope) {
  const Golden cases[] = {
      // e's upper neighbour is a semitone away, its lower one a whole tone.
      {"@trne", "35 03 07 00 06 34 03 07 00 06 32 03 07 00 06 34 03 07 00 1E", 48},
      // The signs move both neighbours; the key signature moves the one it names.
      {"@trn+c", "33 03 07 00 06 30 03 07 00 06 30 03 07 00 06 30 03 07 00 1E", 48},
      {"@_d-@trnc", "31 03 07 00 06 30 03 07 00 06 2F 03 07 00 06 30 03 07 00 1E", 48},
      // The neighbours move with a transposition, as the main note does.
      {"_d@trnc", "34 03 07 00 06 32 03 07 00 06 31 03 07 00 06 32 03 07 00 1E", 48},
      {"@trn16c", "32 03 07 00 0C 30 03 07 00 0C 2F 03 07 00 0C 30 03 07 00 0C", 48},
      {"@trs16@morc", "30 03 07 00 0C 32 03 07 00 0C 30 03 07 00 18", 48},
      {"@trnc=19", "32 03 07 00 06 30 03 07 00 06 2F 03 07 00 06 30 03 07 00 01", 19},
      // A trill's last note keeps the time that no whole ornament note fills.
      {"@tric=50",
       "30 03 07 00 06 32 03 07 00 06 30 03 07 00 06 32 03 07 00 06 30 03 07 00 06 32 03 07 00 06 "
       "30 03 07 00 06 32 03 07 00 08",
       50},
      {"@morcc", "30 03 07 00 06 32 03 07 00 06 30 03 07 00 24 30 03 07 00 30", 96},
      {"q4@morc", "30 03 04 00 06 32 03 04 00 06 30 03 04 00 24", 48},
      // A tie joins the first ornament note to the note before.
      {"c&@morc", "30 01 08 00 30 30 06 07 00 06 32 03 07 00 06 30 03 07 00 24", 96},
  };
  ExpectGolden(cases);
}

TEST(Ornaments, Faults) {
  const FaultCase cases[] = {
      {"@trs8@trnc", TextId::kOrnamentLeavesNoLength, "コマンドにおける音長不足！"},
      {"@trnc=18", TextId::kOrnamentLeavesNoLength},
      {"@tric=5", TextId::kOrnamentLeavesNoLength},
      {"@trs@trnc", TextId::kOrnamentLeavesNoLength},  // @trs alone takes the default note length
      {"@trnc/e", TextId::kNotUnderstood},
      {"@trnr", TextId::kNotUnderstood},
      {"@trn=0c", TextId::kResolutionOutOfRange},
      {"o8@trn++++++++b", TextId::kOctaveOutOfRange},  // the upper neighbour falls beyond the highest note
  };
  ExpectFaults(cases);
}

}  // namespace
}  // namespace tsy::test
