#include "core/midi/midi_bytes.h"

#include <gtest/gtest.h>

namespace tsy::midi {
namespace {

TEST(MidiBytes, ProgramChangeAndChannelPressureAloneCarryOneDataByte) {
  for (int channel = 0; channel < 16; ++channel) {
    EXPECT_EQ(DataBytes(Status(kNoteOff, channel)), 2);
    EXPECT_EQ(DataBytes(Status(kNoteOn, channel)), 2);
    EXPECT_EQ(DataBytes(Status(kKeyPressure, channel)), 2);
    EXPECT_EQ(DataBytes(Status(kControlChange, channel)), 2);
    EXPECT_EQ(DataBytes(Status(kProgramChange, channel)), 1);
    EXPECT_EQ(DataBytes(Status(kChannelPressure, channel)), 1);
    EXPECT_EQ(DataBytes(Status(kPitchBend, channel)), 2);
    EXPECT_EQ(ChannelOf(Status(kPitchBend, channel)), channel);
  }
}

TEST(MidiBytes, FourteenBitValuesSplitLowSevenBitsFirst) {
  EXPECT_EQ(Lsb7(kCentre14), 0x00);
  EXPECT_EQ(Msb7(kCentre14), 0x40);
  EXPECT_EQ(Lsb7(kMax14), 0x7F);
  EXPECT_EQ(Msb7(kMax14), 0x7F);
  const auto fine = FineTuneSetting(0x1234);
  EXPECT_EQ(fine[0].controller, kRpnMsb);
  EXPECT_EQ(fine[1].value, 1);  // registered parameter 1
  EXPECT_EQ(fine[2].value, 0x1234 >> 7);
  EXPECT_EQ(fine[3].value, 0x1234 & 0x7F);
}

TEST(MidiBytes, MasterVolumeIsRecognisedForAnyDeviceOnly) {
  const auto full = MasterVolume(0x7F, 0x7F);
  EXPECT_TRUE(IsMasterVolume(full.data(), full.size()));
  EXPECT_EQ(MasterVolumeValue(full.data()), kMax14);
  const uint8_t toDevice16[] = {0xF0, 0x7F, 0x10, 0x04, 0x01, 0x00, 0x20, 0xF7};
  EXPECT_TRUE(IsMasterVolume(toDevice16, sizeof toDevice16));
  EXPECT_EQ(MasterVolumeValue(toDevice16), 0x20 << 7);
  const uint8_t balance[] = {0xF0, 0x7F, 0x7F, 0x04, 0x02, 0x00, 0x40, 0xF7};  // Master Balance
  EXPECT_FALSE(IsMasterVolume(balance, sizeof balance));
  EXPECT_FALSE(IsMasterVolume(full.data(), full.size() - 1));
}

TEST(MidiBytes, ResetsMatchOnlyWhole) {
  EXPECT_TRUE(BeginsWith(kGmSystemOn, sizeof kGmSystemOn, kGmSystemOn));
  EXPECT_FALSE(BeginsWith(kGmSystemOn, sizeof kGmSystemOn - 1, kGmSystemOn));
  EXPECT_FALSE(BeginsWith(kGsReset, sizeof kGsReset, kSc88ModeSet));  // both begin F0 41 10 42 12
}

}  // namespace
}  // namespace tsy::midi
