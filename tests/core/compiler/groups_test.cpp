// Equal-division groups, repeats and portamento: what they write and how
// long the track becomes.
#include <gtest/gtest.h>

#include "track_compile.h"

namespace tsy::test {
namespace {

TEST(Groups, SharesAddUpToTheGroupLength) {
  const Golden cases[] = {
      {"{ccc}4", "30 03 07 00 10 30 03 07 00 10 30 03 07 00 10", 48},
      {"{ccccc}4", "30 03 07 00 09 30 03 07 00 0A 30 03 07 00 09 30 03 07 00 0A 30 03 07 00 0A", 48},
      {"{cc}2", "30 03 07 00 30 30 03 07 00 30", 96},
      {"{ccc}", "30 03 07 00 10 30 03 07 00 10 30 03 07 00 10", 48},  // the default length
      {"l2{ccc}", "30 03 07 00 20 30 03 07 00 20 30 03 07 00 20", 96},
      {"{crc}8", "30 03 07 00 08 7F 03 07 00 08 30 03 07 00 08", 24},
      {"{ccc}4c", "30 03 07 00 10 30 03 07 00 10 30 03 07 00 10 30 03 07 00 30", 96},
  };
  ExpectGolden(cases);
}

TEST(Groups, CommandsInsideAGroupTakeNoShare) {
  const Golden cases[] = {
      // Chord members and the first note of a portamento count for nothing.
      {"{c/eg}4", "FD 30 03 07 00 18 34 37 03 07 00 18", 48},
      {"{wcec}4", "B5 18 00 04 34 03 07 00 18 30 03 07 00 18", 48},
      {"{c@v100d}4", "30 03 07 00 18 C1 64 32 03 07 00 18", 48},
      {"{c@com\"abc\"d}4", "30 03 07 00 18 FA 61 62 63 00 32 03 07 00 18", 48},
      {"{c>d}4", "30 03 07 00 18 3E 03 07 00 18", 48},
      {"{c_dc}4", "30 03 07 00 18 32 03 07 00 18", 48},  // a transposition's letter is no note
      {"{c\"abc\"d}4", "30 03 07 00 18 32 03 07 00 18", 48},
      {"{c!c}4", "C4 0C 3C 03 07 00 18 C4 F4 30 03 07 00 18", 48},
      {"{c&c}4", "30 01 08 00 18 30 06 07 00 18", 48},
  };
  ExpectGolden(cases);
}

TEST(Groups, SubstitutionLettersAreCountedAsWhatTheyStandFor) {
  CompiledTrack t = CompileTrack("@ql{Ae}4", "$a[cd]");
  EXPECT_EQ(t.fault, kNoFault) << t.message;
  EXPECT_EQ(t.events, Hex("30 03 07 00 10 32 03 07 00 10 34 03 07 00 10"));
  EXPECT_EQ(CompileTrack("@ql{Be}4", "$a[cd]").fault, TextId::kSubstitutionNotFound);
}

TEST(Groups, Faults) {
  const FaultCase cases[] = {
      {"{c't}4", TextId::kBadCharacterInGroup, "'{}'内に使用不可文字の混入！"},
      {"{c(d)2}4", TextId::kBadCharacterInGroup},
      {"{ccc", TextId::kBadCharacterInGroup},  // the block ends before the group does
      {"{c4d}4", TextId::kNotUnderstood},      // notes in a group have no length of their own
      {"{ccc}0", TextId::kResolutionOutOfRange},
      {"{ccccc}192", TextId::kResolutionOutOfRange},  // shares of no tick
      {"c}4", TextId::kNotUnderstood},                // a closing brace without a group
  };
  ExpectFaults(cases);
}

TEST(Repeats, BodiesAreCountedAsOftenAsTheyPlay) {
  const Golden cases[] = {
      {"(c)3", "E8 01 00 01 30 03 07 00 30 E9 01 03", 144},
      {"(c)1", "E8 01 00 01 30 03 07 00 30 E9 01 01", 48},
      {"((c)2d)3", "E8 01 00 01 E8 01 00 02 30 03 07 00 30 E9 02 02 32 03 07 00 30 E9 01 03", 432},
      {"(c)2(d)2", "E8 01 00 01 30 03 07 00 30 E9 01 02 E8 01 00 01 32 03 07 00 30 E9 01 02", 192},
      // A repeat left open plays once.
      {"(c", "E8 01 00 01 30 03 07 00 30", 48},
      {"c((d)2e", "30 03 07 00 30 E8 01 00 01 E8 01 00 02 32 03 07 00 30 E9 02 02 34 03 07 00 30", 192},
      {"(c/e)2", "E8 01 00 01 FD 30 03 07 00 30 34 E9 01 02", 96},
  };
  ExpectGolden(cases);
  ExpectFaults({
      {"c)2", TextId::kRepeatWithoutStart, "繰り返し元が無い！"},
      {"(c)0", TextId::kRepeatCountOutOfRange, "繰り返し回数逸脱！"},
      {"(c)256", TextId::kRepeatCountOutOfRange},
      {"(c)", TextId::kRepeatCountOutOfRange},
  });
}

TEST(Repeats, DeepNestingStopsAtTheDepthByte) {
  EXPECT_EQ(CompileTrack(std::string(255, '(') + "c").fault, kNoFault);
  EXPECT_EQ(CompileTrack(std::string(256, '(') + "c").fault, TextId::kRepeatCountOutOfRange);
}

TEST(Portamento, GlideEventThenTheSecondNote) {
  const Golden cases[] = {
      {"wce", "B5 30 00 04 34 03 07 00 30", 48},
      {"w8ce2", "B5 18 00 04 34 03 07 00 60", 96},
      {"w=300ce1^1", "B5 2C 01 04 34 03 07 01 C0 C0", 384},
      {"wec", "B5 30 00 FC 30 03 07 00 30", 48},
      {"wc>cc", "B5 30 00 0C 3C 03 07 00 30 3C 03 07 00 30", 96},  // the octave stays changed
      {"@_e-wce", "B5 30 00 03 33 03 07 00 30", 48},
      {"_dwce", "B5 30 00 04 36 03 07 00 30", 48},
      {"l8wce", "B5 18 00 04 34 03 07 00 18", 24},
      // Tied into from the same pitch: the earlier note holds on, when the glide fits the note.
      {"c&wce", "30 01 08 00 30 B5 30 00 04 34 06 07 00 30", 96},
      {"c&w2ce", "30 03 08 00 30 B5 60 00 04 34 07 07 00 30", 96},
      {"d&wce", "32 03 08 00 30 B5 30 00 04 34 07 07 00 30", 96},
  };
  ExpectGolden(cases);
  ExpectFaults({
      {"o8w>cc", TextId::kOctaveUpOutOfRange, "オクターブ逸脱(>)！"},
      {"o-1w<cc", TextId::kOctaveDownOutOfRange, "オクターブ逸脱(<)！"},
      {"@trnwce", TextId::kNotUnderstood},
      {"wc", TextId::kNotUnderstood},
      {"wce=0", TextId::kResolutionOutOfRange},
      {"w=0ce", TextId::kResolutionOutOfRange},
  });
}

}  // namespace
}  // namespace tsy::test
