// Several files to one command: a line per file, the outputs beside their
// sources or in the folder -o names, one exit code for the worst, and
// outputs that would collide refused before anything is written.
#include <gtest/gtest.h>

#include <filesystem>

#include "cli_cases.h"

namespace tsy::cli {
namespace {

namespace fs = std::filesystem;

class TsyBatch : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteFile(folder_ / "a.mus", "1[cde]\n");
    WriteFile(folder_ / "b.mus", "1[c1]\n");
    WriteFile(folder_ / "bad.mus", "1[c]\n2[c\n  x]\n");
  }
  const ScratchFolder folder_;
};

TEST_F(TsyBatch, EachSourceIsExportedBesideItselfWithALineOfItsOwn) {
  const TsyRun run = RunTsy(folder_, "smf a.mus b.mus");
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out, "a.mus: 0.144\nb.mus: 1.000\n");
  EXPECT_TRUE(fs::exists(folder_ / "a.mid"));
  EXPECT_TRUE(fs::exists(folder_ / "b.mid"));
}

TEST_F(TsyBatch, TheExitCodeIsTheWorstOfAllFilesAndTheOthersAreStillDone) {
  const CliCase cases[] = {
      {"smf a.mus bad.mus", 1, "bad.mus:3:", "a.mus: 0.144\nbad.mus: 0.048\n"},
      {"smf gone.mus a.mus", 2, "ファイルを開けません: gone.mus", "gone.mus: failed (exit 2)\na.mus: 0.144\n"},
      {"compile a.mus bad.mus", 1, "bad.mus:3:", "a.mus: a.emd\nbad.mus: bad.emd (the tracks before a diagnostic)\n"},
  };
  ExpectCases(folder_, cases);
  EXPECT_TRUE(fs::exists(folder_ / "a.emd"));
}

TEST_F(TsyBatch, OutputsGoToTheFolderThatDashONames) {
  fs::create_directory(folder_ / "out");
  TsyRun run = RunTsy(folder_, "smf -o out a.mus b.mus --format 1");
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(ReadFile(folder_ / "out/a.mid").substr(8, 2), std::string("\0\1", 2)) << "format 1";
  EXPECT_TRUE(fs::exists(folder_ / "out/b.mid"));

  run = RunTsy(folder_, "render -o out/ a.mus b.mus --format ogg");
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out.rfind("a.mus: out/a.ogg  0:0", 0), 0u) << run.out;
  EXPECT_NE(run.out.find("\nb.mus: out/b.ogg  0:0"), std::string::npos) << run.out;

  run = RunTsy(folder_, "render -o out/single/ a.mus");
  EXPECT_EQ(run.exitCode, 2) << "a folder that is not there";
  run = RunTsy(folder_, "render -o out/ a.mus");
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_TRUE(fs::exists(folder_ / "out/a.wav"));
}

TEST_F(TsyBatch, OutputsThatWouldCollideOrNoFolderAreRefusedBeforeAnyWork) {
  fs::create_directories(folder_ / "sub");
  fs::create_directories(folder_ / "out");
  WriteFile(folder_ / "sub/a.mus", "1[c]\n");
  const CliCase cases[] = {
      {"smf -o out a.mus sub/a.mus", 2,
       "tsy: a.mus and sub/a.mus would both be written to out/a.mid; nothing was written"},
      {"smf a.mus a.mus", 2, "would both be written to a.mid"},
      {"compile -o a.emd a.mus b.mus", 2,
       "tsy: with several files, -o names the folder they are written to; a.emd is no folder"},
  };
  ExpectCases(folder_, cases);
  EXPECT_TRUE(fs::is_empty(folder_ / "out"));
  EXPECT_FALSE(fs::exists(folder_ / "a.mid"));
}

TEST_F(TsyBatch, DumpListsEachFileUnderAHeading) {
  const TsyRun run = RunTsy(folder_, "dump a.mus b.mus");
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out.rfind("==> a.mus <==\n", 0), 0u);
  EXPECT_NE(run.out.find("\n==> b.mus <==\n"), std::string::npos);
}

}  // namespace
}  // namespace tsy::cli
