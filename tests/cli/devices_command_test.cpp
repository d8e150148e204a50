// tsy devices, end to end: the output list the Options sheet offers.
#include <gtest/gtest.h>

#include "tsy_run.h"

namespace tsy::cli {
namespace {

TEST(TsyDevices, ListsTheMapperAndTheSynthesiserFirstOneNameALine) {
  const ScratchFolder folder;
  TsyRun run = RunTsy(folder, "devices");
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out.rfind("MIDI Mapper\nDirect Music\n", 0), 0u) << run.out;
  EXPECT_EQ(run.err, "") << "no library chatter when the MIDI system is absent";
}

}  // namespace
}  // namespace tsy::cli
