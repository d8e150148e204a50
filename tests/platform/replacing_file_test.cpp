#include "platform/replacing_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
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

TEST(ReplacingFile, AReadOnlyTargetIsRefusedAndKept) {
  const ScratchFolder folder;
  const fs::path target = folder / "piece.emd";
  std::ofstream(target) << "old";
  ::chmod(target.c_str(), 0444);
  fs::create_symlink("piece.emd", folder / "link.emd");
  const uint8_t bytes[] = {'n', 'e', 'w'};
  for (const fs::path& path : {target, folder / "link.emd"}) {
    const FileResult refused = WriteFileReplacing(path.string(), bytes);
    EXPECT_EQ(refused.status, FileStatus::kCannotWrite) << path;
    EXPECT_EQ(refused.error, EACCES) << path;
  }
  EXPECT_EQ(ReadFile(target), "old");
  EXPECT_EQ(fs::status(target).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  EXPECT_EQ(folder.Entries(), 2);
}

TEST(ReplacingFile, TheTemporaryNameFitsTheFolderWhateverTheTargetsLength) {
  const ScratchFolder folder;
  std::string japanese;
  for (int i = 0; i < 85; ++i) japanese += "\xE9\x9F\xB3";  // 255 bytes of one 3-byte character
  const uint8_t bytes[] = {1, 2, 3};
  for (const std::string& name : {std::string(250, 'a') + ".mid", std::string(255, 'b'), japanese}) {
    const FileResult written = WriteFileReplacing((folder / name).string(), bytes);
    EXPECT_TRUE(written.ok()) << name.size() << " bytes: " << written.Reason();
  }
  EXPECT_EQ(folder.Entries(), 3) << "no temporary file is left beside them";
  const FileResult tooLong = WriteFileReplacing((folder / std::string(256, 'c')).string(), bytes);
  EXPECT_EQ(tooLong.error, ENAMETOOLONG);
}

// Runs `write` in a child process that then ends at once, as one killed
// outright would, without removing anything.
void WriteAndVanish(const fs::path& target) {
  const pid_t child = ::fork();
  if (child == 0) {
    ReplacingFile file(target.string());
    if (!file.Create().ok()) ::_exit(1);
    file.Write(std::string_view("half"));
    ::_exit(0);
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

TEST(ReplacingFile, TemporariesThatAKilledWriterLeftAreRemovedByTheNextWrite) {
  const ScratchFolder folder;
  const uint8_t bytes[] = {'n', 'e', 'w'};
  for (const std::string& name : {std::string("piece.mid"), std::string(252, 'x')}) {
    const fs::path target = folder / name;
    WriteAndVanish(target);
    WriteAndVanish(folder / "other.mid");
    ASSERT_EQ(folder.Entries(), 2) << "two temporaries of dead writers";
    ReplacingFile live(target.string());  // a writer that still runs keeps its own
    ASSERT_TRUE(live.Create().ok());
    ASSERT_TRUE(WriteFileReplacing(target.string(), bytes).ok());
    EXPECT_EQ(folder.Entries(), 3) << "the target, the live writer's file and the other target's temporary";
    ASSERT_TRUE(live.Commit().ok());
    ASSERT_TRUE(WriteFileReplacing((folder / "other.mid").string(), bytes).ok());
    EXPECT_EQ(folder.Entries(), 2);
    fs::remove(target), fs::remove(folder / "other.mid");
  }
}

TEST(ReplacingFile, EndingSignalsRemoveTheFileBeingWrittenAndExitAsAShellReportsThem) {
  const ScratchFolder folder;
  const fs::path target = folder / "piece.wav";
  std::ofstream(target) << "old";
  for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
    const pid_t child = ::fork();
    if (child == 0) {
      RemoveTemporariesOnSignals();
      ReplacingFile file(target.string());
      if (!file.Create().ok()) ::_exit(1);
      file.Write(std::string_view("half"));
      ::raise(signal);
      ::_exit(2);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status)) << signal;
    EXPECT_EQ(WEXITSTATUS(status), 128 + signal);
    EXPECT_EQ(folder.Entries(), 1) << signal;
    EXPECT_EQ(ReadFile(target), "old");
  }
}

}  // namespace
}  // namespace tsy
