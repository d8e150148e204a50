// .emd files: the size rule when reading, the header's length when writing.
#include "app/object_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <vector>

#include "scratch_folder.h"

namespace tsy {
namespace {

namespace fs = std::filesystem;

void WriteBytes(const fs::path& path, size_t size, char fill) {
  std::ofstream(path, std::ios::binary).write(std::vector<char>(size, fill).data(), size);
}

TEST(ObjectFileTest, ReadsFilesSmallerThanTheBufferOverItsStart) {
  const ScratchFolder folder;
  std::vector<uint8_t> buffer(kObjectBufferSize, 7);
  WriteBytes(folder / "small.emd", 16382, 1);
  EXPECT_TRUE(ReadObjectFile((folder / "small.emd").string(), buffer.data()).ok());
  EXPECT_EQ(buffer[16381], 1);
  EXPECT_EQ(buffer[16382], 7);  // beyond the file: as it was

  WriteBytes(folder / "short.emd", 10, 2);
  ReadObjectFile((folder / "short.emd").string(), buffer.data());
  EXPECT_EQ(buffer[9], 2);
  EXPECT_EQ(buffer[10], 1);

  WriteBytes(folder / "full.emd", 16383, 3);
  EXPECT_EQ(ReadObjectFile((folder / "full.emd").string(), buffer.data()).status, FileStatus::kTooLarge);
  EXPECT_EQ(buffer[0], 2);
  EXPECT_EQ(ReadObjectFile((folder / "none.emd").string(), buffer.data()).status, FileStatus::kCannotOpen);
}

TEST(ObjectFileTest, ImageLengthComesFromAValidHeader) {
  std::vector<uint8_t> buffer(kObjectBufferSize, 0);
  EXPECT_EQ(ImageLengthOf(buffer.data()), 0u);
  buffer[0] = 'E', buffer[1] = 'M', buffer[2] = 'D', buffer[3] = '1';
  struct Case {
    uint32_t stored, length;
  } cases[] = {{403, 403}, {408, 408}, {16383, 16383}, {402, 0}, {16384, 0}, {0xFFFFFFFF, 0}};
  for (const Case& c : cases) {
    for (int i = 0; i < 4; ++i) buffer[392 + i] = uint8_t(c.stored >> (8 * i));
    EXPECT_EQ(ImageLengthOf(buffer.data()), c.length) << c.stored;
  }
}

TEST(ObjectFileTest, WritingReplacesTheFileOnlyWhenItWorked) {
  const ScratchFolder folder;
  std::vector<uint8_t> image(500, 9);
  fs::path target = folder / "out.emd";
  WriteBytes(target, 40, 5);
  EXPECT_TRUE(WriteObjectFile(target.string(), image.data(), 450).ok());
  EXPECT_EQ(fs::file_size(target), 450u);

  // A folder standing at the target cannot be replaced: it stays as it was,
  // and no temporary file is left beside it.
  fs::path taken = folder / "taken.emd";
  fs::create_directories(taken);
  WriteBytes(taken / "inside", 7, 1);
  EXPECT_EQ(WriteObjectFile(taken.string(), image.data(), 100).status, FileStatus::kCannotWrite);
  EXPECT_EQ(fs::file_size(taken / "inside"), 7u);
  EXPECT_EQ(folder.Entries(), 2);
}

}  // namespace
}  // namespace tsy
