// Choosing and switching outputs, with recorders standing in for the
// system's ports: the device list, names that match no port, the old
// settings spelling, and play carried over to a new output.

#include "midiout/device_choice.h"

#include <gtest/gtest.h>

#include "../core/engine/play_test_support.h"
#include "core/engine/engine_call.h"
#include "core/engine/play_controls.h"
#include "core/engine/play_thread.h"
#include "midiout/engine_snapshots.h"
#include "midiout/message_delivery.h"
#include "midiout/output_opening.h"
#include "midiout/recording_output.h"
#include "resources/string_table.h"

namespace tsy {
namespace {

class DeviceChoiceTest : public ::testing::Test {
 protected:
  void SetUp() override { UsePortDirectory(&ports_); }
  void TearDown() override {
    CloseOutput();
    UsePortDirectory(nullptr);
  }

  // Applies `setting`; returns the texts the user was told.
  std::vector<std::string> Apply(std::string& setting) {
    std::vector<std::string> told;
    ApplyDeviceChoice(setting, [&](const std::string& text) { told.push_back(text); });
    return told;
  }

  size_t Received(int port, const Bytes& message) {
    size_t n = 0;
    for (const RecordedMessage& m : ports_.recording(port).Messages()) n += m.bytes == message;
    return n;
  }

  RecordingPorts ports_{{"Midi Through:Midi Through Port-0 14:0", "Synth A", "Synth B 130:0"}};
};

TEST_F(DeviceChoiceTest, TheListOffersTheMapperTheSynthesiserAndEveryPort) {
  EXPECT_EQ(DeviceNames(),
            (std::vector<std::string>{"MIDI Mapper", "Direct Music", "Midi Through:Midi Through Port-0 14:0", "Synth A",
                                      "Synth B 130:0"}));
}

TEST_F(DeviceChoiceTest, ANamedPortOpensThatPortEvenUnderANewNumber) {
  std::string setting = "Synth B 128:0";
  EXPECT_TRUE(Apply(setting).empty());
  EXPECT_EQ(setting, "Synth B 130:0") << "the setting takes the port's present name";
  EXPECT_EQ(OpenOutputName(), "Synth B 130:0");
  EXPECT_EQ(GetState().deviceKind, kFirstPortKind + 2);
  EXPECT_EQ(Received(2, kGmOn), 1u);
  EXPECT_EQ(ports_.recording(1).Count(), 0u);
}

TEST_F(DeviceChoiceTest, AMissingPortIsToldOnceAndPlaysThroughTheMapperKeepingTheSetting) {
  std::string setting = "Gone Synth";
  EXPECT_EQ(Apply(setting), std::vector<std::string>{"Gone Synth not found; playing through the MIDI Mapper"});
  EXPECT_EQ(setting, "Gone Synth") << "the user's choice is kept for when the port comes back";
  EXPECT_EQ(GetState().deviceKind, kMapperKind);
  EXPECT_EQ(OpenOutputName(), "MIDI Mapper");
  EXPECT_EQ(Received(1, kGmOn), 1u) << "the first port that is not a through port";
  EXPECT_EQ(ports_.recording(0).Count(), 0u);

  EXPECT_TRUE(Apply(setting).empty()) << "applying again changes nothing and says nothing";
  EXPECT_EQ(Received(1, kGmOn), 1u) << "no reopen";
}

TEST_F(DeviceChoiceTest, TheMapperPrefersASynthesiserPort) {
  RecordingPorts ports{{"Sequencer:in 130:0", "FLUID Synth (5120):Synth input port (5120:0) 131:0"}};
  UsePortDirectory(&ports);
  std::string setting = "MIDI Mapper";
  Apply(setting);
  EXPECT_EQ(ports.recording(1).Messages().at(0).bytes, kGmOn);
  EXPECT_EQ(ports.recording(0).Count(), 0u);
}

TEST_F(DeviceChoiceTest, TheOldMisspeltMapperIsReadAsTheMapperAndStoredCorrectly) {
  std::string setting = "MIDI Mappaer";
  Apply(setting);
  EXPECT_EQ(setting, "MIDI Mapper");
  EXPECT_EQ(OpenOutputName(), "MIDI Mapper");
}

TEST_F(DeviceChoiceTest, ChoosingTheOpenOutputAgainDoesNothing) {
  std::string setting = "Synth A";
  Apply(setting);
  const size_t before = ports_.recording(1).Count();
  EXPECT_TRUE(Apply(setting).empty());
  EXPECT_EQ(ports_.recording(1).Count(), before) << "no reopen, no greeting";
}

TEST_F(DeviceChoiceTest, NothingToOpenMeansStandbyAndItsMessage) {
  RecordingPorts onlyThrough{{"Midi Through:Midi Through Port-0 14:0"}};
  UsePortDirectory(&onlyThrough);
  std::string setting = "Synth A";
  // The mapper falls back to the built-in synthesiser; without a sound card
  // that cannot sound either, so the thread waits in standby.
  const std::vector<std::string> told = Apply(setting);
  ASSERT_FALSE(told.empty());
  EXPECT_EQ(told[0], "Synth A not found; playing through the MIDI Mapper");
  if (OpenOutputName().empty()) {
    EXPECT_EQ(told, (std::vector<std::string>{told[0], LoadText(TextId::kDeviceStandby)}));
    EXPECT_TRUE(PlayThreadInStandby());
  }
  EXPECT_EQ(setting, "Synth A");
}

TEST_F(DeviceChoiceTest, SwitchingWhilePlayingCarriesTheChannelsAndTheTickOver) {
  std::string setting = "Synth A";
  Apply(setting);
  const Bytes volume = {0xC2, 90}, pan = {0xC5, 20}, program = {0xC0, 33}, bank = {0xB0, 0, 8};
  const Bytes image = Image({Join({volume, pan, program, bank, Note(60, 192), Note(62, 192), Note(64, 192)})});
  ASSERT_TRUE(LoadImage(image.data(), image.size()).ok());
  PlayFromStart();
  ASSERT_TRUE(WaitFor([] { return GetState().tick >= 60; }));

  setting = "Synth B 130:0";
  Apply(setting);
  const uint32_t switched = GetState().tick;
  EXPECT_EQ(OpenOutputName(), "Synth B 130:0");
  ASSERT_TRUE(WaitFor([&] { return GetState().tick > switched + 5; })) << "play goes on";
  EXPECT_LT(GetState().tick, switched + 100) << "from where it was";

  EXPECT_EQ(Received(2, {0xB0, 7, 90}), 1u);
  EXPECT_EQ(Received(2, {0xB0, 10, 20}), 1u);
  EXPECT_EQ(Received(2, {0xB0, 0, 8}), 1u);
  EXPECT_EQ(Received(2, {0xC0, 33}), 1u);
  size_t bendRanges = 0;
  for (int c = 0; c < kChannelCount; ++c) bendRanges += Received(2, {uint8_t(0xB0 | c), 6, 24});
  EXPECT_EQ(bendRanges, 16u) << "every channel's bend range";
  EXPECT_EQ(Received(2, {0xB0, 32, 0}), 1u) << "bank LSB was known (0 after the reset)";
  ASSERT_TRUE(WaitFor([&] { return Received(2, {0x90, 62, 110}) == 1; }));
}

TEST(EngineSnapshots, SlotsOutsideTheEightChangeNothing) {
  ClearEngineState();
  GetState().tempo = 99;
  EXPECT_EQ(SaveSnapshot(-1), 0);
  EXPECT_EQ(SaveSnapshot(8), 0);
  EXPECT_EQ(RestoreSnapshot(8), 0);
  EXPECT_EQ(GetState().tempo, 99);
  EXPECT_EQ(SaveSnapshot(7), 1);
  GetState().tempo = 50;
  GetState().deviceKind = 3;
  EXPECT_EQ(RestoreSnapshot(7), 1);
  EXPECT_EQ(GetState().tempo, 99);
  EXPECT_EQ(GetState().deviceKind, 3) << "the open output's kind stays";
}

TEST(EngineSnapshots, UnsetSettingsAreNotSentOnRestore) {
  ClearEngineState();
  EngineState& s = GetState();
  for (int c = 0; c < kChannelCount; ++c) {
    s.volume[c] = s.pan[c] = s.expression[c] = s.reverb[c] = s.chorus[c] = kUnsetSetting;
    s.bankMsb[c] = s.bankLsb[c] = s.program[c] = kUnsetSetting;
    s.fineTune[c] = kUnsetFineTune;
  }
  s.volume[4] = 80;
  SaveSnapshot(1);
  auto recording = std::make_shared<Recording>();
  Delivery().Attach(std::make_unique<RecordingBackend>(recording));
  RestoreSnapshot(1);
  Delivery().Release();
  std::vector<Bytes> sent;
  for (const RecordedMessage& m : recording->Messages()) sent.push_back(m.bytes);
  // Per channel only the bend range, and channel 4's volume first.
  EXPECT_EQ(sent.size(), 16u * 3 + 1);
  EXPECT_EQ(std::count(sent.begin(), sent.end(), Bytes{0xB4, 7, 80}), 1);
  for (const Bytes& m : sent) {
    for (uint8_t b : m) EXPECT_LT(b == m[0] ? 0 : b, 128) << "no data byte above 127";
  }
}

}  // namespace
}  // namespace tsy
