// Message delivery: what each message leaves in the engine's record of
// channel settings, and what reaches the open output.

#include "midiout/message_delivery.h"

#include <gtest/gtest.h>

#include "core/engine/channel_record.h"
#include "core/engine/engine_call.h"
#include "midiout/recording_output.h"

namespace tsy {
namespace {

using Bytes = std::vector<uint8_t>;

class DeliveryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ClearEngineState();
    recording_ = std::make_shared<Recording>();
    Delivery().Attach(std::make_unique<RecordingBackend>(recording_));
  }
  void TearDown() override { Delivery().Release(); }

  static void Controller(int channel, int controller, int value) {
    SendShort(ShortMessage(static_cast<uint8_t>(0xB0 | channel), static_cast<uint8_t>(controller),
                           static_cast<uint8_t>(value)));
  }

  std::shared_ptr<Recording> recording_;
};

// One controller, the field it sets.
struct ControllerCase {
  int controller;
  int value;
  const char* field;
  int (*read)(const EngineState&, int channel);
};

const ControllerCase kControllerCases[] = {
    {0, 8, "bankMsb", [](const EngineState& s, int c) { return int{s.bankMsb[c]}; }},
    {7, 90, "volume", [](const EngineState& s, int c) { return int{s.volume[c]}; }},
    {10, 20, "pan", [](const EngineState& s, int c) { return int{s.pan[c]}; }},
    {11, 70, "expression", [](const EngineState& s, int c) { return int{s.expression[c]}; }},
    {32, 3, "bankLsb", [](const EngineState& s, int c) { return int{s.bankLsb[c]}; }},
    {91, 64, "reverb", [](const EngineState& s, int c) { return int{s.reverb[c]}; }},
    {93, 12, "chorus", [](const EngineState& s, int c) { return int{s.chorus[c]}; }},
};

TEST_F(DeliveryTest, EachControllerIsMirroredIntoItsChannel) {
  for (const ControllerCase& k : kControllerCases) {
    Controller(5, k.controller, k.value);
    EXPECT_EQ(k.read(GetState(), 5), k.value) << k.field;
    EXPECT_EQ(k.read(GetState(), 4), 0) << k.field << " of another channel";
  }
  SendShort(ShortMessage(0xC5, 41, 0));
  EXPECT_EQ(GetState().program[5], 41);
  EXPECT_EQ(recording_->Count(), std::size(kControllerCases) + 1) << "everything reaches the device";
  EXPECT_EQ(recording_->Messages().back().bytes, (Bytes{0xC5, 41}));
}

TEST_F(DeliveryTest, FineTuningFollowsOnlyRegisteredParameterOne) {
  Controller(2, 101, 0);
  Controller(2, 100, 1);
  Controller(2, 6, 0x50);
  Controller(2, 38, 0x11);
  EXPECT_EQ(GetState().fineTune[2], (0x50 << 7) | 0x11);
  Controller(2, 100, 0);  // bend range selected: data entry is not fine tuning
  Controller(2, 6, 24);
  EXPECT_EQ(GetState().fineTune[2], (0x50 << 7) | 0x11);
}

TEST_F(DeliveryTest, PedalsSetAndClearTheirFlags) {
  Controller(1, 64, 127);
  Controller(1, 67, 64);
  EXPECT_EQ(GetState().chanFlags[1], kChanSustain | kChanSoftPedal);
  Controller(1, 64, 63);
  EXPECT_EQ(GetState().chanFlags[1], kChanSoftPedal);
}

TEST_F(DeliveryTest, ResetAllControllersCentresTheBendOfItsChannelOnly) {
  EngineState& s = GetState();
  s.bendNow[3] = 500;
  s.bendNow[4] = 500;
  s.expression[3] = 10;
  s.chanFlags[3] = kChanSustain | kChanSoftPedal | kChanRhythmNames;
  Controller(3, 121, 0);
  EXPECT_EQ(s.bendNow[3], 0.0f);
  EXPECT_EQ(s.bendNow[4], 500.0f);
  EXPECT_EQ(s.expression[3], 127);
  EXPECT_EQ(s.chanFlags[3], kChanRhythmNames);
  EXPECT_EQ(s.rpn[3], 0x7F7F);
  EXPECT_EQ(s.nrpn[3], 0x7F7F);
}

TEST_F(DeliveryTest, EachDeviceResetIsRecognisedAndResetsEveryChannel) {
  for (const DeviceReset& reset : kDeviceResets) {
    ClearEngineState();
    GetState().program[9] = 5;
    SendLong(reset.bytes, reset.length);
    EXPECT_EQ(GetState().resetsSeen, reset.seenBit) << reset.name;
    for (int c = 0; c < kChannelCount; ++c) {
      EXPECT_EQ(GetState().volume[c], 100) << reset.name;
      EXPECT_EQ(GetState().pan[c], 64) << reset.name;
      EXPECT_EQ(GetState().reverb[c], 40) << reset.name;
      EXPECT_EQ(GetState().fineTune[c], 8192) << reset.name;
      EXPECT_EQ(GetState().chanFlags[c], c == 9 ? kChanRhythmNames : 0) << reset.name;
    }
    EXPECT_EQ(GetState().program[9], 0) << reset.name;
  }
  const uint8_t other[] = {0xF0, 0x41, 0x10, 0x42, 0x12, 0x40, 0x01, 0x30, 0x00, 0x0F, 0xF7};
  ClearEngineState();
  SendLong(other, sizeof other);
  EXPECT_EQ(GetState().resetsSeen, 0u);
  EXPECT_EQ(GetState().volume[0], 0) << "any other message changes nothing";
}

TEST_F(DeliveryTest, StandbyMirrorsButSendsNowhere) {
  Delivery().Release();
  EXPECT_EQ(Delivery().kind(), BackendKind::kStandby);
  Controller(0, 7, 33);
  EXPECT_EQ(GetState().volume[0], 33);
  EXPECT_EQ(recording_->Count(), 0u);
}

}  // namespace
}  // namespace tsy
