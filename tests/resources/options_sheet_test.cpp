#include "resources/options_sheet.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <string_view>

#include "resources/string_table.h"

namespace tsy {
namespace {

const SheetControl* Find(OptionsPage page, int id) {
  for (const SheetControl& control : OptionsSheetPages()[page].controls)
    if (control.id == id) return &control;
  return nullptr;
}

TEST(OptionsSheet, PagesInTabOrder) {
  const char* titles[] = {"基本", "音色", "ﾌｧｲﾗ", "ﾌｫﾙﾀﾞ", "ﾃﾞﾊﾞｲｽ"};
  ASSERT_EQ(OptionsSheetPages().size(), std::size(titles));
  for (size_t i = 0; i < std::size(titles); ++i) EXPECT_STREQ(OptionsSheetPages()[i].title, titles[i]);
}

TEST(OptionsSheet, EveryPageIsWellFormed) {
  for (const SheetPage& page : OptionsSheetPages()) {
    std::set<int> ids;
    std::set<std::string_view> groups;
    for (const SheetControl& control : page.controls) {
      if (control.kind == ControlKind::kGroupBox) groups.insert(control.text);
      // A control's group box comes before it on the same page.
      if (control.group) {
        EXPECT_TRUE(groups.count(control.group)) << page.title << control.text;
      }
      if (control.id != 0) {
        EXPECT_TRUE(ids.insert(control.id).second) << page.title << control.id;
      }
    }
  }
}

TEST(OptionsSheet, FolderGroupsHaveTheirControlsAndBrowserTitles) {
  const char* names[] = {"MUS", "EMD", "SMF"};
  for (size_t i = 0; i < std::size(folder_page::kGroups); ++i) {
    const folder_page::FolderGroup& group = folder_page::kGroups[i];
    const SheetControl* browse = Find(kFolderPage, group.browse);
    const SheetControl* lastDir = Find(kFolderPage, group.lastDir);
    ASSERT_TRUE(browse && lastDir && Find(kFolderPage, group.edit)) << names[i];
    EXPECT_STREQ(browse->text, "参照...");
    EXPECT_STREQ(lastDir->text, "最後に開いたフォルダを初期フォルダ");
    EXPECT_STREQ(lastDir->group, names[i]);
    EXPECT_EQ(std::string(LoadText(group.browserTitle)), std::string(names[i]) + "ﾌｫﾙﾀﾞ");
  }
}

}  // namespace
}  // namespace tsy
