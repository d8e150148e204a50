// The main pop-up: ids, texts, order, the keys its items post, the Track pop-up.
#include "app/menu_model.h"

#include <gtest/gtest.h>

#include "platform/virtual_keys.h"

namespace tsy {
namespace {

// One line per item: indent, id and text; "--" for a separator; "|" before an
// item that starts a new column; "*" for a check mark.
void Render(const std::vector<MenuItem>& items, const std::string& indent, std::string& out) {
  for (const MenuItem& item : items) {
    out += indent;
    if (item.kind == MenuItem::kSeparator) {
      out += "--\n";
      continue;
    }
    if (item.newColumn) out += "|";
    if (item.checked) out += "*";
    if (item.kind == MenuItem::kCommand) out += std::to_string(item.id) + " ";
    out += item.text + "\n";
    if (item.kind == MenuItem::kPopup && item.text != "Track") Render(item.items, indent + "  ", out);
  }
}

TEST(MenuModelTest, MainPopupInOrder) {
  std::string out;
  Render(MainMenu(true, 0), "", out);
  EXPECT_EQ(out,
            "37826 &Play\t1 P\n"
            "37827 &HaltPlay\t2 H\n"
            "37836 &FadeOut\t3 F\n"
            "37828 &Replay\t4 R\n"
            "37834 &Compile\t7 F5\n"
            "37840 ToneWindow...\t9 @\n"
            "--\n"
            "Track\n"
            "--\n"
            "&File\n"
            "  37830 &LoadMus...\t/ L\n"
            "  37829 Load&Object...\t* O\n"
            "  --\n"
            "  37831 &WriteObject...\t^ W\n"
            "  37832 &ExportSMF0...\tE\n"
            "&View\n"
            "  37845 DispMode--\t5 &T\n"
            "  37837 DispMode++\t6 &Y\n"
            "  --\n"
            "  37838 &TrackLevel\tTAB\n"
            "37835 E&ditor\tHome\n"
            "--\n"
            "37847 &Options...\tF2\n"
            "37846 &About...\tZ\n"
            "37833 E&xit\tAlt+F4\n");
}

TEST(MenuModelTest, TrackLevelIsCheckedWhileTheMetersShowTracks) {
  std::string out;
  Render(MainMenu(false, 0), "", out);
  EXPECT_NE(out.find("*37838 &TrackLevel\tTAB"), std::string::npos);
}

TEST(MenuModelTest, TrackPopupHasThreeColumnsAndChecksTheSelectedTrack) {
  std::vector<MenuItem> menu = MainMenu(true, 20);
  const MenuItem& tracks = menu[7];
  ASSERT_EQ(tracks.text, "Track");
  ASSERT_EQ(tracks.items.size(), 48u);
  for (int t = 0; t < 48; ++t) {
    const MenuItem& item = tracks.items[t];
    EXPECT_EQ(item.id, 2000 + t);
    EXPECT_EQ(item.text, std::to_string(t + 1));
    EXPECT_EQ(item.newColumn, t == 16 || t == 32) << item.text;
    EXPECT_EQ(item.checked, t == 20) << item.text;
  }
}

TEST(MenuModelTest, ItemsPostTheKeysTheirLegendsName) {
  // clang-format off
  struct Case {
    int id, key;
  } cases[] = {
      {kMenuPlay, vk::Digit(1)},        {kMenuHaltPlay, vk::Digit(2)},
      {kMenuFadeOut, vk::Digit(3)},     {kMenuReplay, vk::Digit(4)},
      {kMenuCompile, vk::Digit(7)},     {kMenuToneWindow, vk::Digit(9)},
      {kMenuLoadMus, 'L'},              {kMenuLoadObject, 'O'},
      {kMenuWriteObject, 'W'},          {kMenuExportSmf0, 'E'},
      {kMenuDispModeDown, vk::Digit(5)}, {kMenuDispModeUp, vk::Digit(6)},
      {kMenuTrackLevel, vk::kTab},      {kMenuEditor, vk::kHome},
      {kMenuOptions, vk::kF2},          {kMenuAbout, 'Z'},
      {kMenuExit, 0},                   {kMenuFirstTrack, 0},
  };
  // clang-format on
  for (const Case& c : cases) EXPECT_EQ(KeyOfMenuItem(c.id), c.key) << c.id;
}

}  // namespace
}  // namespace tsy
