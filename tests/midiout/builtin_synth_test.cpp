// The built-in synthesiser, rendered by the test itself: it really sounds,
// and it keeps the rules of the system's software synthesiser.

#include "midiout/builtin_synth.h"

#include <fluidsynth.h>
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace tsy {
namespace {

constexpr uint32_t Short(int status, int data1, int data2 = 0) {
  return static_cast<uint32_t>(status | (data1 << 8) | (data2 << 16));
}

class BuiltinSynthTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(BuiltinSynth::Open(SynthSink::kCaller, kDefaultSoundFont, synth_), SynthOpening::kOpened);
  }

  // Root mean square of `seconds` of rendered sound, both channels.
  double Loudness(double seconds) {
    std::vector<int16_t> samples(static_cast<size_t>(seconds * kSynthSampleRate) * 2);
    synth_->Render(samples.data(), static_cast<int>(samples.size() / 2));
    double sum = 0;
    for (int16_t s : samples) sum += static_cast<double>(s) * s;
    return std::sqrt(sum / samples.size());
  }

  std::unique_ptr<BuiltinSynth> synth_;
};

TEST_F(BuiltinSynthTest, SilentUntilANoteThenSounds) {
  EXPECT_LT(Loudness(0.1), 2.0);       // dither only
  synth_->SendShort(Short(0xC0, 19));  // a sustained organ
  synth_->SendShort(Short(0x90, 60, 100));
  EXPECT_GT(Loudness(0.3), 100.0);
  synth_->SendShort(Short(0x80, 60));
  Loudness(1.0);  // the release dies away
  EXPECT_LT(Loudness(0.1), 5.0);
}

TEST_F(BuiltinSynthTest, MasterVolumeFadesAndASystemResetRestoresIt) {
  synth_->SendShort(Short(0xC0, 19));
  synth_->SendShort(Short(0x90, 60, 100));
  Loudness(0.2);
  const double full = Loudness(0.2);
  const uint8_t quiet[] = {0xF0, 0x7F, 0x7F, 0x04, 0x01, 20, 20, 0xF7};
  synth_->SendLong(quiet, sizeof quiet);
  Loudness(0.2);  // the effects' tails still carry the full level
  EXPECT_LT(Loudness(0.2), full / 10);
  const uint8_t gmOn[] = {0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7};
  synth_->SendLong(gmOn, sizeof gmOn);  // also ends the note
  synth_->SendShort(Short(0xC0, 19));
  synth_->SendShort(Short(0x90, 60, 100));
  Loudness(0.2);
  EXPECT_NEAR(Loudness(0.2), full, full * 0.2);
}

TEST_F(BuiltinSynthTest, BankSelectLsbGoesOutAsZero) {
  synth_->SendShort(Short(0xB3, 32, 3));
  int value = -1;
  fluid_synth_get_cc(synth_->synth(), 3, 32, &value);
  EXPECT_EQ(value, 0);
  synth_->SendShort(Short(0xB3, 0, 8));  // the MSB passes unchanged
  fluid_synth_get_cc(synth_->synth(), 3, 0, &value);
  EXPECT_EQ(value, 8);
}

TEST(BuiltinSynthOpening, AMissingSoundFontFallsBackAndLeavesNothingOpen) {
  std::unique_ptr<BuiltinSynth> synth;
  EXPECT_EQ(BuiltinSynth::Open(SynthSink::kCaller, "/nonexistent/none.sf2", synth), SynthOpening::kFailed);
  EXPECT_EQ(synth, nullptr);
}

}  // namespace
}  // namespace tsy
