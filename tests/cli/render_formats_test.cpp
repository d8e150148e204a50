// tsy render into every sound format, read back by readers of their own
// (soxi and sox for WAV, RF64, W64, FLAC and Ogg Vorbis; opusinfo for Opus):
// the rate, the length and the level; stems, the WAV size limit, pipes.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "cli_cases.h"
#include "wav_reading.h"

namespace tsy::cli {
namespace {

namespace fs = std::filesystem;

// Two beats of an organ chord at tempo 120: one second of music.
constexpr const char* kChord = "1[ t120 @19 o4 c2/e/g ]\n";

bool Have(const char* program) {
  return std::system((std::string("command -v ") + program + " >/dev/null").c_str()) == 0;
}

// What a shell command prints on stdout (its stderr joined to it).
std::string Output(const ScratchFolder& folder, const std::string& command) {
  const fs::path out = folder / ".shell";
  std::system(("cd '" + folder.path().string() + "' && " + command + " >'" + out.string() + "' 2>&1").c_str());
  std::string text = ReadFile(out);
  fs::remove(out);
  while (!text.empty() && text.back() == '\n') text.pop_back();
  return text;
}

double Number(const std::string& text) { return std::strtod(text.c_str(), nullptr); }

// The RMS amplitude of a file as sox measures it (0..1).
double SoxRms(const ScratchFolder& folder, const std::string& file) {
  return Number(Output(folder, "sox '" + file + "' -n stat 2>&1 | sed -n 's/^RMS *amplitude: *//p'"));
}

struct FormatCase {
  const char* arguments;  // after "render chord.mus"
  const char* file;
  const char* soxiType;  // what soxi -t says, or "" for a file sox cannot read
  int rate;
};

TEST(TsyRenderFormats, EachFormatIsReadBackWithItsRateLengthAndSound) {
  if (!Have("soxi")) GTEST_SKIP() << "no sox";
  const ScratchFolder folder;
  WriteFile(folder / "chord.mus", kChord);
  const FormatCase cases[] = {
      {"-o chord.wav", "chord.wav", "wav", 44100},
      {"-o chord.flac", "chord.flac", "flac", 44100},
      {"-o chord.ogg --rate 22050", "chord.ogg", "vorbis", 22050},
      {"-o chord.rf64", "chord.rf64", "wav", 44100},
      {"-o chord.w64 --rate 96000", "chord.w64", "w64", 96000},
      {"-o CHORD.FLAC --rate 48000", "CHORD.FLAC", "flac", 48000},
      {"-o chord.opus", "chord.opus", "", 48000},
  };
  for (const FormatCase& c : cases) {
    SCOPED_TRACE(c.arguments);
    const TsyRun run = RunTsy(folder, std::string("render chord.mus ") + c.arguments);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out.rfind(std::string(c.file) + "  0:0", 0), 0u) << run.out;
    if (c.soxiType[0] == '\0') {
      if (!Have("opusinfo")) continue;
      const std::string info = Output(folder, std::string("opusinfo ") + c.file);
      EXPECT_NE(info.find("Channels: 2"), std::string::npos) << info;
      EXPECT_NE(info.find("Playback length: 0m:0"), std::string::npos) << info;
      continue;
    }
    EXPECT_EQ(Output(folder, std::string("soxi -t ") + c.file), c.soxiType);
    EXPECT_EQ(Number(Output(folder, std::string("soxi -r ") + c.file)), c.rate);
    EXPECT_EQ(Output(folder, std::string("soxi -c ") + c.file), "2");
    const double seconds = Number(Output(folder, std::string("soxi -D ") + c.file));
    EXPECT_GT(seconds, 1.0) << "the music and its release";
    EXPECT_LT(seconds, 7.0);
    EXPECT_GT(SoxRms(folder, c.file), 0.01) << "it sounds";
  }
  ASSERT_EQ(RunTsy(folder, "render chord.mus -o forced.wav --format flac").exitCode, 0);
  EXPECT_EQ(ReadFile(folder / "forced.wav").substr(0, 4), "fLaC") << "--format outweighs the extension";
}

TEST(TsyRenderFormats, GainScalesTheLevelAndTheDefaultWavStaysAsItWas) {
  const ScratchFolder folder;
  WriteFile(folder / "chord.mus", kChord);
  ASSERT_EQ(RunTsy(folder, "render chord.mus -o plain.wav").exitCode, 0);
  ASSERT_EQ(RunTsy(folder, "render chord.mus -o zero.wav --gain 0 --format wav --rate 44100").exitCode, 0);
  ASSERT_EQ(RunTsy(folder, "render chord.mus -o soft.wav --gain -6dB").exitCode, 0);
  EXPECT_EQ(ReadFile(folder / "zero.wav"), ReadFile(folder / "plain.wav")) << "no option changes the default bytes";
  const double plain = SummariseWav(ReadFile(folder / "plain.wav")).rms;
  const double soft = SummariseWav(ReadFile(folder / "soft.wav")).rms;
  EXPECT_NEAR(soft / plain, 0.501, 0.01) << "-6 dB is half the amplitude";
}

TEST(TsyRenderFormats, OptionsItCannotTakeAreRefusedBeforeAnythingIsWritten) {
  const ScratchFolder folder;
  WriteFile(folder / "chord.mus", kChord);
  const CliCase cases[] = {
      {"render chord.mus --rate 32000", 2, "tsy: --rate takes 22050, 44100, 48000 or 96000"},
      {"render chord.mus --rate fast", 2, "not 'fast'"},
      {"render chord.mus -o x.opus --rate 44100", 2, "tsy: opus files are made at 48000 frames per second only"},
      {"render chord.mus --format mp3", 2, "tsy: --format takes wav, rf64, w64, flac, ogg, opus, not 'mp3'"},
      {"render chord.mus --gain loud", 2, "tsy: --gain takes decibels from -40 to +40"},
      {"render chord.mus --gain 60", 2, "tsy: --gain takes decibels"},
      {"render chord.mus --stems parts -o x.wav", 2, "give it or -o, not both"},
      {"render chord.mus -o /dev/null --format rf64", 2,
       "tsy: /dev/null is a pipe or a device, and a RF64 file's header is completed at its end"},
  };
  ExpectCases(folder, cases);
  EXPECT_EQ(folder.Entries(), 1) << "no file written";

  // An extension that names no format gets WAV, as it always did, and a word.
  const TsyRun run = RunTsy(folder, "render chord.mus -o x.snd");
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_NE(run.err.find("tsy: x.snd: no sound format has the extension .snd"), std::string::npos) << run.err;
  EXPECT_TRUE(SummariseWav(ReadFile(folder / "x.snd")).valid);
}

// 12,750 whole notes at tempo 120: seven hours, 4.5 GB as WAV. The size is
// known before the synthesiser starts, so the refusal comes at once.
TEST(TsyRenderFormats, AWavPastFourGibibytesIsRefusedBeforeItStarts) {
  const ScratchFolder folder;
  WriteFile(folder / "long.mus", "1[ t120 o4 @19 ((c1)255)50 ]\n");
  const CliCase cases[] = {
      {"render long.mus", 2,
       "tsy: the render of long.mus lasts up to 7:05:07 and would make a WAV file of 4499390920 bytes, more than the "
       "4294967295 bytes (4 GiB) a WAV file can describe; nothing was written (--format rf64 or w64 writes it)"},
      {"render long.mus -o /dev/stdout", 2, "more than the 4294967295 bytes"},
  };
  ExpectCases(folder, cases);
  EXPECT_EQ(folder.Entries(), 1) << "no file, no temporary";
}

// A pipe cannot be revisited: the header states the sizes at once, and the
// sound's whole release is written so the size is known before it starts.
TEST(TsyRenderFormats, APipeGetsAWholeWavWithItsSizesStatedUpFront) {
  const ScratchFolder folder;
  WriteFile(folder / "chord.mus", kChord);
  const std::string tsy = "'" TSY_BINARY_DIR "/tsy'";
  Output(folder, "{ (" + tsy + " render chord.mus -o /dev/stdout 2>err.txt; echo $? >rc.txt) | cat >piped.wav; }");
  EXPECT_EQ(ReadFile(folder / "rc.txt"), "0\n") << ReadFile(folder / "err.txt");
  const std::string piped = ReadFile(folder / "piped.wav");
  const WavSummary wav = SummariseWav(piped);
  ASSERT_TRUE(wav.valid);
  EXPECT_EQ(44 + static_cast<size_t>(wav.seconds * 44100 + 0.5) * 4, piped.size())
      << "the header's size is the file's, and the result line went to stderr";
  EXPECT_NE(ReadFile(folder / "err.txt").find("/dev/stdout  0:0"), std::string::npos);
  EXPECT_NEAR(wav.seconds - 5.0, 2.9, 0.1) << "the preamble bar, the chord, five seconds of release";
  EXPECT_GT(wav.rms, 300.0);

  if (!Have("sox")) return;
  ASSERT_EQ(::mkfifo((folder / "fifo").c_str(), 0600), 0);
  Output(folder, "{ timeout 20 sox -t wav fifo -n stat 2>stat.txt & timeout 20 " + tsy +
                     " render chord.mus -o fifo >/dev/null 2>&1; echo $? >rc.txt; wait; }");
  EXPECT_EQ(ReadFile(folder / "rc.txt"), "0\n");
  const std::string stat = ReadFile(folder / "stat.txt");
  const size_t at = stat.find("Length (seconds):");
  ASSERT_NE(at, std::string::npos) << stat;
  EXPECT_NEAR(Number(stat.substr(at + 17)), wav.seconds, 0.001) << "sox reads every frame the header states";
}

TEST(TsyRenderFormats, StemsAreOneFilePerTrackWithNotesAllOfOneLength) {
  const ScratchFolder folder;
  WriteFile(folder / "band.mus",
            "1[ @com\"lead: 1/2\" t120 @19 o5 c4 e4 ]\n"
            "2[ @32 o2 c1 ]\n"
            "3[ @cont7,100 ]\n"
            "10[ @ch10 o3 c8 d8 ]\n");
  const TsyRun run = RunTsy(folder, "render band.mus --stems parts --format flac");
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out.rfind("parts  3 stems  0:0", 0), 0u) << run.out;
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder / "parts")) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"01-lead_ 1_2.flac", "02-track 02.flac", "10-track 10.flac"}));
  if (!Have("soxi")) return;
  std::string lengths;
  for (const std::string& name : names) lengths += Output(folder, "soxi -s 'parts/" + name + "'") + " ";
  const std::string first = lengths.substr(0, lengths.find(' ') + 1);
  EXPECT_EQ(lengths, first + first + first) << "every stem as long as the piece with its whole release";
  for (const std::string& name : names) EXPECT_GT(SoxRms(folder, "parts/" + name), 0.001) << name;

  // The lead's stem holds the lead alone: it is quieter than the mix.
  ASSERT_EQ(RunTsy(folder, "render band.mus -o mix.flac").exitCode, 0);
  EXPECT_LT(SoxRms(folder, "parts/01-lead_ 1_2.flac"), SoxRms(folder, "mix.flac"));
}

}  // namespace
}  // namespace tsy::cli
