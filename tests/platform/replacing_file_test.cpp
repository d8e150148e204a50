#include "platform/replacing_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <filesystem>
#include <fstream>

#include "scratch_folder.h"

namespace tsy {
namespace {

namespace fs = std::filesystem;

TEST(ReplacingFile, TargetChangesOnlyAtCommitAndKeepsItsPermissions) {
  const ScratchFolder folder;
  const fs::path target = folder / "piece.mid";
  std::ofstream(target) << "old";
  ::chmod(target.c_str(), 0640);

  ReplacingFile file(target.string());
  ASSERT_TRUE(file.Create().ok());
  file.Write(std::string_view("xxxxbody"));
  const uint8_t head[] = {'H', 'E', 'A', 'D'};
  file.WriteAt(0, head);  // a header completed once the length is known
  EXPECT_EQ(ReadFile(target), "old");
  const FileResult committed = file.Commit();
  ASSERT_TRUE(committed.ok()) << committed.Reason();
  EXPECT_EQ(ReadFile(target), "HEADbody");
  EXPECT_EQ(fs::status(target).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  EXPECT_EQ(folder.Entries(), 1);
}

TEST(ReplacingFile, UncommittedOrFailedWritesLeaveTheTargetAndNoTemporaryFile) {
  const ScratchFolder folder;
  const fs::path target = folder / "piece.emd";
  std::ofstream(target) << "good";
  {
    ReplacingFile abandoned(target.string());
    ASSERT_TRUE(abandoned.Create().ok());
    abandoned.Write(std::string_view("half"));
  }
  EXPECT_EQ(ReadFile(target), "good");
  EXPECT_EQ(folder.Entries(), 1);

  const uint8_t bytes[] = {1, 2, 3};
  const FileResult noFolder = WriteFileReplacing((folder / "no-such-folder" / "x.emd").string(), bytes);
  EXPECT_EQ(noFolder.status, FileStatus::kCannotWrite);
  EXPECT_EQ(noFolder.error, ENOENT);
  fs::create_directories(folder / "taken");
  EXPECT_EQ(WriteFileReplacing((folder / "taken").string(), bytes).status, FileStatus::kCannotWrite);
  EXPECT_TRUE(fs::is_directory(folder / "taken"));
  EXPECT_EQ(folder.Entries(), 2);
}

TEST(ReplacingFile, ALinkKeepsPointingAtTheReplacedFile) {
  const ScratchFolder folder;
  std::ofstream(folder / "real.ini") << "old";
  fs::create_symlink("real.ini", folder / "link.ini");
  const uint8_t bytes[] = {'n', 'e', 'w'};
  ASSERT_TRUE(WriteFileReplacing((folder / "link.ini").string(), bytes).ok());
  EXPECT_TRUE(fs::is_symlink(folder / "link.ini"));
  EXPECT_EQ(ReadFile(folder / "real.ini"), "new");
  EXPECT_TRUE(SameFile((folder / "link.ini").string(), (folder / "real.ini").string()));
}

}  // namespace
}  // namespace tsy
