// The format-1 export: a tempo map and one named track per stream, holding
// exactly the format-0 export's messages at their ticks, distributed by track.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "../engine/test_image.h"
#include "core/compiler/compile_driver.h"
#include "core/smf/export_smf.h"
#include "smf_reader.h"

namespace tsy::test {
namespace {

using ::testing::ElementsAre;

// Two named tracks, a third without a name that changes the tempo, and a
// track 5 that only holds a comment-less note on the drum channel.
constexpr const char* kPiece =
    "1[ @com\"melody\" t120 o4 c4 d4 e4 f4 ]\n"
    "2[ @com\"bass line\" o2 c2 g2 ]\n"
    "3[ r2 t90 o5 @19 c2 ]\n"
    "5[ @ch10 o3 c8 c8 ]\n";

struct Exports {
  Bytes format0, format1;
};

Exports ExportBoth(const char* source) {
  const CompileResult compiled = CompileSource(source);
  EXPECT_TRUE(compiled.errorFree());
  Exports both;
  uint32_t endTick = 0;
  EXPECT_TRUE(LoadFresh(compiled.image));
  both.format0 = RenderSmf(endTick);
  EXPECT_TRUE(LoadFresh(compiled.image));
  both.format1 = RenderSmf(endTick, SmfFormat::kTrackPerTrack);
  return both;
}

// Every event but the end of track and the track name, by tick; within a tick
// in the order a track holds them.
using EventsByTick = std::multimap<uint32_t, Bytes>;
void Collect(const std::vector<SmfEvent>& events, EventsByTick& into) {
  for (const SmfEvent& e : events)
    if (!(e.bytes[0] == 0xFF && (e.bytes[1] == 0x2F || e.bytes[1] == 0x03))) into.emplace(e.tick, e.bytes);
}

std::string TrackName(const Bytes& chunk) {
  for (const SmfEvent& e : ReadChunkEvents(chunk))
    if (e.bytes[0] == 0xFF && e.bytes[1] == 0x03) return std::string(e.bytes.begin() + 3, e.bytes.end());
  return "";
}

TEST(SmfFormat1, ATempoMapThenOneNamedTrackPerStream) {
  const SmfChunks file = SplitSmf(ExportBoth(kPiece).format1);
  EXPECT_EQ(file.format, 1);
  ASSERT_EQ(file.declaredTracks, 5);
  ASSERT_EQ(file.tracks.size(), 5u) << "each chunk whole, its length as stated";
  std::vector<std::string> names;
  for (size_t i = 1; i < file.tracks.size(); ++i) names.push_back(TrackName(file.tracks[i]));
  EXPECT_THAT(names, ElementsAre("melody", "bass line", "Track 03", "Track 05"));

  std::vector<uint32_t> tempoTicks;
  for (size_t i = 0; i < file.tracks.size(); ++i)
    for (const SmfEvent& e : ReadChunkEvents(file.tracks[i]))
      if (e.bytes[0] == 0xFF && e.bytes[1] == 0x51) {
        EXPECT_EQ(i, 0u) << "tempo events live in the tempo map alone";
        tempoTicks.push_back(e.tick);
      }
  EXPECT_THAT(tempoTicks, ElementsAre(192, 288));
  EXPECT_EQ(TrackName(file.tracks[0]), "") << "the tempo map has no name";
}

TEST(SmfFormat1, HoldsTheFormat0MessagesAtTheirTicksEachInItsTrack) {
  const Exports both = ExportBoth(kPiece);
  EventsByTick single, spread;
  Collect(ReadSmfEvents(both.format0), single);
  const SmfChunks file = SplitSmf(both.format1);
  for (const Bytes& chunk : file.tracks) Collect(ReadChunkEvents(chunk), spread);
  ASSERT_EQ(single.size(), spread.size());
  for (auto it = single.begin(); it != single.end();) {
    const auto [from, to] = single.equal_range(it->first);
    std::vector<Bytes> a, b;
    for (auto i = from; i != to; ++i) a.push_back(i->second);
    for (auto [i, end] = spread.equal_range(it->first); i != end; ++i) b.push_back(i->second);
    std::sort(a.begin(), a.end());
    std::sort(b.begin(), b.end());
    EXPECT_EQ(a, b) << "at tick " << it->first;
    it = to;
  }

  // The drum track's notes are on channel 10 and in the fourth track only.
  for (size_t i = 0; i < file.tracks.size(); ++i)
    for (const SmfEvent& e : ReadChunkEvents(file.tracks[i]))
      if ((e.bytes[0] & 0xF0) == 0x90) {
        EXPECT_EQ((e.bytes[0] & 0x0F) == 9, i == 4) << "track " << i;
      }
}

TEST(SmfFormat1, ThePreambleOfATrackStaysWithIt) {
  const SmfChunks file = SplitSmf(ExportBoth("1[ c ]\n2[ d ]\n").format1);
  ASSERT_EQ(file.tracks.size(), 3u);
  const std::vector<SmfEvent> first = ReadChunkEvents(file.tracks[1]), second = ReadChunkEvents(file.tracks[2]);
  ASSERT_GE(first.size(), 2u);
  EXPECT_EQ(first[1].bytes, (Bytes{0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7})) << "GM System On, once, after the name";
  for (const SmfEvent& e : second) {
    EXPECT_NE(e.bytes[0], 0xF0);
    if (e.bytes[0] < 0xF0) {
      EXPECT_EQ(e.bytes[0] & 0x0F, 1) << "track 2's preamble is on channel 2";
    }
  }
}

}  // namespace
}  // namespace tsy::test
