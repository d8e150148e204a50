// Path pieces that decide what Compile and Editor do and how dialogs start.
#include "app/file_names.h"

#include <gtest/gtest.h>

namespace tsy {
namespace {

TEST(FileNamesTest, ExtensionIsFoundFromTheEnd) {
  struct Case {
    const char* path;
    const char* extension;
  } cases[] = {
      {"NewFile.MUS", "MUS"}, {"a.b.emd", "emd"}, {"noext", "noext"},
      {".emd", ".emd"},       {"x.", ""},         {"dir.v2/song", "v2/song"},
  };
  for (const Case& c : cases) EXPECT_EQ(ExtensionOf(c.path), c.extension) << c.path;
  EXPECT_TRUE(HasExtension("X.EMD", "emd"));
  EXPECT_TRUE(HasExtension("x.Mus", "mus"));
  EXPECT_FALSE(HasExtension("x.muse", "mus"));
  EXPECT_FALSE(HasExtension("mus", "emd"));
}

TEST(FileNamesTest, DialogNamesAndFolders) {
  EXPECT_EQ(WithoutExtension(FilePart("/home/u/song.v2.mus")), "song.v2");
  EXPECT_EQ(WithoutExtension(FilePart("NewFile.MUS")), "NewFile");
  EXPECT_EQ(WithoutExtension(FilePart("")), "");
  EXPECT_EQ(FolderOf("/home/u/song.mus"), "/home/u/");
  EXPECT_EQ(FolderOf("song.mus"), "");
  EXPECT_EQ(WithTrailingSeparator("/home/u"), "/home/u/");
  EXPECT_EQ(WithTrailingSeparator("/home/u/"), "/home/u/");
  EXPECT_EQ(WithTrailingSeparator(""), "");
}

}  // namespace
}  // namespace tsy
