// Reading a file whole: the limit, and what is kept of a file beyond it.
#include "platform/whole_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
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

// Settings and tone lists come only from plain files: nothing waits on a
// pipe or reads an endless device.
TEST(RegularFile, OnlyAPlainFileWithinTheLimitIsRead) {
  ::alarm(10);  // a reader that waits for a pipe's writer ends the test here
  const ScratchFolder folder;
  WriteFile(folder / "tsy32.ini", "[System]\n");
  std::string text = "old";
  ASSERT_TRUE(ReadRegularFile((folder / "tsy32.ini").string(), 9, text).ok());
  EXPECT_EQ(text, "[System]\n");

  ASSERT_EQ(::mkfifo((folder / "fifo").c_str(), 0600), 0);
  std::filesystem::create_symlink("/dev/zero", folder / "zero");
  for (const char* name : {"fifo", "zero"}) {
    const FileResult refused = ReadRegularFile((folder / name).string(), 1000, text);
    EXPECT_EQ(refused.status, FileStatus::kNotRegular) << name;
    EXPECT_EQ(refused.Reason(), "not a regular file");
    EXPECT_TRUE(text.empty());
  }
  const FileResult large = ReadRegularFile((folder / "tsy32.ini").string(), 8, text);
  EXPECT_EQ(large.status, FileStatus::kTooLarge);
  EXPECT_EQ(large.error, EFBIG);
  EXPECT_EQ(ReadRegularFile(folder.path().string(), 1000, text).error, EISDIR);
  EXPECT_EQ(ReadRegularFile((folder / "missing").string(), 1000, text).error, ENOENT);
  ::alarm(0);
}

}  // namespace
}  // namespace tsy
