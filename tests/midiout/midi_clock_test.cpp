// MIDI clock: the messages for each event of the play clock, and what a
// device receives from a play that starts, halts and resumes.

#include "midiout/midi_clock.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "../core/engine/play_test_support.h"
#include "core/engine/play_controls.h"
#include "midiout/device_choice.h"
#include "midiout/recording_output.h"

namespace tsy {
namespace {

std::vector<MessageWord> Messages(MidiClock& clock, ClockEvent event, uint32_t tick) {
  MessageWord words[kMostClockMessages];
  const int n = clock.Messages(event, tick, words);
  return {words, words + n};
}

std::vector<MessageWord> Messages(ClockEvent event, uint32_t tick) {
  MidiClock clock;
  return Messages(clock, event, tick);
}

TEST(MidiClock, EachEventGivesItsMessages) {
  MidiClock clock;
  EXPECT_EQ(Messages(clock, ClockEvent::kStop, 0), std::vector<MessageWord>{}) << "nothing runs: nothing to stop";
  EXPECT_EQ(Messages(clock, ClockEvent::kStart, 0), (std::vector<MessageWord>{0xFA, 0xF8})) << "then the first beat";
  EXPECT_EQ(Messages(clock, ClockEvent::kTick, 1), std::vector<MessageWord>{}) << "24 a quarter: every second tick";
  EXPECT_EQ(Messages(clock, ClockEvent::kTick, 2), std::vector<MessageWord>{0xF8});
  EXPECT_EQ(Messages(clock, ClockEvent::kStop, 57), std::vector<MessageWord>{0xFC});
  EXPECT_EQ(Messages(clock, ClockEvent::kStop, 57), std::vector<MessageWord>{}) << "stopped once";
  EXPECT_EQ(Messages(clock, ClockEvent::kTick, 58), std::vector<MessageWord>{}) << "no clock while stopped";
  EXPECT_EQ(Messages(clock, ClockEvent::kContinue, 57), std::vector<MessageWord>{0xFB});
  EXPECT_EQ(Messages(clock, ClockEvent::kTick, 58), std::vector<MessageWord>{0xF8});
}

TEST(MidiClock, PlayFromAPositionSaysWhereInSixteenths) {
  // Tick 1200 is sixteenth 100 (12 ticks each): F2 with 100 = 0x64, 0x00.
  EXPECT_EQ(Messages(ClockEvent::kStart, 1200), (std::vector<MessageWord>{0x0064F2, 0xFB, 0xF8}));
  EXPECT_EQ(Messages(ClockEvent::kStart, 1213), (std::vector<MessageWord>{0x0065F2, 0xFB})) << "rounded down; odd tick";
  EXPECT_EQ(Messages(ClockEvent::kStart, 12 * 20000), (std::vector<MessageWord>{0x7F7FF2, 0xFB, 0xF8}))
      << "past the pointer's range: its last sixteenth";
}

class ClockedPlay : public ::testing::Test {
 protected:
  void SetUp() override { UsePortDirectory(&ports_); }
  void TearDown() override {
    CloseOutput();
    UseOutputSettings("", false);
    UsePortDirectory(nullptr);
  }

  void Open(bool clock) {
    UseOutputSettings("", clock);
    std::string setting = "Synth";
    ApplyDeviceChoice(setting, nullptr);
    const Bytes image = Image({Join({Note(60, 96), Note(62, 96)})});
    ASSERT_TRUE(LoadImage(image.data(), image.size()).ok());
  }

  // The status bytes of the system real-time messages the port received.
  std::vector<uint8_t> Clock() {
    std::vector<uint8_t> kinds;
    for (const RecordedMessage& m : ports_.recording(0).Messages())
      if (m.bytes[0] >= 0xF8) kinds.push_back(m.bytes[0]);
    return kinds;
  }

  RecordingPorts ports_{{"Synth"}};
};

TEST_F(ClockedPlay, StartClocksStopAndContinueFollowThePlay) {
  Open(true);
  PlayFromStart();
  ASSERT_TRUE(WaitFor([] { return GetState().tick >= 40; }));
  Halt();
  const uint32_t halted = GetState().tick;
  std::vector<uint8_t> kinds = Clock();
  ASSERT_GE(kinds.size(), 3u);
  EXPECT_EQ(kinds.front(), 0xFA);
  EXPECT_EQ(kinds.back(), 0xFC);
  EXPECT_EQ(std::count(kinds.begin(), kinds.end(), 0xF8), halted / 2 + 1) << "ticks 0, 2, ... " << halted;

  Resume();
  ASSERT_TRUE(WaitFor([&] { return GetState().tick >= halted + 10; }));
  Halt();
  kinds = Clock();
  EXPECT_EQ(std::count(kinds.begin(), kinds.end(), 0xFA), 1) << "a resume is no new start";
  EXPECT_EQ(std::count(kinds.begin(), kinds.end(), 0xFB), 1);
  EXPECT_EQ(std::count(kinds.begin(), kinds.end(), 0xF8), GetState().tick / 2 + 1);

  // The clock goes by the tick, before the notes of that tick.
  const std::vector<RecordedMessage> all = ports_.recording(0).Messages();
  const auto start = std::find_if(all.begin(), all.end(), [](const RecordedMessage& m) { return m.bytes[0] == 0xFA; });
  const auto note = std::find_if(all.begin(), all.end(), [](const RecordedMessage& m) { return m.bytes[0] == 0x90; });
  EXPECT_LT(start, note);
}

TEST_F(ClockedPlay, WithoutTheSettingNoClockIsSent) {
  Open(false);
  PlayFromStart();
  ASSERT_TRUE(WaitFor([] { return GetState().tick >= 20; }));
  Halt();
  EXPECT_TRUE(Clock().empty());
}

}  // namespace
}  // namespace tsy
