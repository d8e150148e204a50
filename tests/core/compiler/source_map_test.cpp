// The source map: every event of the image's streams leads back to the
// construct that wrote it, and a player finds the event at an offset or the
// first event of a line.
#include "core/compiler/source_map.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/compiler/compile_driver.h"
#include "core/image/event_reader.h"
#include "source_position_printer.h"

namespace tsy {
namespace {

// Where each event of track `track`'s stream starts, read as the engine reads it.
std::vector<uint32_t> EventStarts(const CompileResult& r, int track) {
  std::vector<uint32_t> starts;
  uint32_t at = ImageTrackOffset(r.image.data(), track);
  if (at == 0) return starts;
  ChordReader chord;
  for (;;) {
    const uint8_t* bytes = r.image.data() + at;
    const bool note = bytes[0] < kFirstEventCode;
    const size_t size = EventSize(bytes, r.image.size() - at, note && chord.NextNoteIsMember());
    if (size == 0) return starts;  // the terminator
    starts.push_back(at);
    if (note) chord.OnNote();
    else if (bytes[0] == static_cast<uint8_t>(EventCode::kChordLink)) chord.OnChordLink();
    at += static_cast<uint32_t>(size);
  }
}

std::vector<uint32_t> MappedOffsets(const CompileResult& r, int track) {
  std::vector<uint32_t> offsets;
  for (const SourceMapEntry& e : r.sourceMap.Events(track)) offsets.push_back(e.offset);
  return offsets;
}

std::vector<SourcePosition> MappedPositions(const CompileResult& r, int track) {
  std::vector<SourcePosition> positions;
  for (const SourceMapEntry& e : r.sourceMap.Events(track)) positions.push_back(e.at);
  return positions;
}

TEST(SourceMap, EveryEventLeadsToTheConstructThatWroteIt) {
  struct Case {
    std::string source;
    std::vector<SourcePosition> events;
  } const cases[] = {
      // A note; a tone with its bank (three events); a chord (link, note,
      // link, member, member); a bar line; a repeat around a note.
      {"1[o4 c8\n  @5,1,2 c4/e/g ' (d)2 ]",
       {{1, 6},
        {2, 3},
        {2, 3},
        {2, 3},
        {2, 10},
        {2, 10},
        {2, 13},
        {2, 13},
        {2, 15},
        {2, 17},
        {2, 19},
        {2, 20},
        {2, 21}}},
      // What a substitution letter inserted maps to the letter.
      {"$a[cd]\n1[@qlA e]", {{2, 6}, {2, 6}, {2, 8}}},
      {"$p[c\\1e]\n1[@qlP8]", {{2, 6}, {2, 6}}},
      // A group measures its '@' commands ahead and takes their events back.
      {"1[{c@v100d}8]", {{1, 4}, {1, 5}, {1, 10}}},
      // Ornaments write several notes from one.
      {"1[@trn c2]", {{1, 8}, {1, 8}, {1, 8}, {1, 8}}},
  };
  for (const Case& c : cases) {
    const CompileResult r = CompileSource(c.source);
    ASSERT_TRUE(r.errorFree()) << c.source;
    EXPECT_EQ(MappedOffsets(r, 1), EventStarts(r, 1)) << c.source;
    EXPECT_EQ(MappedPositions(r, 1), c.events) << c.source;
  }
}

TEST(SourceMap, EveryTrackOfABlockHasItsOwnEventsAndAFailedTrackNone) {
  const CompileResult r = CompileSource("1-2[c\nd]\n3[e x]");
  ASSERT_FALSE(r.errorFree());
  EXPECT_EQ(MappedOffsets(r, 1), EventStarts(r, 1));
  EXPECT_EQ(MappedOffsets(r, 2), EventStarts(r, 2));
  EXPECT_EQ(MappedPositions(r, 2), (std::vector<SourcePosition>{{1, 5}, {2, 1}}));
  EXPECT_EQ(MappedOffsets(r, 2).front(), MappedOffsets(r, 1).front() + 5 + 5 + 4);  // after track 1's stream
  EXPECT_TRUE(r.sourceMap.Events(3).empty());
  EXPECT_TRUE(r.sourceMap.Events(0).empty());
  EXPECT_TRUE(r.sourceMap.Events(49).empty());
}

TEST(SourceMap, FindsTheEventAtAnOffsetAndTheFirstEventOfALine) {
  const CompileResult r = CompileSource("1[c\nd\n\ne]2[f\n\ng]");
  const SourceMap& map = r.sourceMap;
  const uint32_t start = ImageTrackOffset(r.image.data(), 1);  // c, d and e: five bytes each
  EXPECT_EQ(map.EventAt(1, start - 1), nullptr);
  EXPECT_EQ(map.EventAt(1, start)->at, (SourcePosition{1, 3}));
  EXPECT_EQ(map.EventAt(1, start + 4)->at, (SourcePosition{1, 3}));  // inside the note's bytes
  EXPECT_EQ(map.EventAt(1, start + 5)->at, (SourcePosition{2, 1}));
  EXPECT_EQ(map.EventAt(1, start + 15)->at, (SourcePosition{4, 1}));  // the terminator: the last event
  EXPECT_EQ(map.EventAt(5, start), nullptr);

  EXPECT_EQ(map.FirstEventFromLine(1, 2)->offset, start + 5);
  EXPECT_EQ(map.FirstEventFromLine(1, 3)->offset, start + 10);  // no event on line 3: the next line's
  EXPECT_EQ(map.FirstEventFromLine(1, 5), nullptr);
  EXPECT_EQ(map.FirstEventFromLine(2, 1)->at, (SourcePosition{4, 5}));
  EXPECT_EQ(map.FirstEventFromLine(2, 5)->at, (SourcePosition{6, 1}));
}

}  // namespace
}  // namespace tsy
