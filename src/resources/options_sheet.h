#pragma once
// The Options sheet as a template: its title, its five pages in tab order and
// every control of each page with its id, text and whether it is usable.
// The sheet's window code builds its widgets from this table and gives the
// controls with an id their behaviour.

#include <span>

#include "resources/text_id.h"

namespace tsy {

enum class ControlKind {
  kGroupBox,
  kCheckBox,
  kRadioButton,
  kLabel,
  kEdit,
  kNumberEdit,  // right-aligned, digits only
  kUpDown,      // bound to the number edit before it
  kPushButton,
  kDropDownList,
};

struct SheetControl {
  int id;  // 0 for controls the sheet never addresses (group boxes, labels)
  ControlKind kind;
  const char* text;   // UTF-8; a "&" marks the access key
  bool enabled;       // false: shown but permanently disabled, without function
  const char* group;  // text of the group box that holds the control, or nullptr
};

struct SheetPage {
  const char* title;
  std::span<const SheetControl> controls;  // in tab order
};

constexpr const char* kOptionsSheetTitle = "各種設定";

// The pages' index in OptionsSheetPages(); the sheet opens on kBasicPage.
enum OptionsPage : int { kBasicPage, kTonePage, kFilerPage, kFolderPage, kDevicePage };
constexpr int kOptionsPageCount = 5;

// Page "基本": the start-up and basic switches and the display refresh rate.
namespace basic_page {
constexpr int kRateEdit = 101;
constexpr int kRateUpDown = 102;
constexpr int kPriorityHighest = 104;  // Priority 2
constexpr int kPriorityNormal = 105;   // Priority 1
constexpr int kPriorityIdle = 106;     // Priority 0
constexpr int kRegistry = 107;
constexpr int kExitCheck = 108;
constexpr int kWindowSave = 109;
constexpr int kAutoCompile = 110;
constexpr int kModeEq = 111;
constexpr int kLiveReload = 112;  // below the described controls, which keep their places
constexpr int kRateMin = 1;       // refreshes per second
constexpr int kRateMax = 1000;
}  // namespace basic_page

// Page "音色": the two tone definition files and the Tone window's switches.
namespace tone_page {
constexpr int kEqnBrowse = 101;
constexpr int kAutoJump = 102;
constexpr int kEqnEdit = 103;
constexpr int kEqdBrowse = 104;
constexpr int kEqdEdit = 105;
constexpr int kExitCheck = 106;
constexpr const char* kEqnFilter = "EQNファイル(*.EQN)";
constexpr const char* kEqnPattern = "*.EQN";
constexpr const char* kEqdFilter = "EQDファイル(*.EQD)";
constexpr const char* kEqdPattern = "*.EQD";
}  // namespace tone_page

// Page "ﾌｫﾙﾀﾞ": one group per remembered folder, in the order MUS, EMD, SMF.
namespace folder_page {
struct FolderGroup {
  int edit;
  int browse;
  int lastDir;
  TextId browserTitle;  // the folder browser's title
};
constexpr FolderGroup kGroups[] = {
    {103, 104, 102, TextId::kMusFolderTitle},
    {107, 108, 106, TextId::kEmdFolderTitle},
    {111, 112, 110, TextId::kSmfFolderTitle},
};
}  // namespace folder_page

// Page "ﾃﾞﾊﾞｲｽ": the output list.
namespace device_page {
constexpr int kOutputList = 101;
}  // namespace device_page

// The five pages in tab order, indexed by OptionsPage.
std::span<const SheetPage> OptionsSheetPages();

}  // namespace tsy
