// The export from a later tick: after the preamble, the state chased there,
// then every message of the export from tick 0 from that tick on, in the
// same order, except the releases of notes that were never sounded.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "../engine/test_image.h"
#include "core/compiler/compile_driver.h"
#include "core/smf/export_smf.h"
#include "smf_reader.h"

namespace tsy::test {
namespace {

constexpr uint32_t kMusicStart = 192;  // file tick of the music's first tick, after the preamble bar

// What a listener holds after `events`: the last program, bend and value of
// every controller per channel, parameter data per selected parameter, and
// the tempo.
class ListenerState {
 public:
  void Hear(const SmfEvent& e) {
    const uint8_t status = e.bytes[0];
    const int ch = status & 0x0F;
    switch (status & 0xF0) {
      case 0xC0: set_["program " + std::to_string(ch)] = e.bytes[1]; break;
      case 0xE0: set_["bend " + std::to_string(ch)] = e.bytes[1] | e.bytes[2] << 7; break;
      case 0xB0: Controller(ch, e.bytes[1], e.bytes[2]); break;
      case 0xF0:
        if (status == 0xFF && e.bytes[1] == 0x51) set_["tempo"] = e.bytes[3] << 16 | e.bytes[4] << 8 | e.bytes[5];
        break;
      default: break;
    }
  }
  const std::map<std::string, int>& values() const { return set_; }

 private:
  void Controller(int ch, int k, int v) {
    int& selected = selection_[ch];
    if (k == 101 || k == 99) selected = (k == 99 ? 0x10000 : 0) | v << 8 | (selected & 0xFF);
    else if (k == 100 || k == 98) selected = (selected & 0x1FF00) | v;
    else if (k == 6 || k == 38)
      set_["param " + std::to_string(ch) + "/" + std::to_string(selected) + "/" + std::to_string(k)] = v;
    else set_["cc " + std::to_string(ch) + "/" + std::to_string(k)] = v;
  }
  std::map<std::string, int> set_;
  std::map<int, int> selection_;
};

// The end of the track follows the last message, wherever that is.
bool IsEndOfTrack(const SmfEvent& e) { return e.bytes.size() >= 2 && e.bytes[0] == 0xFF && e.bytes[1] == 0x2F; }

std::vector<SmfEvent> Render(const Bytes& image, uint32_t from) {
  EXPECT_TRUE(LoadFresh(image));
  uint32_t end = 0;
  std::vector<SmfEvent> events = ReadSmfEvents(RenderSmf(end, SmfFormat::kSingleTrack, from));
  std::erase_if(events, IsEndOfTrack);
  return events;
}

bool IsNote(const SmfEvent& e) { return (e.bytes[0] & 0xE0) == 0x80; }
bool IsRelease(const SmfEvent& e) {
  return (e.bytes[0] & 0xF0) == 0x80 || ((e.bytes[0] & 0xF0) == 0x90 && e.bytes[2] == 0);
}
std::pair<int, int> Key(const SmfEvent& e) { return {e.bytes[0] & 0x0F, e.bytes[1]}; }

// Checks the export from `from` against the export from tick 0.
void ExpectChasedExport(const Bytes& image, uint32_t from) {
  SCOPED_TRACE("from tick " + std::to_string(from));
  const std::vector<SmfEvent> whole = Render(image, 0);
  const std::vector<SmfEvent> part = Render(image, from);

  // The state at the target, with the target's own messages heard.
  ListenerState expected, chased;
  std::set<std::pair<int, int>> sounding;  // notes begun before the target
  std::vector<SmfEvent> after;             // the whole export from the target on, in music time
  for (const SmfEvent& e : whole) {
    const bool before = e.tick < kMusicStart + from;
    if (e.tick <= kMusicStart + from && !IsNote(e)) expected.Hear(e);
    if (before && IsNote(e)) IsRelease(e) ? (void)sounding.erase(Key(e)) : (void)sounding.insert(Key(e));
    if (before) continue;
    if (IsRelease(e) && sounding.erase(Key(e))) continue;  // never sounded after the seek
    after.push_back({e.tick - from, e.bytes});
  }
  for (const SmfEvent& e : part)
    if (e.tick <= kMusicStart && !IsNote(e)) chased.Hear(e);
  EXPECT_EQ(chased.values(), expected.values());

  // Behind the chased state (all at the music's start), the same messages.
  ASSERT_GE(part.size(), after.size());
  const size_t chase = part.size() - after.size();
  for (size_t i = 0; i < part.size(); ++i) {
    if (part[i].tick < kMusicStart) continue;
    if (i < chase) {
      EXPECT_EQ(part[i].tick, kMusicStart) << "the chased state comes first";
      EXPECT_FALSE(IsNote(part[i]));
      continue;
    }
    const SmfEvent& want = after[i - chase];
    ASSERT_EQ(part[i].tick, want.tick) << "message " << i;
    ASSERT_EQ(part[i].bytes, want.bytes) << "message " << i;
  }
}

TEST(SmfExportFrom, TheDemoFromAnyTickHoldsTheChasedStateThenTheSameMessages) {
  const CompileResult demo = CompileFile(TSY_SOURCE_DIR "/examples/demo.mus");
  ASSERT_TRUE(demo.errorFree());
  for (uint32_t from : {1u, 100u, 384u, 1000u, 1500u, 2811u}) ExpectChasedExport(demo.image, from);
}

TEST(SmfExportFrom, PedalsTuningParametersAndGlidesAreChased) {
  const CompileResult music = CompileSource(
      "1[ @ch1 @5 @vol90 @hold1 @dtn20 @cont1,64 o4 c2 d2 e2 @hold0 f2 w16eg2 a2 ]\n"
      "2[ @ch2 @20 t150 @varc1,0,11,20,120 c1 t90 c1 c1 ]\n");
  ASSERT_TRUE(music.errorFree()) << music.messageText;
  for (uint32_t from : {48u, 100u, 200u, 300u, 400u, 500u}) ExpectChasedExport(music.image, from);
}

TEST(SmfExportFrom, ATickPastTheEndLeavesThePreambleAndTheState) {
  const CompileResult music = CompileSource("1[ @5 o4 c4 ]\n");
  ASSERT_TRUE(music.errorFree());
  const std::vector<SmfEvent> part = Render(music.image, 5000);
  ASSERT_FALSE(part.empty());
  EXPECT_LE(part.back().tick, kMusicStart) << "no music after the state";
}

}  // namespace
}  // namespace tsy::test
