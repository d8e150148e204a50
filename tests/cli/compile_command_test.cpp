// tsy compile, end to end: the files it writes, what it prints, its exit codes.
#include <gtest/gtest.h>

#include <filesystem>

#include "tsy_run.h"

namespace tsy::cli {
namespace {

namespace fs = std::filesystem;

// The summary of a compile where only track 1 holds `bars` (e.g. "   0.144").
std::string SummaryWithTrackOne(const std::string& bars) {
  std::string out;
  char entry[32];
  for (int k = 1; k <= 48; ++k) {
    std::snprintf(entry, sizeof entry, "%02d:%s      %s", k, k == 1 ? bars.c_str() : "-------", k % 4 == 0 ? "\n" : "");
    out += entry;
  }
  return out;
}

TEST(TsyCompile, WritesTheImageBesideTheSourceAndPrintsTheSummary) {
  const ScratchFolder folder;
  WriteFile(folder / "piece.mus", "; a comment\n1[cde]\n");
  TsyRun run = RunTsy(folder, "compile piece.mus");
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out, SummaryWithTrackOne("   0.144"));
  EXPECT_EQ(run.err, "");
  const std::string image = ReadFile(folder / "piece.emd");
  ASSERT_EQ(image.size(), 403u + 15 + 4);
  EXPECT_EQ(image.substr(0, 4), "EMD1");
  EXPECT_EQ(image.substr(403), std::string("\x30\x03\x07\x00\x30\x32\x03\x07\x00\x30\x34\x03\x07\x00\x30"
                                           "\xFF\xFF\xFF\x2E",
                                           19));
}

TEST(TsyCompile, DiagnosticsGoToStderrWithFileLineAndColumnAndTheTracksBeforeAreWritten) {
  const ScratchFolder folder;
  WriteFile(folder / "piece.mus", "1[c]\n2[c\n  x]\n");
  TsyRun run = RunTsy(folder, "compile piece.mus -o result.emd");
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.out, "01:   0.048      \nLine.   3: 理解不能\nBreak-02:   0.048      ");
  EXPECT_EQ(run.err, "piece.mus:3:3: 理解不能\n");
  EXPECT_EQ(ReadFile(folder / "result.emd").size(), 403u + 5 + 4);
}

TEST(TsyCompile, UnreadableSourceIsExitTwoAndWritesNothing) {
  const ScratchFolder folder;
  TsyRun run = RunTsy(folder, "compile missing.mus");
  EXPECT_EQ(run.exitCode, 2);
  EXPECT_NE(run.err.find("ファイルを開けません"), std::string::npos) << run.err;
  EXPECT_NE(run.err.find("missing.mus"), std::string::npos) << run.err;
  EXPECT_EQ(run.out, "");
  EXPECT_FALSE(fs::exists(folder / "missing.emd"));
}

TEST(TsyCompile, FailedWriteIsReportedAndLeavesNoTemporaryFile) {
  const ScratchFolder folder;
  WriteFile(folder / "piece.mus", "1[c]");
  fs::create_directory(folder / "taken.emd");  // a folder where the image should go
  TsyRun run = RunTsy(folder, "compile piece.mus -o taken.emd");
  EXPECT_EQ(run.exitCode, 2);
  EXPECT_NE(run.err.find("taken.emd"), std::string::npos) << run.err;
  EXPECT_TRUE(fs::is_directory(folder / "taken.emd"));
  int files = 0;
  for (const auto& entry : fs::directory_iterator(folder.path())) files += entry.is_regular_file();
  EXPECT_EQ(files, 1);  // piece.mus only
}

TEST(TsyCompile, NeverOverwritesItsOwnSource) {
  const ScratchFolder folder;
  WriteFile(folder / "piece.emd", "1[c]");
  TsyRun run = RunTsy(folder, "compile piece.emd");
  EXPECT_EQ(run.exitCode, 2);
  EXPECT_EQ(ReadFile(folder / "piece.emd"), "1[c]");
}

TEST(TsyCompile, Utf8SourceKeepsItsLinesAndColumns) {
  const ScratchFolder folder;
  WriteFile(folder / "piece.mus", "; 主旋律\n1[c]\n; 伴奏\n2[@com\"伴奏\" x]\n");
  TsyRun run = RunTsy(folder, "compile piece.mus");
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.err, "piece.mus:4:12: 理解不能\n");  // each character one column
}

}  // namespace
}  // namespace tsy::cli
