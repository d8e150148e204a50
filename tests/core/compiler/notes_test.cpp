// Notes and rests as the image holds them: note numbers, flags, gates,
// chords, ties and the marks around a note.
#include <gtest/gtest.h>

#include "track_compile.h"

namespace tsy::test {
namespace {

TEST(Notes, PitchFromLetterOctaveAccidentalsAndTransposition) {
  const Golden cases[] = {
      {"c", "30 03 07 00 30", 48},  // c of the default octave is 48
      {"r", "7F 03 07 00 30", 48},
      {"o4c", "3C 03 07 00 30", 48},
      {"o-1c", "00 03 07 00 30", 48},
      {"o8b", "77 03 07 00 30", 48},
      {"ab", "39 03 07 00 30 3B 03 07 00 30", 96},
      {"c+d-", "31 03 07 00 30 31 03 07 00 30", 96},
      {"c#+-e", "31 03 07 00 30 34 03 07 00 30", 96},
      {"<c>>c", "24 03 07 00 30 3C 03 07 00 30", 96},
  };
  ExpectGolden(cases);
}

TEST(Notes, OctaveAndNoteRangeFaults) {
  const FaultCase cases[] = {
      {"o8>", TextId::kOctaveOutOfRange, "オクターブ逸脱(9)！"},
      {"o-1<", TextId::kOctaveOutOfRange, "オクターブ逸脱(-2)！"},
      {"o9c", TextId::kOctaveOutOfRange, "オクターブ逸脱(9)！"},
      {"o", TextId::kNotUnderstood},
      // Accidentals or transposition past the MIDI range: the octave the note would lie in.
      {"o8b++++++++", TextId::kOctaveOutOfRange, "オクターブ逸脱(9)！"},
      {"o-1c-", TextId::kOctaveOutOfRange, "オクターブ逸脱(-2)！"},
      {"o8_>cb", TextId::kOctaveOutOfRange, "オクターブ逸脱(9)！"},
  };
  ExpectFaults(cases);
}

TEST(Notes, KeySignaturePendingAccidentalAndBarLine) {
  const Golden cases[] = {
      {"@_f+f", "36 03 07 00 30", 48},
      {"@_f+f%", "35 03 07 00 30", 48},  // natural
      {"@_f+f-", "35 03 07 00 30", 48},
      {"@_f+f%+", "36 03 07 00 30", 48},   // signs go on after a natural
      {"@_f+f+%%", "35 03 07 00 30", 48},  // every '%' takes the key's sharp off
      {"@_b-b#%-", "3B 03 07 00 30", 48},  // '%' in the middle of a run
      {"@_f++@_f%f", "35 03 07 00 30", 48},
      {"@_f+'f", "EF 36 03 07 00 30", 48},  // the key signature outlives the bar
      // The pending accidental goes into the working key until the bar line.
      {"@+ff'f", "36 03 07 00 30 36 03 07 00 30 EF 35 03 07 00 30", 144},
      {"@+dcd", "33 03 07 00 30 30 03 07 00 30 33 03 07 00 30", 144},
      {"@_f+@%ff'f", "35 03 07 00 30 35 03 07 00 30 EF 36 03 07 00 30", 144},
      {"@++c@--d@#e", "32 03 07 00 30 30 03 07 00 30 35 03 07 00 30", 144},
      {"@-r c", "7F 03 07 00 30 2F 03 07 00 30", 96},  // a rest leaves it pending
  };
  ExpectGolden(cases);
  ExpectFaults({{"@+-c", TextId::kBadSign}, {"@_x", TextId::kNotUnderstood}});
}

TEST(Notes, Transposition) {
  const Golden cases[] = {
      {"_dc", "32 03 07 00 30", 48},   {"_gc", "2B 03 07 00 30", 48},  // g, a and b transpose downward
      {"_bc", "2F 03 07 00 30", 48},   {"_>c+c", "3D 03 07 00 30", 48},
      {"_<b-c", "22 03 07 00 30", 48}, {"_dc_cc", "32 03 07 00 30 30 03 07 00 30", 96},
      {"_dr", "7F 03 07 00 30", 48},
  };
  ExpectGolden(cases);
  ExpectFaults({
      {"_x", TextId::kBadTransposition, "移調 '_' 指定後に解析不能文字！"},
      {"_>", TextId::kBadTransposition},
  });
}

TEST(Notes, GateAndSlurMode) {
  const Golden cases[] = {
      {"q8c", "30 03 08 00 30", 48},
      {"q1c", "30 03 01 00 30", 48},
      {"@sic", "30 03 08 00 30", 48},
      {"@si@soc", "30 03 07 00 30", 48},
  };
  ExpectGolden(cases);
  ExpectFaults(
      {{"q0", TextId::kGateTimeOutOfRange}, {"q9", TextId::kGateTimeOutOfRange}, {"q", TextId::kGateTimeOutOfRange}});
}

TEST(Ties, FlagsOfTiesAndSlurs) {
  const Golden cases[] = {
      // A tie: one note-on, the held note's gate runs to its end.
      {"c&c", "30 01 08 00 30 30 06 07 00 30", 96},
      {"c~c", "30 01 08 00 30 30 06 07 00 30", 96},
      // A slur to another pitch keeps both attacks.
      {"c&d", "30 03 08 00 30 32 07 07 00 30", 96},
      // A chain: the middle note neither starts nor ends the sound.
      {"c&c&c", "30 01 08 00 30 30 04 08 00 30 30 06 07 00 30", 144},
      {"r&r", "7F 01 08 00 30 7F 06 07 00 30", 96},
      {"c&rc", "30 03 08 00 30 7F 07 07 00 30 30 03 07 00 30", 144},
  };
  ExpectGolden(cases);
}

TEST(Chords, LinksFullFirstNoteAndOneByteMembers) {
  const Golden cases[] = {
      {"c4/e/g", "FD 30 03 07 00 30 FD 34 37", 48},
      {"c2/e c", "FD 30 03 07 00 60 34 30 03 07 00 30", 144},
      {"c/>c", "FD 30 03 07 00 30 3C", 48},
      {"c/c/c/c/c/c/c/c/c/c/c/c", "FD 30 03 07 00 30 FD 30 FD 30 FD 30 FD 30 FD 30 FD 30 FD 30 FD 30 FD 30 FD 30 30",
       48},
      {"c/c/c/c/c/c/c/c/c/c/c/c d/e",  // the count starts again with the next chord
       "FD 30 03 07 00 30 FD 30 FD 30 FD 30 FD 30 FD 30 FD 30 FD 30 FD 30 FD 30 FD 30 30 "
       "FD 32 03 07 00 30 34",
       96},
  };
  ExpectGolden(cases);
  ExpectFaults({
      {"c/c/c/c/c/c/c/c/c/c/c/c/c", TextId::kTooManyChordNotes, "和音数超過！"},  // a thirteenth note
      {"c4/e8", TextId::kNotUnderstood},                                          // members have no length of their own
      {"c/'e", TextId::kNotUnderstood},                                           // a bar line would split the chord
      {"c/(e)2", TextId::kNotUnderstood},
      {"c/wce", TextId::kNotUnderstood},
  });
}

TEST(OctaveMarks, MoveTheNoteBetweenOffsetEvents) {
  const Golden cases[] = {
      {"c!", "C4 0C 3C 03 07 00 30 C4 F4", 48},
      {"c4??", "C4 E8 18 03 07 00 30 C4 18", 48},
      {"c!?", "30 03 07 00 30", 48},
      {"c4/e!/g", "FD 30 03 07 00 30 C4 0C FD 40 C4 F4 37", 48},
      {"r!", "C4 0C 7F 03 07 00 30 C4 F4", 48},
  };
  ExpectGolden(cases);
  ExpectFaults({{"o8b!", TextId::kOctaveOutOfRange, "オクターブ逸脱(9)！"}});
}

TEST(Notes, QuotedRemarkAfterANoteIsSkipped) {
  ExpectGolden({{"c4\"la la\"d", "30 03 07 00 30 32 03 07 00 30", 96}});
  ExpectFaults({{"c4\"open", TextId::kNotUnderstood}});
}

TEST(Notes, UnknownCharacterIsNotUnderstood) {
  ExpectFaults({
      {"c4x", TextId::kNotUnderstood, "理解不能"},
      {"!", TextId::kNotUnderstood},
      {"/c", TextId::kNotUnderstood},
      {"@zz", TextId::kNotUnderstood},  // '@z' is skipped, then 'z' is not understood
  });
}

TEST(Notes, UnknownCommandNameSkipsTheAtSignAndOneCharacter) {
  ExpectGolden({
      {"@zc4", "30 03 07 00 30", 48},
      {"@\x83\x41"
       "c4",
       "30 03 07 00 30", 48},  // a double-byte character is one character
  });
}

TEST(Notes, FaultNamesTheLineOfTheCharacterFound) {
  CompileResult r = CompileSource("1[c\nc\nq9\nc]");
  ASSERT_EQ(r.diagnostics.size(), 1u);
  EXPECT_EQ(r.diagnostics[0].at.line, 4u);  // the character after the number
  EXPECT_TRUE(TrackEvents(r, 1).empty());
}

}  // namespace
}  // namespace tsy::test
