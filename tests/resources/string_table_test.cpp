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

TEST(StringTable, UnknownNumbersGiveEmptyText) {
  EXPECT_STREQ(LoadText(3033), "");
  EXPECT_STREQ(LoadText(0), "");
  EXPECT_STREQ(LoadText(99999), "");
}

}  // namespace
}  // namespace tsy
