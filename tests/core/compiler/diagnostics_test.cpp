#include "core/compiler/diagnostics.h"

#include <gtest/gtest.h>

#include "platform/text_codec.h"
#include "source_position_printer.h"
#include "text_id_printer.h"

namespace tsy {
namespace {

TEST(Diagnostics, LinePrefixThenCatalogueText) {
  Diagnostics d;
  d.Clear();
  d.Append("01:");
  d.BeginTrack(3);
  d.RaiseValue(TextId::kOctaveOutOfRange, {1, 5}, 9);
  d.Raise(TextId::kNotUnderstood, {1234, 1});
  d.RaiseChar(TextId::kSubstitutionNotFound, {12345, 80}, 'B');
  EXPECT_EQ(Cp932ToUtf8(d.text()),
            "01:\nLine.   1: オクターブ逸脱(9)！\n"
            "\nLine.1234: 理解不能\n"
            "\nLine.12345: 置換対象が見つからない(B)！\n");
  EXPECT_FALSE(d.errorFree());
  ASSERT_EQ(d.records().size(), 3u);
  EXPECT_EQ(d.records()[2].id, TextId::kSubstitutionNotFound);
  EXPECT_EQ(d.records()[2].at, (SourcePosition{12345, 80}));
  EXPECT_EQ(d.records()[2].track, 3);
  EXPECT_EQ(Cp932ToUtf8(d.records()[2].text), "置換対象が見つからない(B)！");
}

TEST(Diagnostics, OverflowHasNoLinePrefix) {
  Diagnostics d;
  d.Append("04:");
  d.RaiseOverflow({7, 2});
  EXPECT_EQ(Cp932ToUtf8(d.text()), "04:データオーバーフロー！\n");
  EXPECT_EQ(d.records().at(0).at, (SourcePosition{7, 2}));
}

TEST(Diagnostics, TextStopsAt1023BytesButTheListKeepsEverything) {
  Diagnostics d;
  for (int i = 0; i < 100; ++i) d.Raise(TextId::kTempoOutOfRange, {static_cast<uint32_t>(i + 1), 1});
  EXPECT_EQ(d.text().size(), 1023u);
  EXPECT_EQ(d.records().size(), 100u);
  d.Clear();
  EXPECT_TRUE(d.errorFree());
  EXPECT_TRUE(d.text().empty());
  EXPECT_TRUE(d.records().empty());
}

}  // namespace
}  // namespace tsy
