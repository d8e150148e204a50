#include "platform/replacing_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace tsy {
namespace {

namespace fs = std::filesystem;

fs::path Folder() {
  fs::path folder = fs::temp_directory_path() /
                    ("tsy-replacing-" + std::string(testing::UnitTest::GetInstance()->current_test_info()->name()));
  fs::remove_all(folder);
  fs::create_directories(folder);
  return folder;
}

std::string Contents(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

size_t Entries(const fs::path& folder) {
  return static_cast<size_t>(std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

TEST(ReplacingFile, TargetChangesOnlyAtCommitAndKeepsItsPermissions) {
  fs::path folder = Folder();
  fs::path target = folder / "piece.mid";
  std::ofstream(target) << "old";
  ::chmod(target.c_str(), 0640);

  ReplacingFile file(target.string());
  std::string reason;
  ASSERT_TRUE(file.Create(reason)) << reason;
  file.Write(std::string_view("xxxxbody"));
  const uint8_t head[] = {'H', 'E', 'A', 'D'};
  file.WriteAt(0, head);  // a header completed once the length is known
  EXPECT_EQ(Contents(target), "old");
  ASSERT_TRUE(file.Commit(reason)) << reason;
  EXPECT_EQ(Contents(target), "HEADbody");
  EXPECT_EQ(fs::status(target).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  EXPECT_EQ(Entries(folder), 1u);
  fs::remove_all(folder);
}

TEST(ReplacingFile, UncommittedOrFailedWritesLeaveTheTargetAndNoTemporaryFile) {
  fs::path folder = Folder();
  fs::path target = folder / "piece.emd";
  std::ofstream(target) << "good";
  {
    ReplacingFile abandoned(target.string());
    std::string reason;
    ASSERT_TRUE(abandoned.Create(reason));
    abandoned.Write(std::string_view("half"));
  }
  EXPECT_EQ(Contents(target), "good");
  EXPECT_EQ(Entries(folder), 1u);

  std::string reason;
  const uint8_t bytes[] = {1, 2, 3};
  EXPECT_FALSE(WriteFileReplacing((folder / "no-such-folder" / "x.emd").string(), bytes, reason));
  EXPECT_FALSE(reason.empty());
  fs::create_directories(folder / "taken");
  EXPECT_FALSE(WriteFileReplacing((folder / "taken").string(), bytes, reason));
  EXPECT_TRUE(fs::is_directory(folder / "taken"));
  EXPECT_EQ(Entries(folder), 2u);
  fs::remove_all(folder);
}

TEST(ReplacingFile, ALinkKeepsPointingAtTheReplacedFile) {
  fs::path folder = Folder();
  std::ofstream(folder / "real.ini") << "old";
  fs::create_symlink("real.ini", folder / "link.ini");
  std::string reason;
  const uint8_t bytes[] = {'n', 'e', 'w'};
  ASSERT_TRUE(WriteFileReplacing((folder / "link.ini").string(), bytes, reason)) << reason;
  EXPECT_TRUE(fs::is_symlink(folder / "link.ini"));
  EXPECT_EQ(Contents(folder / "real.ini"), "new");
  EXPECT_TRUE(SameFile((folder / "link.ini").string(), (folder / "real.ini").string()));
  fs::remove_all(folder);
}

}  // namespace
}  // namespace tsy
