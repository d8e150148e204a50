// tsy dump, end to end: the listing of an image, and refusing what is none.
#include <gtest/gtest.h>

#include "cli_cases.h"

namespace tsy::cli {
namespace {

TEST(TsyDump, ListsHeaderAndEventsWithTheirTicks) {
  const ScratchFolder folder;
  WriteFile(folder / "piece.mus", "%myinitspace\n2[c8d]\n");
  ASSERT_EQ(RunTsy(folder, "compile piece.mus").exitCode, 0);
  TsyRun run = RunTsy(folder, "dump piece.emd");
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out,
            "magic           EMD1\n"
            "format version  23\n"
            "image length    417\n"
            "legacy length   0\n"
            "flags           0x01 myinitspace\n"
            "file size       417\n"
            "\n"
            "track 2: offset 403, 72 ticks\n"
            "     tick     at  bytes                      event\n"
            "        0    403  30 03 07 00 18             note o3c 24 gate 7 attack release\n"
            "       24    408  32 03 07 00 30             note o3d 48 gate 7 attack release\n"
            "       72    413  FF FF FF 2E                end\n");
  // A source is compiled first and listed the same way.
  EXPECT_EQ(RunTsy(folder, "dump piece.mus").out, run.out);
}

// The engine sounds a chord's members with its first note, an octave mark
// between them or not; the listing puts them at the chord's tick.
TEST(TsyDump, AChordsMembersAreListedAtItsTick) {
  const ScratchFolder folder;
  WriteFile(folder / "piece.mus", "1[c!/e d/f]\n");
  TsyRun run = RunTsy(folder, "dump piece.mus");
  ASSERT_EQ(run.exitCode, 0) << run.err;
  for (const char* line : {"        0    411  C4 F4                      offset mark -12\n",
                           "        0    413  34                         chord note o3e\n",
                           "       48    414  FD                         chord\n",
                           "       48    420  35                         chord note o3f\n",
                           "       96    421  FF FF FF 2E                end\n"})
    EXPECT_NE(run.out.find(line), std::string::npos) << line << run.out;
}

TEST(TsyDump, EveryEventShowsItsOperands) {
  const ScratchFolder folder;
  WriteFile(folder / "piece.mus",
            "1[t150 @cont11,100 @varc4,0,11,100,80 v+3 u=-2 @dts-8191 @eqd @ch3 (c)3 c! w8ce @com\"hi\""
            "@h{f0,7e,7f,09,01,f7} **]");
  TsyRun run = RunTsy(folder, "dump piece.mus");
  ASSERT_EQ(run.exitCode, 0) << run.err;
  for (const char* event :
       {"tempo 150", "control cc 11 to 100", "ramp ticks 48 cc 11 from 100 to 80", "relative velocity by +3",
        "offset expression to -2", "detune -8191", "channel-flag set 0", "channel 2", "repeat depth 1",
        "repeat-end depth 1 times 3", "offset mark +12", "portamento ticks 24 semitones +4", "comment \"hi\"",
        "sysex F0 7E 7F 09 01 F7", "restart-stop 1"})
    EXPECT_NE(run.out.find(std::string("  ") + event + "\n"), std::string::npos) << event << "\n" << run.out;
}

TEST(TsyDump, SourceWithAFaultListsTheTracksBefore) {
  const ScratchFolder folder;
  WriteFile(folder / "piece.MUS", "1[c]2[x]");
  TsyRun run = RunTsy(folder, "dump piece.MUS");
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.err, "piece.MUS:1:7: 理解不能\n");
  EXPECT_NE(run.out.find("track 1: offset 403, 48 ticks"), std::string::npos) << run.out;
}

TEST(TsyDump, RefusesWhatIsNoImageAndSaysWhy) {
  const ScratchFolder folder;
  WriteFile(folder / "piece.mus", "1[c]");
  ASSERT_EQ(RunTsy(folder, "compile piece.mus").exitCode, 0);
  std::string image = ReadFile(folder / "piece.emd");

  std::string wrongMagic = image;
  wrongMagic[0] = 'X';
  std::string outside = image;
  outside[4 + 4 * 6] = 0x10;  // track 7 at offset 16
  WriteFile(folder / "short.emd", image.substr(0, 402));
  WriteFile(folder / "magic.emd", wrongMagic);
  WriteFile(folder / "outside.emd", outside);
  WriteFile(folder / "long.emd", image + std::string(16383, '\0'));
  const CliCase cases[] = {
      {"dump short.emd", 2, "tsy: short.emd is not an object image: 402 bytes, shorter than the 403-byte header"},
      {"dump magic.emd", 2, "tsy: magic.emd is not an object image: it does not start with \"EMD1\""},
      {"dump outside.emd", 2, "tsy: outside.emd is not an object image: track 7's offset 16 lies outside"},
      {"dump long.emd", 2, "tsy: long.emd is not an object image: more than 16383 bytes"},
      {"dump missing.emd", 2, "ファイルを開けません: missing.emd"},
  };
  ExpectCases(folder, cases);
}

TEST(TsyDump, StreamCutOffByTheEndOfTheFileIsShownNotOverrun) {
  const ScratchFolder folder;
  WriteFile(folder / "piece.mus", "1[c]");
  ASSERT_EQ(RunTsy(folder, "compile piece.mus").exitCode, 0);
  std::string image = ReadFile(folder / "piece.emd");
  WriteFile(folder / "cut.emd", image.substr(0, 406));  // the note event loses its last bytes
  TsyRun run = RunTsy(folder, "dump cut.emd");
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_NE(run.out.find("(differs from the file's size)"), std::string::npos);
  EXPECT_NE(run.out.find("(cut off by the end of the image)"), std::string::npos) << run.out;
}

}  // namespace
}  // namespace tsy::cli
