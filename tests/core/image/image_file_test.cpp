// Reading object files: the desktop program refuses a file as large as the
// object buffer, tsy takes one.
#include "core/image/image_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "scratch_folder.h"

namespace tsy {
namespace {

TEST(ImageFile, EachLimitTakesItsLargestFile) {
  const ScratchFolder folder;
  const struct {
    size_t size;
    ImageFileLimit limit;
    FileStatus status;
  } cases[] = {
      {16382, ImageFileLimit::kSmallerThanBuffer, FileStatus::kDone},
      {16383, ImageFileLimit::kSmallerThanBuffer, FileStatus::kTooLarge},
      {16383, ImageFileLimit::kBuffer, FileStatus::kDone},
      {16384, ImageFileLimit::kBuffer, FileStatus::kTooLarge},
  };
  for (const auto& c : cases) {
    WriteFile(folder / "piece.emd", std::string(c.size, 'E'));
    std::vector<uint8_t> bytes;
    EXPECT_EQ(ReadImageFile((folder / "piece.emd").string(), c.limit, bytes).status, c.status) << c.size;
    EXPECT_EQ(bytes.size(), c.status == FileStatus::kDone ? c.size : 0) << c.size;
  }
}

}  // namespace
}  // namespace tsy
