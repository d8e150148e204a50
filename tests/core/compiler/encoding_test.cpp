// Compiled streams that a reader can walk from start to end, and the size
// limit of the object buffer.
#include <gtest/gtest.h>

#include "core/compiler/compile_unit.h"
#include "core/image/event_reader.h"
#include "track_compile.h"

namespace tsy::test {
namespace {

// Walks a compiled stream event by event as a reader does; returns the sum
// of the note lengths and fails when an event is cut or malformed.
uint32_t Walk(const Bytes& stream) {
  ChordReader chord;
  uint32_t ticks = 0;
  size_t at = 0;
  while (at < stream.size()) {
    const uint8_t* event = stream.data() + at;
    bool member = event[0] < kFirstEventCode && chord.NextNoteIsMember();
    size_t size = EventSize(event, stream.size() - at, member);
    if (size == 0) {
      ADD_FAILURE() << "no event at offset " << at;
      return ticks;
    }
    if (event[0] == static_cast<uint8_t>(EventCode::kChordLink)) chord.OnChordLink();
    if (event[0] < kFirstEventCode) {
      chord.OnNote();
      if (!member) {
        EXPECT_EQ(event[kNoteFlagsAt] & ~(kNoteAttack | kNoteRelease | kNoteSlurred), 0) << at;
        EXPECT_GE(event[kNoteGateAt], 1);
        EXPECT_LE(event[kNoteGateAt], kMaxGate);
        for (size_t i = kNoteLengthsAt; i < size; ++i) {
          EXPECT_GE(event[i], 1);
          EXPECT_LE(event[i], kMaxLengthByte);
          ticks += event[i];
        }
      }
    }
    at += size;
  }
  return ticks;
}

TEST(Streams, EveryConstructCanBeWalkedToTheEnd) {
  // Everything except repeats (whose bodies count more than once), so the
  // note lengths must add up to the track's length.
  const char* body =
      "t120 @0 @5,1,2 v12 v+3 v=-2 u100 u-5 u=+4 @v100 @vol90 @pan-10 @l @r @ch2 @kd3 @km"
      "@cont7,100 @hold1 @sos1,0 @rev10,20,30,40 @lfov1,2,3 @cfr4,5 @varc4,0,11,0,127"
      "@dtn3 @dt-9 @dts100 @eqn @eqd @label1 c4 @jump1 @noout @com\"comment\""
      "@h{f0,41,10,42,12,cs,40,00,7f,00,ss,f7} @si c&c @so c~d q4 l8 c. d^16 e2_8"
      "o5 c/e/g o4 c!/e? {ccccc}4 w8ce4 @trn c @xcad16 d2 @tri e4^16 @_f+ f @+ g a ' g"
      "_d c _c r4 r!& r c=200 *";
  CompiledTrack t = CompileTrack(body);
  ASSERT_EQ(t.fault, kNoFault) << t.message;
  EXPECT_EQ(Walk(t.events), t.ticks);
}

TEST(Streams, RepeatLengthsMatchWhatPlays) {
  CompiledTrack t = CompileTrack("(c(d/f)3e)2(g");
  ASSERT_EQ(t.fault, kNoFault);
  Walk(t.events);
  EXPECT_EQ(t.ticks, 2u * (48 + 3 * 48 + 48) + 48);
}

TEST(SizeLimit, ATrackThatWouldOverrunTheBufferStopsWithOneMessage) {
  // Thousands of one-tick trill notes: far more than the object buffer holds.
  CompileResult r = CompileSource("1[c]2[@tri=1c1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1]");
  ASSERT_EQ(r.diagnostics.size(), 1u);
  EXPECT_EQ(r.diagnostics[0].id, TextId::kDataOverflow);
  EXPECT_EQ(TrackEvents(r, 1), Hex("30 03 07 00 30"));
  EXPECT_TRUE(TrackEvents(r, 2).empty());
  EXPECT_LE(r.image.size(), kObjectBufferSize);
}

}  // namespace
}  // namespace tsy::test
