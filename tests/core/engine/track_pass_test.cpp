// Track passes over hand-made streams: what each tick writes.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "test_image.h"

namespace tsy::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

TEST(TrackPass, PlainNoteSendsOnAtItsTickAndOffAtItsGate) {
  ASSERT_TRUE(LoadFresh(BuildImage({{1, Note(60, 48, 7)}})));
  EXPECT_THAT(RunTicks(0, 48), ElementsAre("0: t0 90 3C 6E", "42: t0 80 3C 00"));
}

TEST(TrackPass, TrackEndsAtTheTerminatorAndReportsMinusOne) {
  ASSERT_TRUE(LoadFresh(BuildImage({{1, Note(60, 10)}})));
  MessageWord words[kMessageCapacity];
  RunTicks(0, 10);
  EXPECT_EQ(GetState().trackPos[0], nullptr);
  EXPECT_EQ(TrackPass(0, words, nullptr), -1);
  EXPECT_EQ(TrackPass(1, words, nullptr), -1) << "absent track";
}

TEST(TrackPass, ChordNotesGoOnAndOffInWrittenOrder) {
  // c4/e/g: FD, full c, FD, e, g
  ASSERT_TRUE(LoadFresh(BuildImage({{1, Join({{0xFD}, Note(60, 48, 7), {0xFD, 64, 67}, Note(72, 48)})}})));
  EXPECT_THAT(RunTicks(0, 48), ElementsAre("0: t0 90 3C 6E", "0: t0 90 40 6E", "0: t0 90 43 6E", "42: t0 80 3C 00",
                                           "42: t0 80 40 00", "42: t0 80 43 00", "48: t0 90 48 6E"));
  EXPECT_EQ(GetState().chordSize[0], 1);
}

TEST(TrackPass, FullGateSendsNoteOffBeforeTheNextNoteOn) {
  ASSERT_TRUE(LoadFresh(BuildImage({{1, Join({Note(60, 48, 8), Note(62, 48, 8)})}})));
  EXPECT_THAT(RunTicks(0, 48), ElementsAre("0: t0 90 3C 6E", "48: t0 80 3C 00", "48: t0 90 3E 6E"));
}

TEST(TrackPass, TieKeepsOneNoteOnAndReleasesAtTheSecondGate) {
  ASSERT_TRUE(LoadFresh(BuildImage({{1, Join({Note(60, 48, 8, 0x01), Note(60, 48, 7, 0x06)})}})));
  EXPECT_THAT(RunTicks(0, 100), ElementsAre("0: t0 90 3C 6E", "90: t0 80 3C 00"));
}

TEST(TrackPass, MutedTrackAdvancesAlikeButSendsNoNotes) {
  const Bytes image = BuildImage({{1, Join({Note(60, 48, 7), {0xB0, 7, 100}, Note(62, 48, 7)})}});
  ASSERT_TRUE(LoadFresh(image));
  GetState().trackMute[0] = 1;
  EXPECT_THAT(RunTicks(0, 60), ElementsAre("48: t0 B0 07 64"));
  EXPECT_EQ(GetState().dueTick[0], 96u);
  EXPECT_EQ(GetState().noteState[0], kNoteMuted);
  EXPECT_EQ(GetState().eventNotes[0][0], 62);
}

TEST(TrackPass, RepeatsRunTheirBodyCountTimesAndNestByIndex) {
  struct Case {
    const char* name;
    Bytes stream;
    std::vector<std::string> expected;
  };
  const Case cases[] = {
      {"count 3",
       Join({{0xE8, 1, 0, 0}, Note(60, 10), {0xE9, 0, 3}, Note(62, 10)}),
       {"0: t0 90 3C 6E", "10: t0 80 3C 00", "10: t0 90 3C 6E", "20: t0 80 3C 00", "20: t0 90 3C 6E", "30: t0 80 3C 00",
        "30: t0 90 3E 6E", "40: t0 80 3E 00"}},
      {"count 1 runs once",
       Join({{0xE8, 1, 0, 0}, Note(60, 10), {0xE9, 0, 1}, Note(62, 10)}),
       {"0: t0 90 3C 6E", "10: t0 80 3C 00", "10: t0 90 3E 6E", "20: t0 80 3E 00"}},
      {"nested",
       Join({{0xE8, 1, 0, 0, 0xE8, 1, 0, 1}, Note(60, 10), {0xE9, 1, 2}, Note(62, 10), {0xE9, 0, 2}}),
       {"0: t0 90 3C 6E", "10: t0 80 3C 00", "10: t0 90 3C 6E", "20: t0 80 3C 00", "20: t0 90 3E 6E", "30: t0 80 3E 00",
        "30: t0 90 3C 6E", "40: t0 80 3C 00", "40: t0 90 3C 6E", "50: t0 80 3C 00", "50: t0 90 3E 6E",
        "60: t0 80 3E 00"}},
      {"end without start goes on",
       Join({Note(60, 10), {0xE9, 0, 3}, Note(62, 10)}),
       {"0: t0 90 3C 6E", "10: t0 80 3C 00", "10: t0 90 3E 6E", "20: t0 80 3E 00"}},
      {"a start after the end is not gone back to",
       Join({Note(60, 10), {0xE9, 0, 3, 0xE8, 1, 0, 0}, Note(62, 10)}),
       {"0: t0 90 3C 6E", "10: t0 80 3C 00", "10: t0 90 3E 6E", "20: t0 80 3E 00"}},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(LoadFresh(BuildImage({{1, c.stream}})));
    EXPECT_EQ(RunTicks(0, 70), c.expected) << c.name;
  }
}

TEST(TrackPass, JumpGoesBackToItsLabelAndAMissingLabelEndsTheTrack) {
  ASSERT_TRUE(LoadFresh(BuildImage({{1, Join({Note(62, 10), {0xEA, 1}, Note(60, 10), {0xEB, 1}})}})));
  EXPECT_THAT(RunTicks(0, 30), ElementsAre("0: t0 90 3E 6E", "10: t0 80 3E 00", "10: t0 90 3C 6E", "20: t0 80 3C 00",
                                           "20: t0 90 3C 6E", "30: t0 80 3C 00", "30: t0 90 3C 6E"));
  EXPECT_EQ(GetState().jumpCount[0], 2);

  ASSERT_TRUE(LoadFresh(BuildImage({{1, Join({Note(60, 10), {0xEB, 5}, Note(62, 10)})}})));
  EXPECT_THAT(RunTicks(0, 30), ElementsAre("0: t0 90 3C 6E", "10: t0 80 3C 00"));
  EXPECT_EQ(GetState().trackPos[0], nullptr);

  // A label is found at any byte: here in the operand of a tempo (0x01EA),
  // so the jump lands on the note after it and the tempo is not read again.
  ASSERT_TRUE(LoadFresh(BuildImage({{1, Join({{0xF0, 0xEA, 0x01}, Note(60, 10), {0xEB, 1}})}})));
  EXPECT_THAT(RunTicks(0, 20), ElementsAre("0: t0 meta:FF 51 03 01 DE 50", "0: t0 90 3C 6E", "10: t0 80 3C 00",
                                           "10: t0 90 3C 6E", "20: t0 80 3C 00", "20: t0 90 3C 6E"));

  // ...but not beyond the end mark.
  ASSERT_TRUE(LoadFresh(BuildImage({{1, Join({Note(60, 10), {0xEB, 1, 0xFF, 0xFF, 0xFF, 0x2E, 0xEA, 1}})}})));
  EXPECT_THAT(RunTicks(0, 30), ElementsAre("0: t0 90 3C 6E", "10: t0 80 3C 00"));
}

TEST(TrackPass, LoopWithoutTimeEndsTheTrackInsteadOfHanging) {
  const Bytes loops[] = {
      {0xEA, 1, 0xB0, 7, 100, 0xEB, 1},  // a label jumping to itself
      // repeat ends going back to one start again and again: 255 × 255 × ... passes of nothing
      {0xE8, 1, 0, 9, 0xB0, 7, 100, 0xE9, 9, 255, 0xE9, 9, 255, 0xE9, 9, 255, 0xE9, 9, 255},
  };
  for (const Bytes& loop : loops) {
    ASSERT_TRUE(LoadFresh(BuildImage({{1, loop}, {2, Note(60, 10)}})));
    MessageWord words[kMessageCapacity];
    MessageSlots slots;
    EXPECT_EQ(TrackPass(0, words, &slots), kMessageCapacity) << "words beyond the array are dropped";
    EXPECT_EQ(GetState().trackPos[0], nullptr);
    EXPECT_EQ(TrackPass(0, words, &slots), -1) << "the next pass costs nothing";
    EXPECT_THAT(RunTicks(0, 10), ElementsAre("0: t1 91 3C 6E", "10: t1 81 3C 00")) << "the others play on";
  }
}

TEST(TrackPass, SynchronisationMarksHoldTracksUntilAllArrive) {
  const Bytes image =
      BuildImage({{1, Join({Note(60, 10), {0xEF}, Note(62, 10)})}, {2, Join({Note(64, 20), {0xEF}, Note(65, 10)})}});
  ASSERT_TRUE(LoadFresh(image));
  EXPECT_THAT(RunTicks(0, 22), ElementsAre("0: t0 90 3C 6E", "0: t1 91 40 6E", "10: t0 80 3C 00", "20: t1 81 40 00",
                                           "21: t0 90 3E 6E", "21: t1 91 41 6E"));
}

TEST(TrackPass, AfterNoOutputMarksOnlyCount) {
  const Bytes image = BuildImage(
      {{1, Join({{0xEE}, Note(60, 10), {0xEF}, Note(62, 10)})}, {2, Join({Note(64, 40), {0xEF}, Note(65, 10)})}});
  ASSERT_TRUE(LoadFresh(image));
  // The note after EE comes a tick late but keeps its place in time.
  EXPECT_THAT(RunTicks(0, 13), ElementsAre("0: t1 91 40 6E", "1: t0 90 3C 6E", "10: t0 80 3C 00", "11: t0 90 3E 6E"));
  EXPECT_EQ(GetState().syncArmed, 0);
}

TEST(TrackPass, ChannelEventsWriteTheirControllersAndKeepTheSettings) {
  const Bytes events = {0xE0, 3,    0xC0, 19,   0xC2, 90,   0xC5, 30, 0xC7, 100, 0xC4,
                        1,    0xF6, 0xC6, 0x00, 0x30, 0xB0, 91,   60, 0xC3, 1,   0x05};
  ASSERT_TRUE(LoadFresh(BuildImage({{1, Join({events, Note(60, 10)})}})));
  EXPECT_THAT(RunTick(0),
              ElementsAre("t0 C3 13", "t0 B3 07 5A", "t0 B3 0A 1E", "t0 B3 0B 64", "t0 B3 0B 5A", "t0 B3 65 00",
                          "t0 B3 64 01", "t0 B3 06 60", "t0 B3 26 00", "t0 B3 5B 3C", "t0 B3 0B 5F", "t0 93 3C 6E"));
  const EngineState& s = GetState();
  EXPECT_EQ(s.program[3], 19);
  EXPECT_EQ(s.volume[3], 90);
  EXPECT_EQ(s.pan[3], 30);
  EXPECT_EQ(s.fineTune[3], 0x3000);
  EXPECT_EQ(s.expressionBias[3], -10);
  EXPECT_EQ(s.expression[3], 95);
}

TEST(TrackPass, VelocityEventsClampAndOctaveMarksChangeNothing) {
  struct Case {
    Bytes events;
    uint8_t velocity;
  };
  const Case cases[] = {
      {{0xC1, 100}, 100},
      {{0xC4, 0, 10, 0xC1, 120}, 127},                  // bias 10: 110 -> 120, then 120 + 10 clamps
      {{0xC3, 0, 0x9C}, 10},                            // 110 - 100
      {{0xC3, 0, 0x80, 0xC3, 0, 0x80}, 0},              // clamps at 0
      {{0xC4, 12, 0xC4, 0xF4, 0xC3, 7, 0xC1, 90}, 90},  // other selectors: two bytes each
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(LoadFresh(BuildImage({{1, Join({c.events, Note(60, 10)})}})));
    char expected[32];
    std::snprintf(expected, sizeof expected, "t0 90 3C %02X", c.velocity);
    EXPECT_THAT(RunTick(0), ElementsAre(expected));
  }
}

TEST(TrackPass, TempoSysExAndCommentNeedSlotsOnlyForTheirMessages) {
  const Bytes events = {0xF0, 60, 0, 0xFE, 6, 0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7, 0xFA, 'h', 'i', 0};
  ASSERT_TRUE(LoadFresh(BuildImage({{1, Join({events, Note(60, 10)})}})));
  EXPECT_THAT(RunTick(0), ElementsAre("t0 meta:FF 51 03 0F 42 40", "t0 sysex:F0 7E 7F 09 01 F7", "t0 90 3C 6E"));
  EXPECT_STREQ(std::string(GetState().trackText, GetState().trackText + 3).c_str(), "hi");

  ASSERT_TRUE(LoadFresh(BuildImage({{1, Join({events, Note(60, 10)})}})));
  EXPECT_THAT(RunTick(0, false), ElementsAre("t0 90 3C 6E"));
  EXPECT_EQ(GetState().tempo, 60);
  EXPECT_EQ(GetState().songTempo, 60);
}

// A foreign image may hold any tempo: 0 would divide by zero, and the meta
// event's microseconds must fit its three bytes.
TEST(TrackPass, TempoOutsideWhatTheCompilerWritesIsClamped) {
  struct Case {
    uint16_t written;
    int16_t tempo;
    const char* meta;
  } const cases[] = {{0, 4, "t0 meta:FF 51 03 E4 E1 C0"}, {65535, 32767, "t0 meta:FF 51 03 00 07 27"}};
  for (const Case& c : cases) {
    const Bytes tempo = {0xF0, static_cast<uint8_t>(c.written), static_cast<uint8_t>(c.written >> 8)};
    ASSERT_TRUE(LoadFresh(BuildImage({{1, Join({tempo, Note(60, 10)})}})));
    EXPECT_THAT(RunTick(0), ElementsAre(c.meta, "t0 90 3C 6E")) << c.written;
    EXPECT_EQ(GetState().tempo, c.tempo);
  }
}

TEST(TrackPass, LengthIsShownAsNoteValues) {
  struct Case {
    uint8_t ticks;
    std::vector<int> values;
  };
  const Case cases[] = {{72, {4, 8}}, {16, {12}}, {48, {4}}, {192, {1}}, {36, {8, 16}}, {0, {192}}, {100, {2, 48}}};
  for (const Case& c : cases) {
    ASSERT_TRUE(LoadFresh(BuildImage({{1, Note(60, c.ticks)}})));
    RunTick(0);
    const EngineState& s = GetState();
    std::vector<int> shown;
    for (int i = 0; i <= s.lengthValueCount[0]; ++i) shown.push_back(s.lengthValues[0][i]);
    EXPECT_EQ(shown, c.values) << int{c.ticks} << " ticks";
  }
}

// Foreign images: nothing is read beyond a stream, nothing written beyond an array.
TEST(TrackPass, StreamWithoutTerminatorEndsWhereItsStreamEnds) {
  Bytes image = BuildImage({{1, Note(60, 10)}, {2, Note(64, 20)}}, 0, 23, false);
  ASSERT_TRUE(LoadFresh(image));
  EXPECT_THAT(RunTicks(0, 21), ElementsAre("0: t0 90 3C 6E", "0: t1 91 40 6E", "10: t0 80 3C 00", "20: t1 81 40 00"));
  EXPECT_EQ(GetState().trackPos[0], nullptr);
  EXPECT_EQ(GetState().trackPos[1], nullptr);
}

TEST(TrackPass, TruncatedEventAndOversizedSysExAreDropped) {
  Bytes tooLong = {0xFE, 200};
  tooLong.resize(202, 0x11);
  ASSERT_TRUE(LoadFresh(BuildImage({{1, Join({tooLong, Note(60, 10)})}, {2, {0xB3, 10}}}, 0, 23, false)));
  EXPECT_THAT(RunTick(0), ElementsAre("t0 90 3C 6E"));
  EXPECT_EQ(GetState().trackPos[1], nullptr) << "a ramp event cut short ends its track";
}

TEST(TrackPass, BentNoteNeverShowsAsAMarker) {
  ASSERT_TRUE(LoadFresh(BuildImage({{1, Note(126, 48, 7)}})));
  GetState().bendNow[0] = 500.0f;  // shows one note higher: 127 would read as a rest
  RunTicks(0, 41);
  EXPECT_EQ(GetState().eventNotes[0][0], 126);
  EXPECT_THAT(RunTick(42), ElementsAre("t0 80 7E 00"));
}

}  // namespace
}  // namespace tsy::test
