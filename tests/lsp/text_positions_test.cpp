// Between the editor's positions (line from 0, code units) and the
// compiler's (line and column from 1, characters).
#include <gtest/gtest.h>

#include "lsp/text_positions.h"

namespace tsy::lsp {
namespace {

// Line 2 holds "a", a kanji (3 UTF-8 bytes, 1 UTF-16 unit), a character beyond
// the basic plane (4 bytes, 2 units), then "b".
const DocumentLines kLines("first\na日😀b\r\n");

TEST(DocumentLines, ToEditorCountsTheCodeUnitsBeforeTheCharacter) {
  const std::pair<uint32_t, EditorPosition> utf16[] = {{1, {1, 0}}, {2, {1, 1}}, {3, {1, 2}}, {4, {1, 4}}, {6, {1, 6}}};
  for (const auto& [column, position] : utf16)
    EXPECT_EQ(kLines.ToEditor({2, column}, PositionEncoding::kUtf16), position);
  EXPECT_EQ(kLines.ToEditor({2, 4}, PositionEncoding::kUtf8), (EditorPosition{1, 8}));
  EXPECT_EQ(kLines.ToEditor({9, 1}, PositionEncoding::kUtf16), (EditorPosition{8, 0}));  // past the text
}

TEST(DocumentLines, CharacterRangeCoversOneCharacterOrNothingPastTheLine) {
  EditorRange wide = kLines.CharacterRange({2, 3}, PositionEncoding::kUtf16);
  EXPECT_EQ(wide.start, (EditorPosition{1, 2}));
  EXPECT_EQ(wide.end, (EditorPosition{1, 4}));
  wide = kLines.CharacterRange({2, 3}, PositionEncoding::kUtf8);
  EXPECT_EQ(wide.end.character - wide.start.character, 4u);
  const EditorRange past = kLines.CharacterRange({1, 9}, PositionEncoding::kUtf16);
  EXPECT_EQ(past.start, past.end);
  EXPECT_EQ(past.start, (EditorPosition{0, 5}));
}

TEST(DocumentLines, ToSourceFindsTheCharacterEvenInsideItsCodeUnits) {
  EXPECT_EQ(kLines.ToSource({1, 3}, PositionEncoding::kUtf16), (SourcePosition{2, 3}));  // second unit of 😀
  EXPECT_EQ(kLines.ToSource({1, 4}, PositionEncoding::kUtf16), (SourcePosition{2, 4}));
  EXPECT_EQ(kLines.ToSource({1, 2}, PositionEncoding::kUtf8), (SourcePosition{2, 2}));  // inside 日
  EXPECT_EQ(kLines.ToSource({1, 8}, PositionEncoding::kUtf8), (SourcePosition{2, 4}));
  EXPECT_EQ(kLines.ToSource({0, 99}, PositionEncoding::kUtf16), (SourcePosition{1, 6}));  // after the line
  EXPECT_EQ(kLines.ByteInLine({2, 4}), 8u);
}

}  // namespace
}  // namespace tsy::lsp
