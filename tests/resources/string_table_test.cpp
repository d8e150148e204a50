#include "resources/string_table.h"

#include <gtest/gtest.h>

#include <string>

#include "text_id_printer.h"

namespace tsy {
namespace {

TEST(StringTable, DiagnosticsAreFormatsThatAppendToTheText) {
  for (int number = 3001; number <= 3047; ++number) {
    if (number == 3033) continue;  // no text has this number
    const std::string text = LoadText(static_cast<TextId>(number));
    ASSERT_FALSE(text.empty()) << number;
    EXPECT_EQ(text.rfind("%s", 0), 0u) << number;
    EXPECT_EQ(text.back(), number == 3008 ? ' ' : '\n') << number;
  }
}

// Each name carries the number the user and the catalogue know its text by.
TEST(StringTable, NamesKeepTheirNumbersAndTexts) {
  const struct {
    TextId id;
    int number;
    const char* text;
  } cases[] = {
      {TextId::kCannotOpen, 1001, "ファイルを開けません"},
      {TextId::kCompileQuestion, 1004, "-> %s\nコンパイル？"},
      {TextId::kDeviceQueryFailed, 1005, "デバイス問い合わせに失敗しました"},
      {TextId::kDeviceStandby, 1006, "デバイスを開けませんでした。\n待機状態で実行されます。"},
      {TextId::kCompileResultCaption, 2004, "解析小節数"},
      {TextId::kSmfResultCaption, 2005, "SMF出力"},
      {TextId::kBarOutsideSingleBlock, 3001, "%s'|' が単一ブロック以外に混入！\n"},
      {TextId::kLinePrefix, 3008, "%s\nLine.%4d: "},
      {TextId::kOctaveOutOfRange, 3026, "%sオクターブ逸脱(%d)！\n"},
      {TextId::kDataOverflow, 3030, "%sデータオーバーフロー！\n"},
      {TextId::kSosValueOutOfRange, 3034, "%s@SOS値逸脱(%d)！\n"},
      {TextId::kNotUnderstood, 3042, "%s理解不能\n"},
      {TextId::kTrackVolumeOutOfRange, 3047, "%sトラックボリューム逸脱！\n"},
      {TextId::kMusFolderTitle, 5001, "MUSﾌｫﾙﾀﾞ"},
      {TextId::kEmdFolderTitle, 5002, "EMDﾌｫﾙﾀﾞ"},
      {TextId::kSmfFolderTitle, 5003, "SMFﾌｫﾙﾀﾞ"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(static_cast<int>(c.id), c.number) << c.text;
    EXPECT_STREQ(LoadText(c.id), c.text) << c.number;
  }
}

TEST(StringTable, UnknownNumbersGiveEmptyText) {
  EXPECT_STREQ(LoadText(static_cast<TextId>(3033)), "");
  EXPECT_STREQ(LoadText(TextId{}), "");
  EXPECT_STREQ(LoadText(static_cast<TextId>(99999)), "");
}

}  // namespace
}  // namespace tsy
