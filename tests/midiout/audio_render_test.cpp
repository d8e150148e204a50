// The audio render's plan and its files: the size a format must describe,
// known from the music before the synthesiser starts, the format table, and
// stems that end together whatever their own last message.

#include "midiout/audio_render.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "scratch_folder.h"

namespace tsy {
namespace {

namespace fs = std::filesystem;

std::vector<TimedMessage> NoteAt(double seconds) { return {{0, {0x90, 60, 100}, 1}, {seconds, {0x80, 60, 0}, 1}}; }

RenderSettings Settings(const char* format, int rate = kSynthSampleRate) {
  RenderSettings settings;
  settings.format = FindSoundFormat(format);
  settings.rate = rate;
  return settings;
}

// Hours of music are planned without a sample rendered: the WAV limit of
// 4 GiB falls between six and seven hours of 44.1 kHz stereo.
TEST(RenderPlan, AWavPastItsThirtyTwoBitSizesDoesNotFitAndTheOthersDo) {
  const std::vector<TimedMessage> sixHours = NoteAt(6 * 3600), sevenHours = NoteAt(7 * 3600);
  const RenderPlan fits = PlanRender(sixHours, Settings("wav"));
  EXPECT_TRUE(fits.fits);
  EXPECT_EQ(fits.frames, size_t{6 * 3600} * 44100 + 220544) << "the music and the whole release, in 64-frame blocks";
  EXPECT_EQ(fits.bytes, 44 + fits.frames * 4);

  const RenderPlan tooLarge = PlanRender(sevenHours, Settings("wav"));
  EXPECT_FALSE(tooLarge.fits);
  EXPECT_GT(tooLarge.bytes, kLargestWav);
  EXPECT_NEAR(tooLarge.seconds, 7 * 3600 + 5.0, 0.01);
  for (const char* other : {"rf64", "w64", "flac", "ogg"})
    EXPECT_TRUE(PlanRender(sevenHours, Settings(other)).fits) << other;

  // The limit depends on the rate: four hours fit at 44.1 kHz, not at 96 kHz.
  EXPECT_TRUE(PlanRender(NoteAt(4 * 3600), Settings("wav")).fits);
  EXPECT_FALSE(PlanRender(NoteAt(4 * 3600), Settings("wav", 96000)).fits);

  RenderSettings together = Settings("wav");
  together.musicSeconds = 10;
  EXPECT_EQ(PlanRender(NoteAt(1), together).frames, PlanRender(NoteAt(10), Settings("wav")).frames)
      << "a stem is planned as long as the whole piece";
}

TEST(SoundFormats, TheExtensionOrTheNameFindsTheFormatInAnyLetterCase) {
  EXPECT_EQ(SoundFormatOfPath("a/b.FLAC")->format, SoundFormat::kFlac);
  EXPECT_EQ(SoundFormatOfPath("x.opus")->onlyRate, 48000);
  EXPECT_EQ(SoundFormatOfPath("x.mid"), nullptr);
  EXPECT_EQ(SoundFormatOfPath("/dev/stdout"), nullptr);
  EXPECT_EQ(FindSoundFormat("Ogg")->format, SoundFormat::kOgg);
  EXPECT_EQ(FindSoundFormat("mp3"), nullptr);
  EXPECT_TRUE(IsRenderRate(22050));
  EXPECT_FALSE(IsRenderRate(32000));
  EXPECT_FALSE(FindSoundFormat("rf64")->streams) << "its header is completed at the end";
}

std::string ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// A WAV whose header states its frames up front refuses to be finished with
// other than those: it would lie about its length.
TEST(WavWriter, AStatedHeaderIsKeptOnlyWhenEveryFrameCame) {
  const ScratchFolder folder;
  const int16_t frames[8] = {1, 2, 3, 4, 5, 6, 7, 8};
  std::unique_ptr<SoundWriter> exact, shortOne;
  ASSERT_TRUE(OpenSoundFile((folder / "exact.wav").string(), *FindSoundFormat("wav"), 44100, 2, 4, exact).ok());
  exact->Write(frames, 4);
  EXPECT_TRUE(exact->Finish().ok());
  EXPECT_EQ(ReadAll(folder / "exact.wav").size(), 44u + 16);

  ASSERT_TRUE(OpenSoundFile((folder / "short.wav").string(), *FindSoundFormat("wav"), 44100, 2, 4, shortOne).ok());
  shortOne->Write(frames, 3);
  EXPECT_FALSE(shortOne->Finish().ok());
  EXPECT_FALSE(fs::exists(folder / "short.wav"));
}

// A stem ends with the piece, however early its own notes end.
TEST(AudioRender, StemsOfOnePieceAreRenderedToOneLength) {
  const ScratchFolder folder;
  RenderSettings settings = Settings("wav", 22050);
  settings.wholeTail = true;
  settings.musicSeconds = 1.5;
  double early = 0, late = 0;
  std::string reason;
  ASSERT_EQ(RenderAudio(NoteAt(0.2), kDefaultSoundFont, (folder / "a.wav").string(), settings, nullptr, early, reason),
            RenderResult::kWritten);
  ASSERT_EQ(RenderAudio(NoteAt(1.5), kDefaultSoundFont, (folder / "b.wav").string(), settings, nullptr, late, reason),
            RenderResult::kWritten);
  EXPECT_EQ(early, late);
  EXPECT_EQ(ReadAll(folder / "a.wav").size(), ReadAll(folder / "b.wav").size());
  EXPECT_NEAR(early, 1.5 + kMaxTailSeconds, 0.01);
}

}  // namespace
}  // namespace tsy
