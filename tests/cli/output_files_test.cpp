// The files tsy writes, end to end: a target the user may not write, names
// as long as the folder allows, and what an interrupted or killed write
// leaves behind (nothing but the old file).
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "cli_cases.h"

namespace tsy::cli {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// A loop whose export takes seconds: 7.8 million ticks of notes.
constexpr const char* kLongLoop = "1[ @label1 (((c64)255)255)20 @jump1 ]\n";
// Six minutes of an organ note for the render.
constexpr const char* kSixMinutes = "1[ t120 @19 o4 (c1)200 ]\n";

bool HoldsATemporary(const ScratchFolder& folder) {
  for (const auto& entry : fs::directory_iterator(folder.path()))
    if (entry.path().filename().string().find(".tsytmp-") != std::string::npos) return true;
  return false;
}

TEST(TsyOutputs, AReadOnlyTargetIsRefusedAndKept) {
  const ScratchFolder folder;
  WriteFile(folder / "piece.mus", "1[cde]\n");
  for (const char* name : {"piece.emd", "piece.mid"}) {
    WriteFile(folder / name, "old");
    ::chmod((folder / name).c_str(), 0444);
  }
  const CliCase cases[] = {
      {"compile piece.mus", 2, "tsy: cannot write piece.emd (Permission denied)", "01:   0.144"},
      {"smf piece.mus", 2, "ファイルを開けません: piece.mid (Permission denied)"},
  };
  ExpectCases(folder, cases);
  EXPECT_EQ(ReadFile(folder / "piece.emd"), "old");
  EXPECT_EQ(ReadFile(folder / "piece.mid"), "old");
  EXPECT_EQ(folder.Entries(), 3);
}

TEST(TsyOutputs, ANameAsLongAsTheFolderAllowsIsWritten) {
  const ScratchFolder folder;
  WriteFile(folder / "piece.mus", "1[cde]\n");
  const std::string name = std::string(246, 'n') + ".mid";
  const TsyRun run = RunTsy(folder, "smf piece.mus -o " + name);
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_TRUE(fs::exists(folder / name));
  EXPECT_EQ(folder.Entries(), 2);
}

TEST(TsyOutputs, TheTemporaryThatAKilledExportLeftIsRemovedByTheNext) {
  const ScratchFolder folder;
  WriteFile(folder / "loop.mus", kLongLoop);
  WriteFile(folder / "loop.mid", "old");
  const pid_t pid = StartTsy(folder, {"smf", "loop.mus", "--max-length", "1000h"});
  const auto limit = std::chrono::steady_clock::now() + 10s;
  while (!HoldsATemporary(folder) && std::chrono::steady_clock::now() < limit) std::this_thread::sleep_for(5ms);
  ASSERT_TRUE(HoldsATemporary(folder));
  ::kill(pid, SIGKILL);
  ::waitpid(pid, nullptr, 0);
  ASSERT_TRUE(HoldsATemporary(folder)) << "nothing can clean up after SIGKILL";

  WriteFile(folder / "loop.mus", "1[cde]\n");
  const TsyRun run = RunTsy(folder, "smf loop.mus");
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_FALSE(HoldsATemporary(folder));
  EXPECT_EQ(folder.Entries(), 3);  // loop.mus, loop.mid, out.txt
}

// Interrupts `arguments` as soon as its temporary file exists, with each
// ending signal in turn: the old file stays, the temporary goes, and the
// exit code is the one a shell reports for the signal.
void ExpectInterruptionsCleanUp(const ScratchFolder& folder, const std::vector<std::string>& arguments,
                                const fs::path& target) {
  for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
    SCOPED_TRACE(signal);
    WriteFile(target, "old");
    const pid_t pid = StartTsy(folder, arguments);
    const auto limit = std::chrono::steady_clock::now() + 30s;
    while (!HoldsATemporary(folder) && std::chrono::steady_clock::now() < limit) std::this_thread::sleep_for(2ms);
    ASSERT_TRUE(HoldsATemporary(folder));
    std::this_thread::sleep_for(50ms);  // writing is under way
    ::kill(pid, signal);
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFEXITED(status)) << "ended by the signal itself";
    EXPECT_EQ(WEXITSTATUS(status), 128 + signal);
    EXPECT_FALSE(HoldsATemporary(folder));
    EXPECT_EQ(ReadFile(target), "old");
  }
}

TEST(TsyOutputs, AnInterruptedExportRemovesItsTemporaryFile) {
  const ScratchFolder folder;
  WriteFile(folder / "loop.mus", kLongLoop);
  ExpectInterruptionsCleanUp(folder, {"smf", "loop.mus", "--max-length", "1000h"}, folder / "loop.mid");
}

TEST(TsyOutputs, AnInterruptedRenderRemovesItsTemporaryFile) {
  const ScratchFolder folder;
  WriteFile(folder / "organ.mus", kSixMinutes);
  ExpectInterruptionsCleanUp(folder, {"render", "organ.mus"}, folder / "organ.wav");
}

}  // namespace
}  // namespace tsy::cli
