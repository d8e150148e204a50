// Reading a file whole: the limit, and what is kept of a file beyond it.
#include "platform/whole_file.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <string>
#include <vector>

#include "scratch_folder.h"

namespace tsy {
namespace {

TEST(WholeFile, TakesAFileUpToTheLimitAndRefusesOneByteMore) {
  const ScratchFolder folder;
  WriteFile(folder / "ten", std::string(10, 'x'));
  std::string text;
  EXPECT_TRUE(ReadWholeFile((folder / "ten").string(), 10, text).ok());
  EXPECT_EQ(text, std::string(10, 'x'));

  std::vector<uint8_t> bytes = {1, 2, 3};
  const FileResult tooLarge = ReadWholeFile((folder / "ten").string(), 9, bytes);
  EXPECT_EQ(tooLarge.status, FileStatus::kTooLarge);
  EXPECT_EQ(tooLarge.error, EFBIG);
  EXPECT_TRUE(bytes.empty()) << "nothing of a refused file is kept";
}

TEST(WholeFile, AnEndlessDeviceIsRefusedAtTheLimit) {
  std::vector<uint8_t> bytes;
  EXPECT_EQ(ReadWholeFile("/dev/zero", 100000, bytes).status, FileStatus::kTooLarge);
}

}  // namespace
}  // namespace tsy
