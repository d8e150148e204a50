#include "app/menu_model.h"

#include <algorithm>
#include <cstdio>

#include "platform/virtual_keys.h"
#include "resources/window_texts.h"

namespace tsy {
namespace {

struct MenuCommand {
  int id;
  const char* text;
  int key;
};

constexpr MenuCommand kCommands[] = {
    {kMenuPlay, "&Play\t1 P", vk::Digit(1)},
    {kMenuHaltPlay, "&HaltPlay\t2 H", vk::Digit(2)},
    {kMenuFadeOut, "&FadeOut\t3 F", vk::Digit(3)},
    {kMenuReplay, "&Replay\t4 R", vk::Digit(4)},
    {kMenuCompile, "&Compile\t7 F5", vk::Digit(7)},
    {kMenuToneWindow, "ToneWindow...\t9 @", vk::Digit(9)},
    {kMenuLoadMus, "&LoadMus...\t/ L", vk::Letter('L')},
    {kMenuLoadObject, "Load&Object...\t* O", vk::Letter('O')},
    {kMenuWriteObject, "&WriteObject...\t^ W", vk::Letter('W')},
    {kMenuExportSmf0, "&ExportSMF0...\tE", vk::Letter('E')},
    {kMenuDispModeDown, "DispMode--\t5 &T", vk::Digit(5)},
    {kMenuDispModeUp, "DispMode++\t6 &Y", vk::Digit(6)},
    {kMenuTrackLevel, "&TrackLevel\tTAB", vk::kTab},
    {kMenuEditor, "E&ditor\tHome", vk::kHome},
    {kMenuOptions, "&Options...\tF2", vk::kF2},
    {kMenuAbout, "&About...\tZ", vk::Letter('Z')},
    {kMenuExit, "E&xit\tAlt+F4", 0},
};

constexpr int kTrackCount = 48;
constexpr int kTracksPerColumn = 16;

MenuItem Command(int id) {
  for (const MenuCommand& c : kCommands)
    if (c.id == id) return MenuItem{MenuItem::kCommand, id, c.text, false, false, {}};
  return MenuItem{};
}

MenuItem Separator() { return MenuItem{MenuItem::kSeparator, 0, "", false, false, {}}; }

MenuItem Popup(const char* text, std::vector<MenuItem> items) {
  return MenuItem{MenuItem::kPopup, 0, text, false, false, std::move(items)};
}

MenuItem TrackPopup(int selectedTrack) {
  std::vector<MenuItem> tracks;
  for (int t = 0; t < kTrackCount; ++t) {
    char text[8];
    std::snprintf(text, sizeof text, "%d", t + 1);
    tracks.push_back(MenuItem{
        MenuItem::kCommand, kMenuFirstTrack + t, text, t == selectedTrack, t > 0 && t % kTracksPerColumn == 0, {}});
  }
  return Popup("Track", std::move(tracks));
}

}  // namespace

std::vector<MenuItem> MainMenu(bool modeEq, int selectedTrack) {
  MenuItem trackLevel = Command(kMenuTrackLevel);
  trackLevel.checked = !modeEq;
  return {
      Command(kMenuPlay),
      Command(kMenuHaltPlay),
      Command(kMenuFadeOut),
      Command(kMenuReplay),
      Command(kMenuCompile),
      Command(kMenuToneWindow),
      Separator(),
      TrackPopup(selectedTrack),
      Separator(),
      Popup("&File", {Command(kMenuLoadMus), Command(kMenuLoadObject), Separator(), Command(kMenuWriteObject),
                      Command(kMenuExportSmf0)}),
      Popup("&View", {Command(kMenuDispModeDown), Command(kMenuDispModeUp), Separator(), trackLevel}),
      Command(kMenuEditor),
      Separator(),
      Command(kMenuOptions),
      Command(kMenuAbout),
      Command(kMenuExit),
  };
}

std::vector<MenuItem> WithPlayFromBar(std::vector<MenuItem> menu) {
  const auto replay =
      std::find_if(menu.begin(), menu.end(), [](const MenuItem& item) { return item.id == kMenuReplay; });
  const auto at = replay == menu.end() ? menu.end() : replay + 1;
  menu.insert(at, MenuItem{MenuItem::kCommand, kMenuPlayFromBar, kPlayFromBarItem, false, false, {}});
  return menu;
}

int KeyOfMenuItem(int id) {
  for (const MenuCommand& c : kCommands)
    if (c.id == id) return c.key;
  return 0;
}

}  // namespace tsy
