// The condensed text that expansions change in place: what it reads as after
// replacements anywhere, and the work a pass of expansions costs.
#include "core/compiler/condensed_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tsy {
namespace {

std::string Bytes(const CondensedText& t) { return t.Substr(0, t.size()); }

std::vector<uint32_t> Origins(const CondensedText& t) {
  std::vector<uint32_t> origins;
  for (size_t i = 0; i < t.size(); ++i) origins.push_back(t.OriginAt(i));
  return origins;
}

TEST(CondensedText, ReplacementsKeepBytesAndOriginsInStep) {
  CondensedText t("abcdef", {0, 1, 2, 3, 4, 5});
  t.Replace(1, 2, "XYZ", 9);
  EXPECT_EQ(Bytes(t), "aXYZdef");
  EXPECT_EQ(Origins(t), (std::vector<uint32_t>{0, 9, 9, 9, 3, 4, 5}));
  t.Replace(0, 1, "", 7);  // behind the last replacement, and shrinking
  t.Replace(5, 1, "gh", 8);
  EXPECT_EQ(Bytes(t), "XYZdegh");
  EXPECT_EQ(Origins(t), (std::vector<uint32_t>{9, 9, 9, 3, 4, 8, 8}));
  t.Set(3, 'D');
  // Reading across the gap, wherever it stands.
  EXPECT_EQ(t.Find('D', 0), 3u);
  EXPECT_EQ(t.Find('h', 4), 6u);
  EXPECT_EQ(t.Find('X', 1), CondensedText::npos);
  EXPECT_TRUE(t.HasAt(2, "ZDeg"));
  EXPECT_FALSE(t.HasAt(5, "ghi"));
  EXPECT_EQ(t.Substr(4, 100), "egh");
  EXPECT_EQ(t.condensedSize(), 6u);
}

TEST(CondensedText, APassOfExpansionsMovesWorkInProportionToTheText) {
  // 20,000 letters, each replaced by two bytes front to back as a pass
  // expands them, then once more from the start as the next pass does.
  // Moving the rest of the text at every replacement would move about
  // 400 million bytes.
  constexpr size_t kLetters = 20000;
  CondensedText t(std::string(kLetters, 'A'), std::vector<uint32_t>(kLetters, 0));
  for (size_t i = 0; i < 2 * kLetters; i += 2) t.Replace(i, 1, "cd", 0);
  t.Replace(0, 1, "e", 0);
  EXPECT_EQ(t.size(), 2 * kLetters);
  EXPECT_EQ(Bytes(t).substr(0, 4), "edcd");
  EXPECT_LT(t.moved(), 10 * kLetters);
}

}  // namespace
}  // namespace tsy
