#include "resources/string_table.h"

#include <gtest/gtest.h>

#include <string>

namespace tsy {
namespace {

TEST(StringTable, DiagnosticsAreFormatsThatAppendToTheText) {
  for (int id = 3001; id <= 3047; ++id) {
    if (id == 3033) continue;  // no text has this number
    const std::string text = LoadText(id);
    ASSERT_FALSE(text.empty()) << id;
    EXPECT_EQ(text.rfind("%s", 0), 0u) << id;
    EXPECT_EQ(text.back(), id == 3008 ? ' ' : '\n') << id;
  }
  EXPECT_STREQ(LoadText(3042), "%s理解不能\n");
}

TEST(StringTable, MessagesCaptionsAndFolderTitles) {
  const struct {
    int id;
    const char* text;
  } cases[] = {
      {1001, "ファイルを開けません"},
      {1004, "-> %s\nコンパイル？"},
      {1005, "デバイス問い合わせに失敗しました"},
      {1006, "デバイスを開けませんでした。\n待機状態で実行されます。"},
      {2004, "解析小節数"},
      {2005, "SMF出力"},
      {5001, "MUSﾌｫﾙﾀﾞ"},
      {5002, "EMDﾌｫﾙﾀﾞ"},
      {5003, "SMFﾌｫﾙﾀﾞ"},
  };
  for (const auto& c : cases) EXPECT_STREQ(LoadText(c.id), c.text) << c.id;
}

TEST(StringTable, UnknownNumbersGiveEmptyText) {
  EXPECT_STREQ(LoadText(3033), "");
  EXPECT_STREQ(LoadText(0), "");
  EXPECT_STREQ(LoadText(99999), "");
}

}  // namespace
}  // namespace tsy
