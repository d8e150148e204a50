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
#include <sstream>
#include <string>
#include <thread>
#include <vector>

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

// ---------------------------------------------------------------- positions, seek, loop, watch

// One line of the positions feed, as much of it as the checks read.
struct FeedLine {
  uint32_t tick = 0;
  std::vector<uint32_t> lines;  // of each track listed
  bool sounding = false;        // some track sounds a note
};

uint32_t NumberAfter(const std::string& text, const std::string& key, size_t& at) {
  at = text.find(key, at);
  if (at == std::string::npos) return 0;
  at += key.size();
  return static_cast<uint32_t>(std::stoul(text.substr(at)));
}

std::vector<FeedLine> ReadFeed(const std::string& text) {
  std::vector<FeedLine> feed;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    EXPECT_EQ(line.rfind("{\"tick\":", 0), 0u) << line;
    FeedLine f;
    size_t at = 0;
    f.tick = NumberAfter(line, "\"tick\":", at);
    while (true) {
      NumberAfter(line, "\"line\":", at);
      if (at == std::string::npos) break;
      f.lines.push_back(static_cast<uint32_t>(std::stoul(line.substr(at))));
    }
    f.sounding = line.find("\"notes\":[") != std::string::npos && line.find("\"notes\":[]") == std::string::npos;
    feed.push_back(f);
  }
  return feed;
}

// Three bars of a held organ chord per line, on lines 1 to 3 of the track.
constexpr const char* kThreeLines =
    "1[ t240 @19 o4\n"
    "c1 c1 c1\n"
    "d1 d1 d1\n"
    "e1 e1 e1 ]\n";

TEST_F(TsyPlaySynth, FromAPositionTheFeedStartsThereAndTheChasedProgramSounds) {
  const ScratchFolder folder;
  WriteFile(folder / "three.mus", kThreeLines);
  TsyRun run = RunTsy(folder, "play three.mus --device 'Direct Music' --from 7 --positions -");
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_NE(run.err.find("playing three.mus through Direct Music"), std::string::npos) << "words go to stderr";
  const std::vector<FeedLine> feed = ReadFeed(run.out);
  ASSERT_FALSE(feed.empty());
  EXPECT_EQ(feed.front().tick, 7u * 192u);
  EXPECT_EQ(feed.front().lines, std::vector<uint32_t>{4}) << "the track plays the e on line 4";
  EXPECT_TRUE(feed.front().sounding);
  const WavSummary sound = SummariseWav(ReadFile(folder / "fluidsynth.wav"));
  ASSERT_TRUE(sound.valid);
  EXPECT_GT(sound.rms, 100.0) << "the organ chased to bar 7 sounded";
}

TEST_F(TsyPlaySynth, FromALineStartsAtItsFirstEvent) {
  const ScratchFolder folder;
  WriteFile(folder / "three.mus", kThreeLines);
  TsyRun run = RunTsy(folder, "play three.mus --device 'Direct Music' --from-line 3 --to 4 --positions -");
  ASSERT_EQ(run.exitCode, 0) << run.err;
  const std::vector<FeedLine> feed = ReadFeed(run.out);
  ASSERT_FALSE(feed.empty());
  EXPECT_EQ(feed.front().tick, 3u * 192u);
  EXPECT_EQ(feed.front().lines, std::vector<uint32_t>{3});
  EXPECT_LT(feed.back().tick, 4u * 192u) << "and stops at --to";
  EXPECT_NE(run.err.find("end\n"), std::string::npos) << run.err;
}

TEST_F(TsyPlaySynth, ALoopTurnsBackToItsStartAndNeverPlaysPastItsEnd) {
  const ScratchFolder folder;
  WriteFile(folder / "fast.mus", "1[ t960 @19 o4 (c4 d4 e4 f4)20 ]\n");  // a bar lasts 0.25 s
  TsyRun run =
      RunTsy(folder, "play fast.mus --device 'Direct Music' --from 1 --to 2 --loop --seconds 1.5 --positions -");
  ASSERT_EQ(run.exitCode, 0) << run.err;
  const std::vector<FeedLine> feed = ReadFeed(run.out);
  int turns = 0;
  for (size_t i = 0; i < feed.size(); ++i) {
    EXPECT_GE(feed[i].tick, 192u);
    EXPECT_LT(feed[i].tick, 384u);
    if (i > 0 && feed[i].tick < feed[i - 1].tick) ++turns;
  }
  EXPECT_GE(turns, 2);
}

// The edits come from a shell in the background while tsy plays, once the
// old music is heard: an editor that saves by renaming a new file over the
// source, then a broken save.
TEST_F(TsyPlaySynth, AWatchedSourceTakesOverAtTheNextBarAndABrokenOneIsReported) {
  const ScratchFolder folder;
  WriteFile(folder / "song.mus", "1[ t240 @19 o4 (c4)16 ]\n");
  WriteFile(folder / "edit.txt", "; edited\n\n1[ t240 @19 o4 (e4)16 ]\n");
  WriteFile(folder / "broken.txt", "1[ t240 @19 o4 (e4)16 x ]\n");
  const std::string editor =
      "(cd '" + folder.path().string() +
      "' && for i in $(seq 400); do grep -q '\"line\":1' feed.jsonl 2>/dev/null && break; "
      "sleep 0.025; done && sleep 0.3 && cp edit.txt new.tmp && mv new.tmp song.mus && sleep 1.2 && "
      "cp broken.txt song.mus) & ";
  TsyRun run = RunTsy(folder, "play song.mus --device 'Direct Music' --watch --positions feed.jsonl", editor);
  ASSERT_EQ(run.exitCode, 0) << run.err;
  const std::vector<FeedLine> feed = ReadFeed(ReadFile(folder / "feed.jsonl"));
  ASSERT_FALSE(feed.empty());
  uint32_t lastOld = 0, firstNew = 0;
  for (size_t i = 0; i < feed.size(); ++i) {
    if (i > 0) {
      ASSERT_GE(feed[i].tick, feed[i - 1].tick) << "the tick count never starts again";
    }
    if (feed[i].lines == std::vector<uint32_t>{1}) lastOld = feed[i].tick;
    if (feed[i].lines == std::vector<uint32_t>{3} && firstNew == 0) firstNew = feed[i].tick;
  }
  ASSERT_GT(firstNew, 0u) << "the edit took over";
  EXPECT_GT(firstNew / 192 * 192, lastOld) << "at a bar line after the old music's last position";
  EXPECT_NE(run.err.find("song.mus:1:"), std::string::npos) << run.err;
  EXPECT_NE(run.err.find("the music playing goes on"), std::string::npos) << run.err;
  EXPECT_GE(feed.back().tick, 700u) << "the edited music played on to its end";
}

TEST(TsyPlay, PositionFaultsExitTwoWithAClearMessage) {
  const ScratchFolder folder;
  WriteFile(folder / "two.mus", kTwoNotes);
  ASSERT_EQ(RunTsy(folder, "compile two.mus").exitCode, 0);
  const CliCase cases[] = {
      {"play two.mus --from 1.192", 2, "tsy: --from needs a position BARS or BARS.TICKS (ticks 0..191), not '1.192'"},
      {"play two.mus --to -1", 2, "tsy: --to needs a position BARS or BARS.TICKS (ticks 0..191), not '-1'"},
      {"play two.mus --from 1 --from-line 1", 2, "tsy: --from and --from-line both say where to start; give one"},
      {"play two.mus --from-line 0", 2, "tsy: --from-line needs a line number from 1, not '0'"},
      {"play two.emd --from-line 1", 2, "tsy: --from-line needs a source (.mus); two.emd is an object image"},
      {"play two.mus --from-line 9", 2, "tsy: no track of two.mus plays anything from line 9 on"},
      {"play two.mus --from 1 --to 0.100", 2, "tsy: --to 0.100 must come after the start, 1.000"},
      {"play two.emd --watch", 2, "tsy: --watch needs a source (.mus); two.emd is an object image"},
      {"play two.mus --positions no/such/folder/feed", 2, "tsy: cannot write the positions to no/such/folder/feed"},
      {"smf two.mus --from x", 2, "tsy: --from needs a position BARS or BARS.TICKS (ticks 0..191), not 'x'"},
  };
  ExpectCases(folder, cases);
}

}  // namespace
}  // namespace tsy::cli
