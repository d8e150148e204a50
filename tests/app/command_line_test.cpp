// The desktop program's arguments: one file, made absolute, or --help and
// --version; anything else is refused with the reason.
#include "app/command_line.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "scratch_folder.h"

namespace tsy {
namespace {

namespace fs = std::filesystem;
using Args = std::vector<std::string>;

TEST(CommandLine, NoArgumentRunsAsBeforeAndOneFileIsOpenedByItsFullPath) {
  EXPECT_EQ(ReadCommandLine({}).action, CommandLine::kRun);
  EXPECT_EQ(ReadCommandLine({}).file, "");

  const ScratchFolder folder;
  fs::create_directories(folder / "songs");
  WriteFile(folder / "songs" / "tune.mus", "t120 cde");
  WriteFile(folder / "-dash.emd", "EMD1");
  const fs::path before = fs::current_path();
  fs::current_path(folder / "songs");
  const CommandLine relative = ReadCommandLine({"./../songs/tune.mus"});
  const CommandLine dashed = ReadCommandLine({"--", "../-dash.emd"});
  const CommandLine afterEnd = ReadCommandLine({"--", "--help"});
  fs::current_path(before);

  EXPECT_EQ(relative.action, CommandLine::kRun);
  EXPECT_EQ(relative.file, (folder / "songs" / "tune.mus").string());
  EXPECT_EQ(dashed.file, (folder / "-dash.emd").string());
  EXPECT_EQ(afterEnd.action, CommandLine::kBad);  // a file called --help, which is not there
}

TEST(CommandLine, HelpAndVersionWinWhereverTheyStand) {
  for (const Args& args : {Args{"--help"}, Args{"-h"}, Args{"a.mus", "b.mus", "--help"}})
    EXPECT_EQ(ReadCommandLine(args).action, CommandLine::kHelp) << args.back();
  EXPECT_EQ(ReadCommandLine({"--version"}).action, CommandLine::kVersion);
  EXPECT_NE(CommandLineHelp().find("usage: tessaly32 [FILE]"), std::string::npos);
  EXPECT_EQ(CommandLineVersion().rfind("tessaly32 ", 0), 0u);
}

TEST(CommandLine, BadArgumentsSayWhatIsWrong) {
  const ScratchFolder folder;
  WriteFile(folder / "a.mus", "");
  WriteFile(folder / "b.mus", "");
  WriteFile(folder / "locked.mus", "");
  ::chmod((folder / "locked.mus").c_str(), 0);
  const std::string missing = (folder / "gone.mus").string();
  struct Case {
    Args args;
    std::string error;
  } cases[] = {
      {{"-x"}, "unknown option '-x'"},
      {{"--verbose", "a.mus"}, "unknown option '--verbose'"},
      {{(folder / "a.mus").string(), (folder / "b.mus").string()}, "one file at most, not 2"},
      {{missing}, "cannot open " + missing + ": No such file or directory"},
      {{folder.path().string()}, "cannot open " + folder.path().string() + ": Is a directory"},
      {{"-"}, "cannot open -: No such file or directory"},
  };
  for (const Case& c : cases) {
    const CommandLine read = ReadCommandLine(c.args);
    EXPECT_EQ(read.action, CommandLine::kBad) << c.args[0];
    EXPECT_EQ(read.error, c.error);
  }
  if (::geteuid() != 0) {  // root reads everything
    const std::string locked = (folder / "locked.mus").string();
    EXPECT_EQ(ReadCommandLine({locked}).error, "cannot open " + locked + ": Permission denied");
  }
}

}  // namespace
}  // namespace tsy
