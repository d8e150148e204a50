// tsy play, end to end. Without a sound card every system output fails and
// play waits in standby; FluidSynth's file driver (TSY_AUDIO_DRIVER=file)
// gives the built-in synthesiser a real audio output on any machine, which
// records what it plays into fluidsynth.wav in the current folder.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "cli_cases.h"
#include "wav_reading.h"

namespace tsy::cli {
namespace {

using namespace std::chrono_literals;

constexpr const char* kTwoNotes = "1[ t240 @19 o4 c4 d4 ]\n";
// Forty seconds of a held organ note, repeated: long enough never to end by itself.
constexpr const char* kLong = "1[ t120 @19 o4 (c1)20 ]\n";
// Fast enough that the desktop program's fade (1,288 ticks) takes under 2 s.
constexpr const char* kFastLong = "1[ t992 @19 o4 (c4)200 ]\n";

// Plays through the built-in synthesiser recording into a file.
class TsyPlaySynth : public ::testing::Test {
 protected:
  void SetUp() override { setenv("TSY_AUDIO_DRIVER", "file", 1); }
  void TearDown() override { unsetenv("TSY_AUDIO_DRIVER"); }
};

// The last state of the status line (after its final carriage return).
std::string LastStatus(const std::string& out) {
  const size_t line = out.find('\n');
  return line == std::string::npos ? "" : out.substr(line + 1);
}

TEST_F(TsyPlaySynth, PlaysToTheEndOfThePieceAndStops) {
  const ScratchFolder folder;
  WriteFile(folder / "two.mus", kTwoNotes);
  TsyRun run = RunTsy(folder, "play two.mus --device 'Direct Music'");
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out.rfind("playing two.mus through Direct Music (built-in synthesiser)\n", 0), 0u) << run.out;
  // Two quarter notes end at tick 96 (0 bars and 96 ticks): the clock stands
  // at the first tick whose passes find no track left.
  const std::string status = LastStatus(run.out);
  EXPECT_EQ(status.rfind("    0.09", 0), 0u) << status;
  EXPECT_EQ(status.substr(9), "  tempo 240  tracks  0         end\n");
  const WavSummary sound = SummariseWav(ReadFile(folder / "fluidsynth.wav"));
  ASSERT_TRUE(sound.valid);
  EXPECT_GT(sound.rms, 100.0) << "the synthesiser sounded";
}

TEST_F(TsyPlaySynth, AfterTheGivenSecondsThePieceFadesOutAndStops) {
  const ScratchFolder folder;
  WriteFile(folder / "long.mus", kFastLong);
  TsyRun run = RunTsy(folder, "play long.mus --device 'Direct Music' --seconds 0.5");
  ASSERT_EQ(run.exitCode, 0) << run.err;
  const std::string status = LastStatus(run.out);
  EXPECT_NE(status.find("tracks  1  fading  stopped\n"), std::string::npos) << status;
}

// The music's own restart resets the engine, but not the fade of --seconds:
// it goes on through every restart to its end, and play stops.
TEST_F(TsyPlaySynth, TheFadeOutlastsTheMusicsOwnRestarts) {
  const ScratchFolder folder;
  WriteFile(folder / "again.mus", "1[ t992 o4 c4 d4 * ]\n");  // restarts every 96 ticks, 0.1 s
  const pid_t pid = StartTsy(folder, {"play", "again.mus", "--device", "Direct Music", "--seconds", "0.5"});
  ASSERT_GT(pid, 0);
  int status = 0;
  const auto limit = std::chrono::steady_clock::now() + 60s;
  while (waitpid(pid, &status, WNOHANG) == 0 && std::chrono::steady_clock::now() < limit)
    std::this_thread::sleep_for(20ms);
  if (std::chrono::steady_clock::now() >= limit) {
    kill(pid, SIGKILL);
    waitpid(pid, &status, 0);
    FAIL() << "still playing after a minute";
  }
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  const std::string status_line = LastStatus(ReadFile(folder / "out.txt"));
  EXPECT_NE(status_line.find("fading  stopped\n"), std::string::npos) << status_line;
}

TEST_F(TsyPlaySynth, CtrlCHaltsAtOnceAndExitsCleanly) {
  const ScratchFolder folder;
  WriteFile(folder / "long.mus", kLong);
  const pid_t pid = StartTsy(folder, {"play", "long.mus", "--device", "Direct Music"});
  ASSERT_GT(pid, 0);
  const auto limit = std::chrono::steady_clock::now() + 10s;
  while (ReadFile(folder / "out.txt").find("playing") == std::string::npos && std::chrono::steady_clock::now() < limit)
    std::this_thread::sleep_for(10ms);
  std::this_thread::sleep_for(300ms);  // well inside the 40 s of music
  kill(pid, SIGINT);
  int status = 0;
  ASSERT_EQ(waitpid(pid, &status, 0), pid);
  ASSERT_TRUE(WIFEXITED(status)) << "ended by the signal instead of halting";
  EXPECT_EQ(WEXITSTATUS(status), 0);
  const std::string status_line = LastStatus(ReadFile(folder / "out.txt"));
  EXPECT_NE(status_line.find("tracks  1         halted\n"), std::string::npos) << status_line;
}

TEST(TsyPlay, WithoutAnOutputThatOpensPlayWaitsInStandbyAndExitsZero) {
  const ScratchFolder folder;
  WriteFile(folder / "two.mus", kTwoNotes);
  TsyRun run = RunTsy(folder, "play two.mus --device 'Direct Music' --seconds 2");
  EXPECT_EQ(run.exitCode, 0) << run.err;
  // A desktop with a sound card plays the two notes instead.
  if (run.out.rfind("standby", 0) == 0) {
    EXPECT_EQ(run.out, "standby: no output could be opened; two.mus is not played\n");
    EXPECT_EQ(run.err, "tsy: デバイスを開けませんでした。\n待機状態で実行されます。\n");
  } else {
    EXPECT_NE(run.out.find("end\n"), std::string::npos) << run.out;
  }
}

TEST(TsyPlay, ANameThatIsNoOutputIsPlayedThroughTheMapper) {
  const ScratchFolder folder;
  WriteFile(folder / "two.mus", kTwoNotes);
  TsyRun run = RunTsy(folder, "play two.mus --device 'Gone Synth'");
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_NE(run.err.find("tsy: Gone Synth not found; playing through the MIDI Mapper\n"), std::string::npos) << run.err;
}

// Faults that end the command before any output is opened.
TEST(TsyPlay, FaultsExitTwoWithAClearMessage) {
  const ScratchFolder folder;
  WriteFile(folder / "two.mus", kTwoNotes);
  WriteFile(folder / "notes.txt", "not music");
  WriteFile(folder / "empty.mus", "; nothing\n");
  const CliCase cases[] = {
      {"play gone.mus", 2, "ファイルを開けません: gone.mus"},
      {"play notes.txt", 2, "tsy: notes.txt is not an object image"},
      {"play empty.mus", 2, "tsy: empty.mus holds no track to play"},
      {"play two.mus --seconds soon", 2, "tsy: --seconds needs a number of seconds above 0, not 'soon'"},
      {"play two.mus --seconds 0", 2, "tsy: --seconds needs a number of seconds above 0, not '0'"},
  };
  ExpectCases(folder, cases);
}

}  // namespace
}  // namespace tsy::cli
