// Controller ramps, pitch-bend ramps and the fade-out, against their exact numbers.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "test_image.h"

namespace tsy::test {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::Not;

// Values of controller `cc` written over ticks 0..last, with their ticks.
struct Written {
  std::vector<int> values;
  std::vector<uint32_t> ticks;
};

Written ControllerValues(const Bytes& ramp, uint8_t cc, uint32_t last) {
  Written w;
  EXPECT_TRUE(LoadFresh(BuildImage({{1, Join({ramp, Note(127, 192), Note(127, 192)})}})));
  for (uint32_t k = 0; k <= last; ++k) {
    for (const std::string& m : RunTick(k)) {
      unsigned status, c, v;
      if (std::sscanf(m.c_str(), "t0 %x %x %x", &status, &c, &v) == 3 && status == 0xB0 && c == cc) {
        w.values.push_back(static_cast<int>(v));
        w.ticks.push_back(k);
      }
    }
  }
  return w;
}

TEST(ControllerRamp, UpOverAsManyTicksAsStepsSkipsOneValue) {
  const Written w = ControllerValues({0xB3, 127, 0, 0, 11, 0, 127}, 11, 300);
  ASSERT_EQ(w.values.size(), 127u);
  EXPECT_EQ(w.values.front(), 0);
  EXPECT_EQ(w.values.back(), 127);
  EXPECT_THAT(w.values, Not(Contains(63)));
  const auto at62 = std::find(w.values.begin(), w.values.end(), 62);
  ASSERT_NE(at62, w.values.end());
  EXPECT_EQ(*(at62 + 1), 64);
  EXPECT_EQ(w.ticks.front(), 0u) << "the first step comes in the tick of the event";
  EXPECT_EQ(w.ticks.back(), 126u) << "one step per tick";
}

TEST(ControllerRamp, DownWritesNeitherTheStartValueNorRepeats) {
  const Written w = ControllerValues({0xB3, 254, 0, 0, 11, 127, 0}, 11, 300);
  std::vector<int> expected;
  for (int v = 126; v >= 0; --v) expected.push_back(v);
  EXPECT_EQ(w.values, expected);
}

TEST(ControllerRamp, HalfRangeMovesTwoPerTick) {
  const Written w = ControllerValues({0xB3, 32, 0, 0, 7, 64, 127}, 7, 100);
  std::vector<int> expected;
  std::vector<uint32_t> ticks;
  for (int v = 65, k = 0; v <= 127; v += 2, ++k) expected.push_back(v), ticks.push_back(k);
  EXPECT_EQ(w.values, expected);
  EXPECT_EQ(w.ticks, ticks);
}

TEST(ControllerRamp, RampsOfOneChannelStepTogetherInRisingControllerNumber) {
  ASSERT_TRUE(LoadFresh(BuildImage({{1, Join({{0xB3, 4, 0, 0, 100, 0, 127},
                                              {0xB3, 4, 0, 0, 7, 0, 127},
                                              {0xB3, 2, 0, 0, 64, 0, 127},
                                              Note(127, 192)})}})));
  std::vector<std::vector<unsigned>> controllers;  // per tick, in the order written
  for (uint32_t k = 0; k <= 5; ++k) {
    controllers.emplace_back();
    for (const std::string& m : RunTick(k)) {
      unsigned status, c, v;
      if (std::sscanf(m.c_str(), "t0 %x %x %x", &status, &c, &v) == 3 && status == 0xB0)
        controllers.back().push_back(c);
    }
  }
  using V = std::vector<unsigned>;
  // In the tick of the events each ramp takes its first step before the next event is read.
  EXPECT_THAT(controllers, ElementsAre(V{100, 7, 64}, V{7, 64, 100}, V{7, 100}, V{7, 100}, V{}, V{}));
}

TEST(ControllerRamp, ZeroLengthStartsNothing) {
  EXPECT_TRUE(ControllerValues({0xB3, 0, 0, 0, 7, 0, 127}, 7, 10).values.empty());
}

TEST(BendRamp, PortamentoDownAnOctaveGlidesBackToThePitch) {
  // B5 48 ticks, -12 semitones, into a plain note
  ASSERT_TRUE(LoadFresh(BuildImage({{1, Join({{0xB5, 48, 0, 0xF4}, Note(60, 96)})}})));
  EXPECT_THAT(RunTick(0), ElementsAre("t0 B0 65 00", "t0 B0 64 00", "t0 B0 06 18", "t0 E0 2A 5F", "t0 90 3C 6E"));
  std::vector<std::string> bends;
  for (uint32_t k = 1; k <= 60; ++k)
    for (const std::string& m : RunTick(k)) bends.push_back(m);
  ASSERT_EQ(bends.size(), 47u);
  EXPECT_EQ(bends.back(), "t0 E0 00 40");
  EXPECT_EQ(GetState().noteFlags[0] & kNoteBent, kNoteBent);
  EXPECT_EQ(GetState().bendSteps[0], 0) << "finished at the first check after the last step";
}

TEST(BendRamp, NextAttackedNoteCancelsARampUnderWay) {
  ASSERT_TRUE(LoadFresh(BuildImage({{1, Join({{0xB5, 48, 0, 0x0C}, Note(60, 4, 8), Note(62, 4)})}})));
  RunTicks(0, 3);
  // The ramp's fifth step still comes before the note that cancels it.
  EXPECT_THAT(RunTick(4), ElementsAre("t0 80 3C 00", "t0 E0 2B 23", "t0 E0 00 40", "t0 90 3E 6E"));
  EXPECT_EQ(GetState().bendSteps[0], 0);
  EXPECT_EQ(GetState().bendNow[0], 0.0f);
}

TEST(BendRamp, TwoOctaveGlideEndsAtTheTopInsteadOfWrapping) {
  // Tied onward (no release bit): the ramp moves up 24 semitones from the centre.
  ASSERT_TRUE(LoadFresh(BuildImage({{1, Join({Note(60, 1, 8, 0x01), {0xB5, 2, 0, 24}, Note(60, 8, 8, 0x04)})}})));
  std::vector<std::string> all = RunTicks(0, 5);
  EXPECT_EQ(all.back(), "2: t0 E0 7F 7F");
}

class Fade : public ::testing::Test {
 protected:
  void SetUp() override {
    // Two tracks that loop for ever; fade from tick 100.
    const Bytes loop = Join({{0xEA, 1}, Note(60, 48, 7), {0xEB, 1}});
    ASSERT_TRUE(LoadFresh(BuildImage({{1, loop}, {2, loop}})));
    RequestStart();
    ConfirmRunning();
    GetStatus();  // now playing
    RunTicks(0, 100);
    StartFade();
  }

  std::vector<std::string> SysExBetween(uint32_t first, uint32_t last) {
    std::vector<std::string> out;
    for (const std::string& m : RunTicks(first, last))
      if (m.find("sysex:") != std::string::npos) out.push_back(m);
    return out;
  }
};

TEST_F(Fade, MasterVolumeFallsOneEveryEightTicksThenPlayStops) {
  EXPECT_THAT(SysExBetween(100, 116),
              ElementsAre("108: t0 sysex:F0 7F 7F 04 01 7E 7E F7", "116: t0 sysex:F0 7F 7F 04 01 7D 7D F7"));
  const std::vector<std::string> rest = SysExBetween(117, 1387);
  ASSERT_EQ(rest.size(), 124u);
  EXPECT_EQ(rest.back(), "1108: t0 sysex:F0 7F 7F 04 01 01 01 F7");
  EXPECT_EQ(GetStatus(), EngineStatus::kPlaying);
  RunTick(1388);
  EXPECT_EQ(GetStatus(), EngineStatus::kStopRequested);
}

TEST_F(Fade, ResumeRestoresFullVolumeOnceAndTheFadeDoesNotGoOn) {
  SysExBetween(100, 200);
  GetState().fadeActive = 0;  // what a resume does
  EXPECT_THAT(SysExBetween(201, 400), ElementsAre("201: t0 sysex:F0 7F 7F 04 01 7F 7F F7"));
}

TEST_F(Fade, ExportIsNeverStopped) {
  RequestExport();
  ConfirmExport();
  SysExBetween(100, 1500);
  EXPECT_EQ(GetStatus(), EngineStatus::kExporting);
}

}  // namespace
}  // namespace tsy::test
