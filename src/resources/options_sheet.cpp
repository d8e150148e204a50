#include "resources/options_sheet.h"

#include <iterator>

namespace tsy {
namespace {

using enum ControlKind;

constexpr const char* kStartUp = "起動設定";
constexpr const char* kBasic = "基本設定";
constexpr const char* kPriority = "優先度";

constexpr SheetControl kBasicControls[] = {
    {0, kGroupBox, kStartUp, true, nullptr},
    {basic_page::kWindowSave, kCheckBox, "ｳｨﾝﾄﾞｳ位置保存", true, kStartUp},
    {basic_page::kModeEq, kCheckBox, "似非ｽﾍﾟｸﾄﾙｱﾅﾗｲｻﾞ", true, kStartUp},
    {0, kGroupBox, kBasic, true, nullptr},
    {basic_page::kAutoCompile, kCheckBox, "自動ｺﾝﾊﾟｲﾙｺﾏﾝﾄﾞ", true, kBasic},
    {basic_page::kExitCheck, kCheckBox, "終了確認", true, kBasic},
    {basic_page::kRegistry, kCheckBox, "ﾚｼﾞｽﾄﾘに設定保存", false, kBasic},
    {0, kGroupBox, kPriority, true, nullptr},
    {basic_page::kPriorityHighest, kRadioButton, "最優先(&3)", false, kPriority},
    {basic_page::kPriorityNormal, kRadioButton, "普通(&2)", false, kPriority},
    {basic_page::kPriorityIdle, kRadioButton, "ｱｲﾄﾞﾙ時のみ(&1)", false, kPriority},
    {0, kLabel, "表示更新レート(&R)", true, nullptr},
    {basic_page::kRateEdit, kNumberEdit, "24", true, nullptr},
    {basic_page::kRateUpDown, kUpDown, "", true, nullptr},
    {basic_page::kLiveReload, kCheckBox, "保存時ﾗｲﾌﾞﾘﾛｰﾄﾞ", true, nullptr},
};

constexpr const char* kToneFiles = "音色定義ﾌｧｲﾙ設定";
constexpr const char* kBehaviour = "動作設定";

constexpr SheetControl kToneControls[] = {
    {0, kGroupBox, kToneFiles, true, nullptr},
    {0, kLabel, "@EQN", true, kToneFiles},
    {tone_page::kEqnEdit, kEdit, "", true, kToneFiles},
    {tone_page::kEqnBrowse, kPushButton, "...", true, kToneFiles},
    {0, kLabel, "@EQD", true, kToneFiles},
    {tone_page::kEqdEdit, kEdit, "", true, kToneFiles},
    {tone_page::kEqdBrowse, kPushButton, "...", true, kToneFiles},
    {0, kGroupBox, kBehaviour, true, nullptr},
    {tone_page::kAutoJump, kCheckBox, "自動ｼﾞｬﾝﾌﾟ", true, kBehaviour},
    {tone_page::kExitCheck, kCheckBox, "終了確認", true, kBehaviour},
};

constexpr const char* kFiler = "ﾌｧｲﾗ設定";

constexpr SheetControl kFilerControls[] = {
    {0, kGroupBox, kFiler, false, nullptr},
    {101, kCheckBox, "内蔵ﾌｧｲﾗ使用", false, kFiler},
    {104, kCheckBox, "ﾛﾝｸﾞﾌｧｲﾙﾈｰﾑを使用", false, kFiler},
    {102, kCheckBox, "ﾌｧｲﾙｻｲｽﾞを16進数表示", false, kFiler},
    {103, kCheckBox, "隠しﾌｧｲﾙやｼｽﾃﾑﾌｧｲﾙも表示", false, kFiler},
};

constexpr const char* kBrowse = "参照...";
constexpr const char* kLastDir = "最後に開いたフォルダを初期フォルダ";

constexpr SheetControl kFolderControls[] = {
    {0, kGroupBox, "MUS", true, nullptr},
    {folder_page::kGroups[0].edit, kEdit, "", true, "MUS"},
    {folder_page::kGroups[0].browse, kPushButton, kBrowse, true, "MUS"},
    {folder_page::kGroups[0].lastDir, kCheckBox, kLastDir, true, "MUS"},
    {0, kGroupBox, "EMD", true, nullptr},
    {folder_page::kGroups[1].edit, kEdit, "", true, "EMD"},
    {folder_page::kGroups[1].browse, kPushButton, kBrowse, true, "EMD"},
    {folder_page::kGroups[1].lastDir, kCheckBox, kLastDir, true, "EMD"},
    {0, kGroupBox, "SMF", true, nullptr},
    {folder_page::kGroups[2].edit, kEdit, "", true, "SMF"},
    {folder_page::kGroups[2].browse, kPushButton, kBrowse, true, "SMF"},
    {folder_page::kGroups[2].lastDir, kCheckBox, kLastDir, true, "SMF"},
};

constexpr const char* kSoundSource = "使用音源";
constexpr const char* kDirectMusic = "DirectMusic設定";

constexpr SheetControl kDeviceControls[] = {
    {0, kGroupBox, kSoundSource, true, nullptr},
    {0, kLabel, "出力", true, kSoundSource},
    {device_page::kOutputList, kDropDownList, "", true, kSoundSource},
    {0, kLabel, "入力", false, kSoundSource},
    {106, kDropDownList, "", false, kSoundSource},
    {107, kCheckBox, "MIDI Connect(Through)", false, kSoundSource},
    {0, kGroupBox, kDirectMusic, false, nullptr},
    {103, kCheckBox, "ﾘﾊﾞｰﾌﾞ", false, kDirectMusic},
    {104, kCheckBox, "ｺｰﾗｽ", false, kDirectMusic},
    {0, kLabel, "ｻﾝﾌﾟﾘﾝｸﾞﾚｰﾄ", false, kDirectMusic},
    {102, kDropDownList, "", false, kDirectMusic},
};

constexpr SheetPage kPages[] = {
    {"基本", kBasicControls},   {"音色", kToneControls},     {"ﾌｧｲﾗ", kFilerControls},
    {"ﾌｫﾙﾀﾞ", kFolderControls}, {"ﾃﾞﾊﾞｲｽ", kDeviceControls},
};
static_assert(std::size(kPages) == kOptionsPageCount, "one page per OptionsPage, in its order");

}  // namespace

std::span<const SheetPage> OptionsSheetPages() { return kPages; }

}  // namespace tsy
