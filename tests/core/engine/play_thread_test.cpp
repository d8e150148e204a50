// The play thread and the play controls, driven through a recording output:
// the status handshakes, start/halt/resume/fade, the music's own restart,
// standby, and the order in which one loop's messages leave.

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstring>
#include <mutex>
#include <thread>
#include <vector>

#include "core/engine/engine_call.h"
#include "core/engine/load_image.h"
#include "core/engine/play_controls.h"
#include "core/engine/play_thread.h"
#include "play_test_support.h"

namespace tsy {
namespace {

using namespace std::chrono_literals;

// What the device received, in order.
class TestOutput : public PlayOutput {
 public:
  void SendShort(MessageWord m) override {
    if ((m & 0xF0) == 0x90) std::this_thread::sleep_for(noteDelay_.load());  // a device that keeps play waiting
    std::lock_guard lock(mutex_);
    const Bytes bytes = {WordStatus(m), WordData1(m), WordData2(m)};
    sent_.push_back((m & 0xE0) == 0xC0 ? Bytes(bytes.begin(), bytes.begin() + 2) : bytes);
    ticks_.push_back(GetState().tick);
  }
  void SendLong(const uint8_t* bytes, size_t length) override {
    std::lock_guard lock(mutex_);
    sent_.emplace_back(bytes, bytes + length);
    ticks_.push_back(GetState().tick);
  }
  void Release() override {
    std::lock_guard lock(mutex_);
    ++releases_;
  }
  std::vector<Bytes> Sent() {
    std::lock_guard lock(mutex_);
    return sent_;
  }
  int Releases() {
    std::lock_guard lock(mutex_);
    return releases_;
  }
  // Each note-on takes this long to send from now on.
  void SlowNotes(std::chrono::milliseconds delay) { noteDelay_ = delay; }
  void Clear() {
    std::lock_guard lock(mutex_);
    sent_.clear();
    ticks_.clear();
  }
  // The engine's tick when each message went out, in order.
  std::vector<uint32_t> Ticks() {
    std::lock_guard lock(mutex_);
    return ticks_;
  }
  size_t Count(const Bytes& message) {
    size_t n = 0;
    for (const Bytes& b : Sent()) n += b == message;
    return n;
  }
  // Position of the first `message` from `from` on, or -1.
  int Find(const Bytes& message, size_t from = 0) {
    const std::vector<Bytes> sent = Sent();
    for (size_t i = from; i < sent.size(); ++i)
      if (sent[i] == message) return static_cast<int>(i);
    return -1;
  }

 private:
  std::mutex mutex_;
  std::vector<Bytes> sent_;
  std::vector<uint32_t> ticks_;
  int releases_ = 0;
  std::atomic<std::chrono::milliseconds> noteDelay_{std::chrono::milliseconds(0)};
};

uint32_t Tick() { return GetState().tick; }

class PlayThreadTest : public ::testing::Test {
 protected:
  void TearDown() override { CloseOutput(); }

  void Open(const std::vector<Bytes>& tracks, uint8_t flags = 0) {
    ClearEngineState();
    ASSERT_EQ(StartPlayThread(&output_), kDeviceOpen);
    image_ = Image(tracks, flags);
    ASSERT_TRUE(LoadImage(image_.data(), image_.size()).ok());
  }
  void PlayAndWaitForTick(uint32_t tick) {
    PlayFromStart();
    ASSERT_TRUE(WaitFor([&] { return Tick() >= tick; }));
  }

  TestOutput output_;
  Bytes image_;
};

TEST_F(PlayThreadTest, ADeviceThreadGreetsTheDeviceAndWaitsStopped) {
  ClearEngineState();
  EXPECT_EQ(StartPlayThread(&output_), kDeviceOpen);
  EXPECT_TRUE(PlayThreadRunning());
  EXPECT_FALSE(PlayThreadInStandby());
  EXPECT_EQ(GetStatus(), EngineStatus::kStopped);
  const std::vector<Bytes> sent = output_.Sent();
  ASSERT_FALSE(sent.empty());
  EXPECT_EQ(sent[0], kGmOn);
  EXPECT_EQ(output_.Count({0xB0, 123, 0}), 1u);  // the opening stop silences each channel
  EXPECT_EQ(StartPlayThread(&output_), kStandby) << "a second thread is refused";
  CloseOutput();
  EXPECT_FALSE(PlayThreadRunning());
  EXPECT_EQ(output_.Releases(), 2) << "the thread lets the device go, and CloseOutput makes sure";
}

TEST_F(PlayThreadTest, StartInitialisesEveryChannelThenPlaysTheNotes) {
  Open({Join({Note(60, 48), Note(62, 48)})});
  output_.Clear();
  PlayAndWaitForTick(50);
  const int sustainOff = output_.Find({0xBF, 64, 0});
  const int gmOn = output_.Find(kGmOn);
  const int bendRange = output_.Find({0xBF, 6, 24});
  const int firstNote = output_.Find({0x90, 60, 110});
  ASSERT_GE(sustainOff, 0);
  EXPECT_GT(gmOn, sustainOff);
  EXPECT_GT(bendRange, gmOn);
  EXPECT_GT(firstNote, bendRange);
  EXPECT_EQ(output_.Count({0xB5, 7, 127}), 1u);
  EXPECT_GE(output_.Find({0x90, 62, 110}), 0) << "the second note at tick 48";
}

TEST_F(PlayThreadTest, AnImageThatInitialisesItselfGetsNoResetAtStart) {
  Open({Note(60, 48)}, kImageFlagOwnInit);
  output_.Clear();
  PlayAndWaitForTick(2);
  EXPECT_EQ(output_.Find(kGmOn), -1);
  EXPECT_EQ(output_.Find({0xB0, 7, 127}), -1);
  EXPECT_GE(output_.Find({0x90, 60, 110}), 0);
}

TEST_F(PlayThreadTest, HaltSilencesAndKeepsTheTickAndResumeGoesOnFromThere) {
  Open({Join({Note(60, 192), Note(64, 192), Note(67, 192)})});
  PlayAndWaitForTick(100);
  Halt();
  EXPECT_EQ(GetStatus(), EngineStatus::kStopped);
  const uint32_t halted = Tick();
  EXPECT_GE(halted, 100u);
  EXPECT_GE(output_.Count({0xB0, 123, 0}), 2u);  // opening + halt
  std::this_thread::sleep_for(50ms);
  EXPECT_EQ(Tick(), halted) << "the clock stands while halted";
  EXPECT_EQ(output_.Find({0x90, 64, 110}), -1);

  Resume();
  ASSERT_TRUE(WaitFor([&] { return Tick() > halted + 5; }));
  EXPECT_LT(Tick(), halted + 60) << "resumed where it stopped, not caught up";
  ASSERT_TRUE(WaitFor([&] { return output_.Find({0x90, 64, 110}) >= 0; }));
  EXPECT_EQ(output_.Find({0x90, 60, 110}), output_.Find({0x90, 60, 110}, 0)) << "nothing replayed";
  EXPECT_EQ(output_.Count({0x90, 60, 110}), 1u);
}

TEST_F(PlayThreadTest, AFadeThenHaltAndResumeRestoresFullVolume) {
  Open({Join({Note(60, 192), Note(62, 192), Note(64, 192)})});
  PlayAndWaitForTick(2);
  FadeOut();
  ASSERT_TRUE(WaitFor([&] { return output_.Find({0xF0, 0x7F, 0x7F, 0x04, 0x01, 125, 125, 0xF7}) >= 0; }));
  Halt();
  output_.Clear();
  Resume();
  ASSERT_TRUE(WaitFor([&] { return output_.Count(kFullMasterVolume) == 1; }));
  const uint32_t resumed = Tick();
  std::this_thread::sleep_for(100ms);
  ASSERT_GT(Tick(), resumed);
  for (const Bytes& m : output_.Sent()) {
    if (m.size() == 8 && m[3] == 0x04) {
      EXPECT_EQ(m, kFullMasterVolume) << "the fade does not go on";
    }
  }
}

TEST_F(PlayThreadTest, TheMusicsOwnRestartAtTheEndDoesNotDeadlock) {
  const Bytes restart = {0xFC, 0x00};
  Open({Join({Note(60, 24), restart})});
  output_.Clear();
  PlayFromStart();
  // Each round starts with GM System On; three of them prove two restarts.
  ASSERT_TRUE(WaitFor([&] { return output_.Count(kGmOn) >= 3; }, 10s));
  EXPECT_GE(output_.Count({0x90, 60, 110}), 2u);
}

TEST_F(PlayThreadTest, TheMusicsOwnStopHalts) {
  const Bytes stop = {0xFC, 0x01};
  Open({Join({Note(60, 24), stop, Note(62, 24)})});
  PlayFromStart();
  ASSERT_TRUE(WaitFor([] { return GetStatus() == EngineStatus::kStopped; }));
  EXPECT_GE(output_.Find({0x90, 60, 110}), 0);
}

TEST_F(PlayThreadTest, NoteMessagesOfALoopLeaveAfterEveryOtherMessage) {
  const Bytes program = {0xC0, 5};
  // Track 1 plays its note first in track order; track 2's program change
  // at the same tick still reaches the device before it.
  Open({Note(60, 48), Join({program, Rest(48)})});
  output_.Clear();
  PlayAndWaitForTick(2);
  const int note = output_.Find({0x90, 60, 110});
  const int change = output_.Find({0xC1, 5});
  ASSERT_GE(note, 0);
  ASSERT_GE(change, 0);
  EXPECT_LT(change, note);
}

TEST_F(PlayThreadTest, TheClockStandsWhenEveryTrackHasEnded) {
  Open({Note(60, 12)});
  PlayAndWaitForTick(12);  // the end of the track is met at tick 12
  std::this_thread::sleep_for(60ms);
  EXPECT_EQ(Tick(), 12u);
  EXPECT_EQ(GetStatus(), EngineStatus::kPlaying);
}

TEST_F(PlayThreadTest, TheStatusHandshakes) {
  Open({Note(60, 192)});
  RequestExport();
  ASSERT_TRUE(WaitFor([] { return GetStatus() == EngineStatus::kExporting; }));
  RequestStart();  // an export ends with the next start
  ASSERT_TRUE(WaitFor([] { return GetStatus() == EngineStatus::kPlaying; }));
  RequestStop();
  ASSERT_TRUE(WaitFor([] { return GetStatus() == EngineStatus::kStopped; }));
  RequestResume();
  ASSERT_TRUE(WaitFor([] { return GetStatus() == EngineStatus::kPlaying; }));
}

// ---------------------------------------------------------------- play from a tick, loops, takeovers

const Bytes kFast = {0xF0, 0xE0, 0x01};  // tempo 480: a tick lasts 2.6 ms
const Bytes kProgram7 = {0xC0, 7};
const Bytes kVolume90 = {0xC2, 90};

class PlayRangeTest : public PlayThreadTest {
 protected:
  void TearDown() override {
    SetPlayRange({});
    PlayThreadTest::TearDown();
  }
  // Every message's tick from `from` on satisfies `ok`.
  template <typename Check>
  void ExpectTicks(size_t from, Check ok) {
    const std::vector<uint32_t> ticks = output_.Ticks();
    for (size_t i = from; i < ticks.size(); ++i) ASSERT_TRUE(ok(ticks[i])) << "message " << i << " at " << ticks[i];
  }
};

TEST_F(PlayRangeTest, PlayFromATickSendsTheChasedStateThenOnlyLaterNotes) {
  Open({Join({kFast, kProgram7, kVolume90, Note(60, 96), Note(62, 96)})});
  output_.Clear();
  PlayFromTick(48);
  ASSERT_TRUE(WaitFor([&] { return output_.Find({0x90, 62, 110}) >= 0; }));
  const int program = output_.Find({0xC0, 7});
  const int volume = output_.Find({0xB0, 7, 90});
  ASSERT_GE(program, 0);
  ASSERT_GE(volume, 0);
  EXPECT_LT(program, output_.Find({0x90, 62, 110}));
  EXPECT_EQ(output_.Find({0x90, 60, 110}), -1) << "the note begun before the start is not sounded";
  EXPECT_EQ(output_.Find({0x80, 60, 0}), -1) << "nor released";
  ExpectTicks(static_cast<size_t>(program), [](uint32_t t) { return t >= 48; });
}

TEST_F(PlayRangeTest, ALoopTurnsAtItsEndWithACleanChaseEachTime) {
  Open({Join({kFast, kProgram7, Note(60, 48), Note(62, 48), Note(64, 48), Note(65, 48), Note(67, 96)})});
  SetPlayRange({48, 144, true});
  output_.Clear();
  PlayFromTick(48);
  ASSERT_TRUE(WaitFor([&] { return output_.Count({0x90, 62, 110}) >= 3; }));
  EXPECT_EQ(output_.Count({0x90, 65, 110}), 0u) << "the end is not played";
  EXPECT_EQ(output_.Count({0x90, 60, 110}), 0u) << "nor what comes before the start";
  EXPECT_GE(output_.Count({0xC0, 7}), 3u) << "each turn chases the program again";
  EXPECT_GE(output_.Count({0xB0, 123, 0}), 2u) << "each turn silences the channels";
  ExpectTicks(static_cast<size_t>(output_.Find({0xC0, 7})), [](uint32_t t) { return t >= 48 && t < 144; });
}

// A fade-out outlasts the passage's turns: it goes on where it had got to
// (the level never climbs back) and stops play.
TEST_F(PlayRangeTest, AFadeGoesOnAcrossALoopsTurnsAndStopsPlay) {
  const Bytes fastest = {0xF0, 0xC0, 0x03};  // tempo 960: a tick lasts 1.3 ms, a turn of 96 ticks 125 ms
  Open({Join({fastest, kProgram7, Note(60, 48), Note(62, 48), Note(64, 48), Note(65, 48)})});
  SetPlayRange({48, 144, true});
  PlayFromTick(48);
  ASSERT_TRUE(WaitFor([&] { return output_.Count({0x90, 62, 110}) >= 1; }));
  output_.Clear();
  FadeOut();
  ASSERT_TRUE(WaitFor([] { return GetStatus() == EngineStatus::kStopped; }));
  EXPECT_GE(output_.Count({0xC0, 7}), 3u) << "the loop turned while the fade ran";
  int lowest = 128;
  for (const Bytes& m : output_.Sent()) {
    if (m.size() != 8 || m[3] != 0x04) continue;
    EXPECT_LE(m[6], lowest) << "the master volume climbed back at a turn";
    lowest = std::min<int>(lowest, m[6]);
  }
  EXPECT_LT(lowest, 10);
}

TEST_F(PlayRangeTest, PlayStopsAtTheEndOfTheRange) {
  Open({Join({kFast, Note(60, 48), Note(62, 48), Note(64, 48)})});
  SetPlayRange({0, 96, false});
  PlayFromTick(0);
  ASSERT_TRUE(WaitFor([] { return GetStatus() == EngineStatus::kStopped; }));
  EXPECT_EQ(Tick(), 96u);
  EXPECT_EQ(output_.Find({0x90, 64, 110}), -1);
}

TEST_F(PlayRangeTest, ANewImageTakesOverAtTheNextBarLineAndTheTickGoesOn) {
  Open({Join({kFast, Note(60, 192), Note(60, 192), Note(60, 192), Note(60, 192)})});
  const Bytes next = Image({Join({kFast, kProgram7, Note(70, 192), Note(72, 192), Note(74, 192)})});
  PlayAndWaitForTick(200);
  const uint32_t generation = GetState().imageGeneration;
  output_.Clear();
  ASSERT_TRUE(RequestTakeover(next.data(), next.size()));
  EXPECT_FALSE(RequestTakeover(next.data(), next.size())) << "one at a time";
  ASSERT_TRUE(WaitFor([] { return !TakeoverPending(); }));
  EXPECT_EQ(GetState().imageGeneration, generation + 1);
  ASSERT_TRUE(WaitFor([&] { return output_.Find({0x90, 74, 110}) >= 0; }));
  const std::vector<uint32_t> ticks = output_.Ticks();
  const int program = output_.Find({0xC0, 7});
  ASSERT_GE(program, 0);
  EXPECT_EQ(ticks[static_cast<size_t>(program)], 384u) << "at the next bar line";
  EXPECT_EQ(output_.Find({0x90, 70, 110}), -1) << "the new music's notes before the bar are not sounded";
  EXPECT_EQ(output_.Find({0x90, 72, 110}), -1);
  EXPECT_EQ(ticks[static_cast<size_t>(output_.Find({0x90, 74, 110}))], 384u);
  for (size_t i = 1; i < ticks.size(); ++i) ASSERT_GE(ticks[i], ticks[i - 1]) << "the tick never goes back";
}

// A play thread that falls behind catches up several ticks at once; a
// takeover still comes in on the bar line itself.
TEST_F(PlayRangeTest, ATakeoverComesInOnTheBarLineWhenPlayFallsBehind) {
  Bytes quick = kFast;  // a note-on every fourth tick
  for (int i = 0; i < 150; ++i) {
    const Bytes note = Note(static_cast<uint8_t>(60 + i % 12), 4);
    quick.insert(quick.end(), note.begin(), note.end());
  }
  Open({quick});
  const Bytes next = Image({Join({kFast, kProgram7, Note(70, 192), Note(72, 192), Note(74, 192)})});
  PlayAndWaitForTick(40);
  output_.SlowNotes(15ms);  // about six ticks behind at every note-on
  ASSERT_TRUE(RequestTakeover(next.data(), next.size()));
  ASSERT_TRUE(WaitFor([] { return !TakeoverPending(); }));
  output_.SlowNotes(0ms);
  ASSERT_TRUE(WaitFor([&] { return output_.Find({0xC0, 7}) >= 0; }));
  EXPECT_EQ(output_.Ticks()[static_cast<size_t>(output_.Find({0xC0, 7}))], 192u);
}

TEST_F(PlayRangeTest, MutesAndATempoSetByHandSurviveATakeover) {
  Open({Join({kFast, Note(60, 192), Note(60, 192), Note(60, 192)})});
  const Bytes next = Image({Join({kFast, Note(70, 192), Note(72, 192), Note(74, 192)})});
  PlayAndWaitForTick(10);
  GetState().trackMute[0] = 1;
  GetState().tempo = 400;
  ASSERT_TRUE(RequestTakeover(next.data(), next.size()));
  ASSERT_TRUE(WaitFor([] { return !TakeoverPending(); }));
  EXPECT_EQ(GetState().trackMute[0], 1);
  EXPECT_EQ(GetState().tempo, 400);
  EXPECT_EQ(GetState().songTempo, 480);
}

TEST(PlayThreadStandby, AnswersEveryRequestAndSendsNothing) {
  ClearEngineState();
  ASSERT_EQ(StartPlayThread(nullptr), kStandby);
  EXPECT_TRUE(PlayThreadInStandby());
  RequestExport();
  EXPECT_TRUE(WaitFor([] { return GetStatus() == EngineStatus::kExporting; }));
  RequestStart();
  std::this_thread::sleep_for(20ms);
  EXPECT_EQ(GetStatus(), EngineStatus::kStartRequested) << "play never starts";
  RequestStop();
  EXPECT_TRUE(WaitFor([] { return GetStatus() == EngineStatus::kStopped; }));
  CloseOutput();
  EXPECT_FALSE(PlayThreadRunning());
}

}  // namespace
}  // namespace tsy
