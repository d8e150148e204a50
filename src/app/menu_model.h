#pragma once
// The main window's pop-up menu (also its right-click menu): item ids, texts
// and order, and the key that each item stands for. Every item but Exit and
// the track choices posts the key-down of its key, so a command exists once.

#include <string>
#include <vector>

namespace tsy {

// Item ids.
constexpr int kMenuPlay = 37826;
constexpr int kMenuHaltPlay = 37827;
constexpr int kMenuReplay = 37828;
constexpr int kMenuLoadObject = 37829;
constexpr int kMenuLoadMus = 37830;
constexpr int kMenuWriteObject = 37831;
constexpr int kMenuExportSmf0 = 37832;
constexpr int kMenuExit = 37833;
constexpr int kMenuCompile = 37834;
constexpr int kMenuEditor = 37835;
constexpr int kMenuFadeOut = 37836;
constexpr int kMenuDispModeUp = 37837;
constexpr int kMenuTrackLevel = 37838;
constexpr int kMenuToneWindow = 37840;
constexpr int kMenuDispModeDown = 37845;
constexpr int kMenuAbout = 37846;
constexpr int kMenuOptions = 37847;
constexpr int kMenuPlayFromBar = 37850;  // beyond the described items: asks for a bar, posts no key
constexpr int kMenuFirstTrack = 2000;    // "Track" pop-up: ids 2000..2047 choose tracks 1..48

struct MenuItem {
  enum Kind { kCommand, kSeparator, kPopup };
  Kind kind = kCommand;
  int id = 0;        // commands only
  std::string text;  // "&" marks the mnemonic, "\t" starts the key legend
  bool checked = false;
  bool newColumn = false;       // the item starts a new column behind a separator bar
  std::vector<MenuItem> items;  // pop-ups only
};

// The main pop-up as it opens: "&TrackLevel" checked when `modeEq` is 0, the
// "Track" pop-up refilled with "1".."48" in three columns and the item of
// `selectedTrack` (0..47) checked.
std::vector<MenuItem> MainMenu(bool modeEq, int selectedTrack);

// `menu` (MainMenu's) with "Play from Bar..." after Replay.
std::vector<MenuItem> WithPlayFromBar(std::vector<MenuItem> menu);

// The virtual-key code that menu item `id` posts, or 0 (Exit, the track
// choices, unknown ids).
int KeyOfMenuItem(int id);

}  // namespace tsy
