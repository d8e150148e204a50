// tsy smf, end to end: the file it writes, the end it prints, its exit codes.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "cli_cases.h"

namespace tsy::cli {
namespace {

namespace fs = std::filesystem;

TEST(TsySmf, ExportsASourceBesideItAndPrintsTheEnd) {
  const ScratchFolder folder;
  WriteFile(folder / "piece.mus", "1[cde]\n");
  TsyRun run = RunTsy(folder, "smf piece.mus");
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out, "0.144\n");
  const std::string file = ReadFile(folder / "piece.mid");
  ASSERT_GT(file.size(), 22u);
  EXPECT_EQ(file.substr(0, 14), std::string("MThd\0\0\0\6\0\0\0\1\0\x30", 14));
  EXPECT_EQ(file.substr(file.size() - 4), std::string("\0\xFF\x2F\0", 4));
}

TEST(TsySmf, AnObjectImageExportsLikeItsSource) {
  const ScratchFolder folder;
  WriteFile(folder / "piece.mus", "%myinitspace\n1[t90 c4/e/g r8 d]\n2[@ch9 c8c8]\n");
  ASSERT_EQ(RunTsy(folder, "compile piece.mus").exitCode, 0);
  ASSERT_EQ(RunTsy(folder, "smf piece.mus -o from-source.mid").exitCode, 0);
  TsyRun run = RunTsy(folder, "smf piece.emd -o from-image.mid");
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(ReadFile(folder / "from-image.mid"), ReadFile(folder / "from-source.mid"));
}

TEST(TsySmf, DiagnosticExportsTheTracksBeforeIt) {
  const ScratchFolder folder;
  WriteFile(folder / "piece.mus", "1[c]\n2[c\n  x]\n");
  TsyRun run = RunTsy(folder, "smf piece.mus -o out.mid");
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.out, "0.048\n");
  EXPECT_TRUE(fs::exists(folder / "out.mid"));
}

TEST(TsySmf, RefusalsWriteNothing) {
  const ScratchFolder folder;
  WriteFile(folder / "empty.mus", "; no track\n");
  WriteFile(folder / "text.emd", "not an image at all, but long enough to have a header's size of bytes");
  WriteFile(folder / "piece.mus", "1[c]\n");
  const CliCase cases[] = {
      {"smf empty.mus -o out.mid", 3, "保存するデータがありません\n"},
      {"smf missing.mus -o out.mid", 2, "ファイルを開けません: missing.mus"},
      {"smf text.emd -o out.mid", 2, "tsy: text.emd is not an object image"},
      {"smf empty.mus -o empty.mus", 2, "tsy: the MIDI file empty.mus would overwrite its source"},
      {"smf piece.mus -o no-such-folder/out.mid", 2, "ファイルを開けません: no-such-folder/out.mid"},
  };
  ExpectCases(folder, cases);
  EXPECT_EQ(folder.Entries(), 3) << "no file written";
}

// Music whose render length, known from the image's header, passes the limit
// is refused at once: nested repeats beyond counting, and a loop of them
// that would otherwise be rendered twice over for years.
TEST(TsySmf, MusicThatCouldPlayPastTheLimitIsRefusedAtOnce) {
  const ScratchFolder folder;
  std::string nested = "1[";
  for (int i = 0; i < 100; ++i) nested += "(";
  nested += "c64";
  for (int i = 0; i < 100; ++i) nested += ")2";
  WriteFile(folder / "nested.mus", nested + "]\n");
  WriteFile(folder / "loop.mus", "1[ @label1 ((((c64)255)255)255)255 @jump1 ]\n");
  WriteFile(folder / "piece.mus", "1[cde]\n");  // at most 2,208 ticks: 23 s at tempo 120
  const char* kLongest =
      "could play for up to 24855:08:26 (8589936510 ticks at tempo 120), longer than the limit of "
      "24:00:00; nothing was written (--max-length sets the limit)\n";
  const CliCase cases[] = {
      {"smf nested.mus", 2, kLongest},
      {"smf loop.mus", 2, kLongest},
      {"smf piece.mus --max-length 20", 2, "tsy: piece.mus could play for up to 0:00:23 (2208 ticks at tempo 120)"},
      {"smf piece.mus --max-length 0.3m", 2, "longer than the limit of 0:00:18"},
      {"smf piece.mus --max-length soon", 2, "tsy: --max-length needs a duration above 0 such as 90, 90s, 45m or 2h"},
      {"smf piece.mus --max-length 0", 2, "not '0'"},
  };
  ExpectCases(folder, cases, "ulimit -t 20; ");  // an export that starts would take years
  EXPECT_EQ(folder.Entries(), 3) << "no file written";
  for (const char* limit : {"24", "1m", "1h"}) {
    SCOPED_TRACE(limit);
    const TsyRun run = RunTsy(folder, std::string("smf piece.mus --max-length ") + limit);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "0.144\n");
  }
}

// mido reads the format-1 file: its type, one track per stream after the
// tempo map, and the same notes at the same times as the format-0 file.
TEST(TsySmf, FormatOneReadsBackAsTheFormatZeroNotesByTrack) {
  if (std::system("/usr/bin/python3 -c 'import mido' 2>/dev/null") != 0) GTEST_SKIP() << "no python3-mido";
  const ScratchFolder folder;
  WriteFile(folder / "piece.mus", "1[ @com\"lead\" t132 o4 c8d8e4 ]\n2[ o3 c2 ]\n4[ @ch10 o3 c8c8c8 ]\n");
  ASSERT_EQ(RunTsy(folder, "smf piece.mus -o zero.mid").exitCode, 0);
  const TsyRun run = RunTsy(folder, "smf piece.mus -o one.mid --format 1");
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out, RunTsy(folder, "smf piece.mus -o zero.mid").out) << "the same end";
  WriteFile(folder / "notes.py",
            "import mido, sys\n"
            "def notes(path):\n"
            "    f = mido.MidiFile(path)\n"
            "    found = []\n"
            "    for i, track in enumerate(f.tracks):\n"
            "        t = 0\n"
            "        for m in track:\n"
            "            t += m.time\n"
            "            if m.type in ('note_on', 'note_off'):\n"
            "                found.append((t, m.type, m.channel, m.note, m.velocity))\n"
            "    return f, sorted(found)\n"
            "zero, a = notes('zero.mid')\n"
            "one, b = notes('one.mid')\n"
            "print(one.type, len(one.tracks), [t.name for t in one.tracks])\n"
            "print(len(a), a == b)\n");
  const std::string read = "cd '" + folder.path().string() + "' && /usr/bin/python3 notes.py >listing.txt 2>&1";
  ASSERT_EQ(std::system(read.c_str()), 0) << ReadFile(folder / "listing.txt");
  EXPECT_EQ(ReadFile(folder / "listing.txt"), "1 4 ['', 'lead', 'Track 02', 'Track 04']\n14 True\n");
}

}  // namespace
}  // namespace tsy::cli
