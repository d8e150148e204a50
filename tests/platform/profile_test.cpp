#include "platform/profile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "scratch_folder.h"

namespace tsy {
namespace {

namespace fs = std::filesystem;

class ProfileFile : public ::testing::Test {
 protected:
  void Put(const std::string& text) { WriteFile(path_, text); }
  std::string Get() const { return ReadFile(path_); }

  const ScratchFolder folder_;
  const std::string path_ = (folder_ / "test.ini").string();
};

TEST_F(ProfileFile, ReadsSectionsAndKeysWithoutRegardToCase) {
  Put("; settings\n[System]\nDispRate = 60 \nName=  two words  \nQuoted=\" padded \"\n"
      "[system]\nDispRate=99\n[Other]\ndisprate=7\n");
  const Profile profile = *Profile::Load(path_);
  EXPECT_EQ(profile.ReadInt("SYSTEM", "disprate", 0), 60);  // the first section counts
  EXPECT_EQ(profile.ReadString("system", "NAME", ""), "two words");
  EXPECT_EQ(profile.ReadString("System", "Quoted", ""), " padded ");
  EXPECT_EQ(profile.ReadInt("other", "DispRate", 0), 7);
  EXPECT_EQ(profile.ReadString("System", "Missing", "fallback"), "fallback");
  EXPECT_EQ(profile.ReadString("Missing", "DispRate", "fallback"), "fallback");
}

TEST_F(ProfileFile, IntegersFollowThePlatformRule) {
  Put("[S]\nplain=42\nnegative=-7\ntrailing=12abc\nword=abc\nplus=+5\nspaced=- 3\n"
      "empty=\nhuge=4294967297\nmax=2147483647\n");
  const Profile profile = *Profile::Load(path_);
  const struct {
    const char* key;
    int32_t value;
  } cases[] = {
      {"plain", 42},  {"negative", -7}, {"trailing", 12},    {"word", 0},   {"plus", 0},
      {"spaced", 0},  {"huge", 1},      {"max", 2147483647}, {"empty", -5},  // an empty value counts as absent
      {"absent", -5},
  };
  for (const auto& c : cases) EXPECT_EQ(profile.ReadInt("S", c.key, -5), c.value) << c.key;
}

TEST_F(ProfileFile, WritingKeepsEveryOtherLine) {
  Put("; my settings\n[Mine]\nColour=blue\n\n; the program's own\n[System]\n"
      "DispRate=24 \n; a note\nModeEQ=1\n\n[Later]\nx=1\n");
  Profile profile = *Profile::Load(path_);
  profile.WriteString("system", "DISPRATE", "60");
  profile.WriteString("System", "AutoCompile", "0");
  profile.WriteString("Tone", "Tone1", "GMSET.EQN");
  ASSERT_TRUE(profile.Save(path_).ok());
  EXPECT_EQ(Get(),
            "; my settings\n[Mine]\nColour=blue\n\n; the program's own\n[System]\n"
            "DispRate=60\n; a note\nModeEQ=1\nAutoCompile=0\n\n[Later]\nx=1\n"
            "\n[Tone]\nTone1=GMSET.EQN\n");
}

TEST_F(ProfileFile, KeepsCarriageReturnLineEnds) {
  Put("[System]\r\nDispRate=24\r\n");
  Profile profile = *Profile::Load(path_);
  EXPECT_EQ(profile.ReadInt("System", "DispRate", 0), 24);
  profile.WriteString("System", "ModeEQ", "1");
  ASSERT_TRUE(profile.Save(path_).ok());
  EXPECT_EQ(Get(), "[System]\r\nDispRate=24\r\nModeEQ=1\r\n");
}

TEST_F(ProfileFile, SaveReplacesTheFileWholeAndLeavesNothingBeside) {
  Profile profile = *Profile::Load(path_);  // no file yet
  profile.WriteString("A", "k", "v");
  const std::string nested = (folder_ / "new" / "folder" / "test.ini").string();
  ASSERT_TRUE(profile.Save(nested).ok());
  ASSERT_TRUE(profile.Save(path_).ok());
  EXPECT_EQ(Get(), "[A]\nk=v\n");
  EXPECT_EQ(Profile::Load(nested)->ReadString("a", "K", ""), "v");
  int files = 0;
  for (const auto& entry : fs::directory_iterator(folder_.path())) files += entry.is_regular_file();
  EXPECT_EQ(files, 1);
}

TEST_F(ProfileFile, SaveKeepsPermissionsAndLinks) {
  Put("[A]\nk=old\n");
  ::chmod(path_.c_str(), 0600);
  const std::string link = (folder_ / "link.ini").string();
  fs::create_symlink(path_, link);
  Profile profile = *Profile::Load(link);
  profile.WriteString("A", "k", "new");
  ASSERT_TRUE(profile.Save(link).ok());
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(Get(), "[A]\nk=new\n");
  EXPECT_EQ(fs::status(path_).permissions() & fs::perms::all, fs::perms::owner_read | fs::perms::owner_write);
}

TEST_F(ProfileFile, OnlyAMissingFileLoadsEmpty) {
  ASSERT_TRUE(Profile::Load(path_).has_value());
  EXPECT_EQ(Profile::Load(path_)->Text(), "");
  Put("");
  ASSERT_TRUE(Profile::Load(path_).has_value());
  EXPECT_EQ(Profile::Load(path_)->Text(), "");
  EXPECT_FALSE(Profile::Load(folder_.path().string()).has_value());  // a folder cannot be read
}

TEST_F(ProfileFile, FailedSaveReportsAndKeepsTheOldFile) {
  Put("[A]\nk=old\n");
  Profile profile = *Profile::Load(path_);
  profile.WriteString("A", "k", "new");
  // A folder where the file should be: it cannot be replaced.
  const std::string blocked = (folder_ / "blocked").string();
  fs::create_directories(fs::path(blocked) / "inside");
  EXPECT_FALSE(profile.Save(blocked).ok());
  EXPECT_TRUE(fs::is_directory(fs::path(blocked) / "inside"));
  EXPECT_EQ(Get(), "[A]\nk=old\n");
}

}  // namespace
}  // namespace tsy
