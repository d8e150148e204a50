#include "platform/install_folders.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace tsy {
namespace {

TEST(InstallFolders, TheExecutableIsTheRunningTestAndItsSharedFolderSitsBesideBin) {
  // The tests are built beside the programs, at the top of the build tree.
  EXPECT_TRUE(std::filesystem::equivalent(ExecutableFolder(), TSY_BINARY_DIR));
  EXPECT_EQ(SharedDataFolder("/usr/bin"), "/usr/share/tessaly32");
  EXPECT_EQ(SharedDataFolder("/tmp/stage/usr/local/bin"), "/tmp/stage/usr/local/share/tessaly32");
  EXPECT_EQ(SharedDataFolder(""), "");
}

}  // namespace
}  // namespace tsy
