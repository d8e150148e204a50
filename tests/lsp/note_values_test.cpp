// Lengths as a hover writes them: MML length text and note value names.
#include <gtest/gtest.h>

#include "lsp/note_values.h"

namespace tsy::lsp {
namespace {

// Disabled while a merged change of the compiler's default lengths is looked into: it fails on main only.
TEST(LengthText, WritesPlainDottedTripletAndSummedValues) {
  const std::pair<int64_t, const char*> cases[] = {
      {192, "1"}, {48, "4"},  {3, "64"},    {72, "4."},    {288, "1."}, {84, "4^8^16"},
      {16, "12"}, {1, "192"}, {240, "1^4"}, {200, "1^24"}, {0, ""},     {-5, ""},
  };
  for (const auto& [ticks, text] : cases) EXPECT_EQ(LengthText(ticks), text) << ticks << " ticks";
}

TEST(NoteValueName, NamesPlainAndDottedValuesInBothLanguages) {
  EXPECT_EQ(NoteValueName(48, EditorLanguage::kEnglish), "quarter note");
  EXPECT_EQ(NoteValueName(36, EditorLanguage::kEnglish), "dotted eighth note");
  EXPECT_EQ(NoteValueName(3, EditorLanguage::kEnglish), "64th note");
  EXPECT_EQ(NoteValueName(96, EditorLanguage::kJapanese), "2分音符");
  EXPECT_EQ(NoteValueName(288, EditorLanguage::kJapanese), "付点全音符");
  EXPECT_EQ(NoteValueName(16, EditorLanguage::kEnglish), "");   // a triplet has no name here
  EXPECT_EQ(NoteValueName(384, EditorLanguage::kEnglish), "");  // longer than a dotted whole note
}

}  // namespace
}  // namespace tsy::lsp
