// tsy smf, end to end: the file it writes, the end it prints, its exit codes.
#include <gtest/gtest.h>

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

}  // namespace
}  // namespace tsy::cli
