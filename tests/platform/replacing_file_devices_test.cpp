// Targets that are not plain files: a pipe or a device is written where it
// is, never replaced by a plain file.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>

#include "platform/replacing_file.h"
#include "scratch_folder.h"

namespace tsy {
namespace {

namespace fs = std::filesystem;

constexpr uint8_t kBytes[] = {'M', 'T', 'h', 'd', 0, 0, 0, 6};

TEST(ReplacingFileTargets, APipeReceivesTheBytesAndStaysAPipe) {
  const ScratchFolder folder;
  const fs::path pipe = folder / "out.mid";
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  // The reading end is open first, so the write neither waits nor hangs the
  // test when the pipe is (wrongly) replaced.
  const int reader = ::open(pipe.c_str(), O_RDONLY | O_NONBLOCK);
  ASSERT_GE(reader, 0);
  EXPECT_TRUE(WriteFileReplacing(pipe.string(), kBytes).ok());
  char buffer[64];
  const ssize_t n = ::read(reader, buffer, sizeof buffer);
  ::close(reader);
  const std::string received(buffer, static_cast<size_t>(std::max<ssize_t>(n, 0)));
  EXPECT_EQ(received, std::string(reinterpret_cast<const char*>(kBytes), sizeof kBytes));
  EXPECT_TRUE(fs::is_fifo(pipe));
  EXPECT_EQ(folder.Entries(), 1);
}

TEST(ReplacingFileTargets, ADeviceIsWrittenNotReplaced) {
  const ScratchFolder folder;
  const fs::path device = folder / "null";
  if (::mknod(device.c_str(), S_IFCHR | 0666, makedev(1, 3)) != 0) GTEST_SKIP() << "cannot make a device node here";
  EXPECT_TRUE(WriteFileReplacing(device.string(), kBytes).ok());
  EXPECT_TRUE(fs::is_character_file(device));
  EXPECT_EQ(folder.Entries(), 1);
}

TEST(ReplacingFileTargets, AFolderIsRefusedBeforeAnythingIsWritten) {
  const ScratchFolder folder;
  fs::create_directory(folder / "out.emd");
  ReplacingFile file((folder / "out.emd").string());
  const FileResult created = file.Create();
  EXPECT_EQ(created.status, FileStatus::kCannotWrite);
  EXPECT_EQ(created.Reason(), std::strerror(EISDIR));
  EXPECT_TRUE(fs::is_directory(folder / "out.emd"));
  EXPECT_EQ(folder.Entries(), 1);
}

}  // namespace
}  // namespace tsy
