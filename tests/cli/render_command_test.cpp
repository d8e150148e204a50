// tsy render, end to end: the WAV it writes through the built-in
// synthesiser, what it prints, and the files it refuses to touch.
#include <gtest/gtest.h>

#include <filesystem>

#include "cli_cases.h"
#include "wav_reading.h"

namespace tsy::cli {
namespace {

namespace fs = std::filesystem;

// Two beats of an organ chord at tempo 120: one second of music.
constexpr const char* kChord = "1[ t120 @19 o4 c2/e/g ]\n";

TEST(TsyRender, WritesASoundingWavAndPrintsItsPathAndLength) {
  const ScratchFolder folder;
  WriteFile(folder / "chord.mus", kChord);
  TsyRun run = RunTsy(folder, "render chord.mus");
  ASSERT_EQ(run.exitCode, 0) << run.err;
  const WavSummary wav = SummariseWav(ReadFile(folder / "chord.wav"));
  ASSERT_TRUE(wav.valid);
  EXPECT_EQ(wav.sampleRate, 44100);
  EXPECT_EQ(wav.channels, 2);
  EXPECT_EQ(wav.bitsPerSample, 16);
  EXPECT_GT(wav.seconds, 1.0) << "the music and its release";
  EXPECT_LT(wav.seconds, 7.0) << "the release ends once the sound has died away";
  EXPECT_GT(wav.rms, 300.0) << "it sounds";
  EXPECT_EQ(run.out.rfind("chord.wav  0:0", 0), 0u) << run.out;
  EXPECT_NE(run.err.find("] 100%"), std::string::npos) << "the progress bar: " << run.err;
  for (const auto& entry : fs::directory_iterator(folder.path()))
    EXPECT_EQ(entry.path().filename().string().find("tmp"), std::string::npos) << "no temporary file left";
}

TEST(TsyRender, AnObjectImageRendersLikeItsSource) {
  const ScratchFolder folder;
  WriteFile(folder / "chord.mus", kChord);
  ASSERT_EQ(RunTsy(folder, "compile chord.mus").exitCode, 0);
  TsyRun run = RunTsy(folder, "render chord.emd -o out.wav");
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_GT(SummariseWav(ReadFile(folder / "out.wav")).rms, 300.0);
}

// Faults that leave no file behind, each with its message on stderr.
TEST(TsyRender, FaultsExitTwoWithAClearMessageAndWriteNothing) {
  const ScratchFolder folder;
  WriteFile(folder / "chord.mus", kChord);
  WriteFile(folder / "notes.txt", "not music");
  WriteFile(folder / "empty.mus", "; nothing\n");
  const CliCase cases[] = {
      {"render chord.mus --soundfont none.sf2", 2, "tsy: no SoundFont at none.sf2"},
      {"render chord.mus --soundfont chord.mus", 2, "tsy: chord.mus is not a SoundFont"},
      {"render gone.mus", 2, "ファイルを開けません: gone.mus"},
      {"render notes.txt", 2, "tsy: notes.txt is not an object image"},
      {"render empty.mus", 2, "tsy: empty.mus holds no track to play"},
      {"render chord.mus -o chord.mus", 2, "tsy: the WAV file chord.mus would overwrite its source"},
      {"render chord.mus -o nowhere/out.wav", 2, "tsy: cannot write nowhere/out.wav"},
  };
  ExpectCases(folder, cases);
  EXPECT_EQ(folder.Entries(), 3) << "no file written";
  EXPECT_EQ(ReadFile(folder / "chord.mus"), kChord);
}

}  // namespace
}  // namespace tsy::cli
