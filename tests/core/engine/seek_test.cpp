// Seek with chase: what the chased state holds and in which order, and the
// engine left at the target with the notes begun before it silent.
#include "core/engine/seek.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/compiler/compile_driver.h"
#include "core/engine/play_controls.h"
#include "core/engine/play_thread.h"
#include "test_image.h"

namespace tsy::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

// Messages as text, absorbed one by one from short words and system-exclusive bytes.
class ChaseTest : public ::testing::Test {
 protected:
  void Short(uint8_t status, uint8_t a, uint8_t b = 0) { chase_.Absorb(ShortMessage(status, a, b), slots_); }
  void SysEx(const Bytes& bytes) {
    std::copy(bytes.begin(), bytes.end(), slots_[0].begin());
    chase_.Absorb(SysExWord(0, static_cast<uint8_t>(bytes.size())), slots_);
  }
  std::vector<std::string> Composed() {
    chase_.Compose();
    std::vector<std::string> out;
    for (MessageWord w : chase_.Messages()) out.push_back(Describe(w, &chase_.Slots()));
    return out;
  }

  ChasedState chase_;
  MessageSlots slots_{};

  void SetUp() override { chase_.Clear(); }
};

TEST_F(ChaseTest, BankComesBeforeProgramAndControllersKeepTheirLastValue) {
  Short(0xC1, 5);
  Short(0xB1, 7, 90);
  Short(0xB1, 0, 1);
  Short(0xB1, 7, 70);
  Short(0x91, 60, 100);  // notes are no state
  Short(0xE1, 0x10, 0x50);
  EXPECT_THAT(Composed(), ElementsAre("B1 00 01", "C1 05", "B1 07 46", "E1 10 50"));
}

TEST_F(ChaseTest, ParameterDataGoesWithItsSelectionAndTheLastSelectionIsRestored) {
  // Bend range 24 (RPN 0), then fine tuning (RPN 1) in two halves, then the
  // selection closed (127, 127): each parameter is sent whole, then the close.
  for (auto [c, v] :
       {std::pair{101, 0}, {100, 0}, {6, 24}, {101, 0}, {100, 1}, {6, 64}, {38, 5}, {101, 127}, {100, 127}})
    Short(0xB0, static_cast<uint8_t>(c), static_cast<uint8_t>(v));
  Short(0xB0, 96, 0);  // an increment is a step, not a setting: replaying it would step again
  EXPECT_THAT(Composed(), ElementsAre("B0 65 00", "B0 64 00", "B0 06 18", "B0 65 00", "B0 64 01", "B0 06 40",
                                      "B0 26 05", "B0 65 7F", "B0 64 7F"));
}

TEST_F(ChaseTest, ADeviceResetForgetsWhatCameBeforeIt) {
  Short(0xC0, 9);
  SysEx({0xF0, 0x41, 0x10, 0x42, 0x12, 0x40, 0x00, 0x7F, 0x00, 0x41, 0xF7});  // GS reset
  Short(0xB0, 10, 20);
  EXPECT_THAT(Composed(), ElementsAre("sysex:F0 41 10 42 12 40 00 7F 00 41 F7", "B0 0A 14"));
}

TEST_F(ChaseTest, ResetAllControllersForgetsTheControllersItResets) {
  Short(0xB2, 11, 50);
  Short(0xB2, 64, 127);
  Short(0xB2, 7, 80);
  Short(0xE2, 0, 0x30);
  Short(0xB2, 121, 0);
  EXPECT_THAT(Composed(), ElementsAre("B2 07 50"));
}

// Compiles `source` into the engine.
void LoadSource(const char* source) {
  const CompileResult compiled = CompileSource(source);
  ASSERT_TRUE(compiled.errorFree()) << compiled.messageText;
  ASSERT_TRUE(LoadFresh(compiled.image));
}

TEST(SeekTest, ANoteBegunBeforeTheTargetIsNeitherSoundedNorReleased) {
  LoadSource("1[ @ch1 @5 v15 o4 c2 d2 ]\n");  // c at 0..95, d from 96
  ChasedState chase;
  EXPECT_EQ(SeekTo(48, chase), 48u);
  EXPECT_EQ(GetState().tick, 48u);
  EXPECT_THAT(RunTicks(48, 95), IsEmpty()) << "no note-off for the c that never sounded";
  const std::vector<std::string> at96 = RunTicks(96, 96);
  ASSERT_EQ(at96.size(), 1u);
  EXPECT_EQ(at96[0].substr(0, 10), "96: t0 90 ") << "the next attack sounds";
}

int musicRequests = 0;

TEST(SeekTest, TheMusicsOwnRequestsOnTheWayAreIgnored) {
  LoadSource("1[ o4 c4 ** c4 c4 * ]\n");  // a stop at 48, a restart at 144
  SetMusicRequests([] { ++musicRequests; }, [] { ++musicRequests; });
  ChasedState chase;
  EXPECT_EQ(SeekTo(130, chase), 130u);
  EXPECT_EQ(musicRequests, 0);
  RunTick(144);
  EXPECT_EQ(musicRequests, 1) << "requests count again after the seek";
  SetMusicRequests(nullptr, nullptr);
}

TEST(SeekTest, MusicThatEndsBeforeTheTargetStopsWhereItEnds) {
  LoadSource("1[ o4 c4 ]\n");
  ChasedState chase;
  EXPECT_LT(SeekTo(1000, chase), 1000u);
}

// `full` from tick `target` on, without the note-offs of notes begun before
// it: those of a track before its first note-on at or after the target.
std::vector<std::string> FromTargetOn(const std::vector<std::string>& full, uint32_t target) {
  std::vector<std::string> out;
  std::vector<bool> attacked(kTrackCount, false);
  for (const std::string& line : full) {
    const size_t colon = line.find(':');
    if (std::stoul(line.substr(0, colon)) < target) continue;
    const int track = std::stoi(line.substr(colon + 3));
    const std::string message = line.substr(line.find(' ', colon + 2) + 1);
    const bool noteOn = message[0] == '9' && message.substr(6, 2) != "00";
    const bool noteOff = message[0] == '8' || (message[0] == '9' && !noteOn);
    if (noteOn) attacked[track] = true;
    if (noteOff && !attacked[track]) continue;
    out.push_back(line);
  }
  return out;
}

// What a pass leaves for the next ones, track by track and channel by channel.
std::string PassState() {
  const EngineState& s = GetState();
  std::string text;
  for (int t = 0; t < 4; ++t)
    text += "t" + std::to_string(t) + " pos " + std::to_string(s.trackPos[t] - s.trackStart[t]) + " due " +
            std::to_string(s.dueTick[t]) + " gate " + std::to_string(s.gateTick[t]) + " state " +
            std::to_string(s.noteState[t]) + " off " + std::to_string(s.offTick[t]) + " shown " +
            std::to_string(s.eventNotes[t][0]) + "\n";
  for (int c = 0; c < 2; ++c)
    text += "ch" + std::to_string(c) + " cc7 " + std::to_string(s.ccNow[c][7]) + "/" + std::to_string(s.ccDone[c][7]) +
            " cc11 " + std::to_string(s.ccNow[c][11]) + "/" + std::to_string(s.ccDone[c][11]) + " bend " +
            std::to_string(s.bendNow[c]) + "\n";
  return text + "arrived " + std::to_string(s.syncArrived);
}

// The seek steps over the ticks and the passes that have nothing to do:
// ties, short gates, ramps, portamento, repeats and bar-line
// synchronisation between tracks of different lengths must still leave the
// engine where play from the top leaves it, and play on from there alike.
TEST(SeekTest, PlayAfterASeekGoesOnAsPlayFromTheTop) {
  const char* source =
      "1[ o4 l8 q3 (c d e f g & g a b)2 ' c1 ' q1 c4 c4 ]\n"
      "2[ o3 l4 @varc 4,0,11,0,127 c c & c d ' w16 ce2 ' q8 e1 ]\n"
      "3[ @ch2 o5 l16 (c r)6 ' @varc 2,0,7,100,20 c2. ' c4 ]\n"
      "4[ @ch2 o2 l2 c ' ' r4 @varc 1,0,7,20,100 c4 ]\n";
  LoadSource(source);
  const uint32_t end = 760;
  const std::vector<std::string> full = RunTicks(0, end);
  for (uint32_t target : {1u, 20u, 47u, 96u, 100u, 191u, 192u, 200u, 383u, 390u, 577u, 700u}) {
    LoadSource(source);
    RunTicks(0, target - 1);
    for (int t = 0; t < kTrackCount; ++t)
      if (GetState().noteState[t] == kNoteSounding) GetState().noteState[t] = kNoteMuted;
    const std::string played = PassState();
    LoadSource(source);
    ChasedState chase;
    ASSERT_EQ(SeekTo(target, chase), target);
    EXPECT_EQ(PassState(), played) << "seek to " << target;
    EXPECT_EQ(RunTicks(target, end), FromTargetOn(full, target)) << "seek to " << target;
  }
}

TEST(SeekTest, TheFirstTickReachingAnEventIsWhereItsPassDecodesIt) {
  // Track 1 reaches its third note at 96; track 2 its second at 144.
  LoadSource("1[ o4 c4 d4 e4 ]\n2[ o4 c2. d4 ]\n");
  const uint8_t* image = CurrentImage();
  TrackOffsets offsets{};
  offsets[0] = static_cast<uint32_t>(GetState().trackStart[0] - image) + 2 * 5;  // the third note event
  EXPECT_EQ(FirstTickReaching(offsets, 10000), std::optional<uint32_t>(96));
  RewindTracks();
  ResetEngine();
  offsets = {};
  offsets[1] = static_cast<uint32_t>(GetState().trackStart[1] - image) + 5;
  EXPECT_EQ(FirstTickReaching(offsets, 10000), std::optional<uint32_t>(144));
  RewindTracks();
  ResetEngine();
  EXPECT_EQ(FirstTickReaching(offsets, 100), std::nullopt) << "not within the limit";
}

}  // namespace
}  // namespace tsy::test
