// The command line every tsy command shares: the help and the version on
// stdout, and words that a command cannot take, refused alike by all of them
// with the exit code 2 and nothing on stdout.
#include <gtest/gtest.h>

#include <regex>

#include "cli_cases.h"

namespace tsy::cli {
namespace {

TEST(TsyCommandLine, HelpShowsEveryCommandAndEachCommandsUsageAndOptions) {
  const ScratchFolder folder;
  // Each option and each command on a line of its own, two spaces in: the
  // shell completion reads them so.
  const CliCase cases[] = {
      {"help", 0, "", "usage: tsy <command>"},
      {"--help", 0, "", "\n  compile SRC.mus... [-o OUT.emd] [--json]  "},
      {"-h", 0, "", "\n  play SRC [--device NAME] [--seconds N] [--connect NAME] [--clock]  "},
      {"help", 0, "", "\n  devices [-v]  "},
      {"help", 0, "", "\n  help [COMMAND]  "},
      {"help smf", 0, "", "usage: tsy smf SRC... [-o OUT.mid] [--max-length DURATION] [--format 0|1]\n"},
      {"compile --help", 0, "", "usage: tsy compile SRC.mus... [-o OUT.emd] [--json]\n"},
      {"compile --help", 0, "", "\n  -o OUT.emd  write the image to OUT.emd\n"},
      {"dump --help", 0, "", "usage: tsy dump FILE... [--json]\n"},
      {"smf -h", 0, "", "\n  -o OUT.mid  "},
      {"play --help", 0, "", "\n  --device NAME  "},
      {"play --help", 0, "", "\n  --seconds N    "},
      {"play --help", 0, "", "\n  --clock        "},
      {"render --help", 0, "",
       "usage: tsy render SRC... [-o OUT] [--format NAME] [--rate HZ] [--gain DB] [--stems DIR] [--soundfont SF2]\n"},
      {"render --help", 0, "", "\n  --soundfont SF2  "},
      {"devices --help", 0, "", "usage: tsy devices [-v]\n"},
      {"devices --help", 0, "", "\n  --help  show this help and exit\n"},
      {"help --help", 0, "", "usage: tsy help [COMMAND]\n"},
  };
  ExpectCases(folder, cases);
}

TEST(TsyCommandLine, VersionIsTheProgramNameAndItsVersionOnOneLine) {
  const ScratchFolder folder;
  const TsyRun run = RunTsy(folder, "--version");
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_TRUE(std::regex_match(run.out, std::regex("tsy \\(Tessaly32\\) [0-9]+\\.[0-9]+\\.[0-9]+\n"))) << run.out;
  EXPECT_EQ(run.err, "");
}

TEST(TsyCommandLine, WordsACommandCannotTakeAreRefusedWithTheirReason) {
  const ScratchFolder folder;
  const CliCase cases[] = {
      {"", 2, "usage: tsy <command>"},
      {"frobnicate", 2, "tsy: unknown command 'frobnicate'\nusage: tsy <command>"},
      {"help frobnicate", 2, "tsy: unknown command 'frobnicate'\n"},
      {"help compile dump", 2, "usage: tsy help [COMMAND]\n"},
      {"compile", 2, "usage: tsy compile SRC.mus... [-o OUT.emd] [--json]\n"},
      {"play a.mus b.mus", 2, "usage: tsy play"},
      {"compile a.mus --out x", 2, "tsy: unknown option '--out'\n"},
      {"compile a.mus -o", 2, "tsy: option '-o' needs a value\n"},
      {"dump", 2, "usage: tsy dump FILE... [--json]\n"},
      {"dump a.emd -o x", 2, "tsy: unknown option '-o'\n"},
      {"smf", 2, "usage: tsy smf"},
      {"play", 2, "usage: tsy play"},
      {"play two.mus --loud", 2, "tsy: unknown option '--loud'\n"},
      {"play two.mus --device", 2, "tsy: option '--device' needs a value\n"},
      {"render", 2, "usage: tsy render"},
      {"render a.mus --soundfont", 2, "tsy: option '--soundfont' needs a value\n"},
      {"devices extra", 2, "usage: tsy devices [-v]\n"},
  };
  ExpectCases(folder, cases);
}

}  // namespace
}  // namespace tsy::cli
