// Length expressions and the default length, read through the length bytes
// of the note they give and the track's tick total.
#include <gtest/gtest.h>

#include "track_compile.h"

namespace tsy::test {
namespace {

TEST(Lengths, DenominatorsDotsTiesAndSubtraction) {
  const Golden cases[] = {
      {"c2", "30 03 07 00 60", 96},
      {"c5", "30 03 07 00 26", 38},  // 192 / 5, truncated
      {"c1", "30 03 07 00 C0", 192},
      {"c4.", "30 03 07 00 48", 72},
      {"c4..", "30 03 07 00 54", 84},
      {"c4^8", "30 03 07 00 48", 72},
      {"c2_8", "30 03 07 00 48", 72},
      {"c8^16.", "30 03 07 00 2A", 42},
      {"c2_8_16", "30 03 07 00 3C", 60},
      {"c2_8.", "30 03 07 00 3C", 60},  // a dot subtracts too once subtracting
      {"c3^3^3", "30 03 07 00 C0", 192},
      // Beyond a whole note: bytes of 192 and the remainder.
      {"c4^4^4^4^4", "30 03 07 01 C0 30", 240},
      {"c1^1", "30 03 07 01 C0 C0", 384},
      {"c=193", "30 03 07 01 C0 01", 193},
      {"c=192", "30 03 07 00 C0", 192},
      {"c=1", "30 03 07 00 01", 1},
  };
  ExpectGolden(cases);
}

TEST(Lengths, EmptyTermsTakeTheDefaultLength) {
  const Golden cases[] = {
      {"l8c", "30 03 07 00 18", 24},     {"l8c.", "30 03 07 00 24", 36},   // the dotted default
      {"l8c^4", "30 03 07 00 48", 72},   {"l8c4^", "30 03 07 00 18", 24},  // a trailing '^' leaves just the default
      {"l8c_16", "30 03 07 00 0C", 12},  {"l4^16c", "30 03 07 00 3C", 60},
      {"l4^16c.", "30 03 07 00 42", 66},  // the dot doubles the list's last term
      {"l4.c", "30 03 07 00 48", 72},
  };
  ExpectGolden(cases);
}

TEST(Lengths, DefaultLengthList) {
  const Golden cases[] = {
      {"lc", "30 03 07 00 30", 48},   // 'l' alone is a quarter
      {"l.c", "30 03 07 00 48", 72},  // an empty term before '.' is a quarter
      {"l^8c", "30 03 07 00 48", 72},
      {"l8^c", "30 03 07 00 48", 72},    // so is an empty last term
      {"l4_16c", "30 03 07 00 24", 36},  // subtracted terms shorten the default
      {"l2c l4c", "30 03 07 00 60 30 03 07 00 30", 144},
  };
  ExpectGolden(cases);
}

TEST(Lengths, FaultsOfLengthExpressions) {
  const FaultCase cases[] = {
      {"c384", TextId::kResolutionOutOfRange, "分解能逸脱！"},  // a denominator that yields no tick
      {"c0", TextId::kResolutionOutOfRange},
      {"c=0", TextId::kResolutionOutOfRange},
      {"c8_4", TextId::kResolutionOutOfRange},  // less than nothing
      {"c1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1"
       "^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1"
       "^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1"
       "^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1"
       "^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1"
       "^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1^1",
       TextId::kResolutionOutOfRange},  // more than one note event can hold
      {"c=", TextId::kBadExactLength, "'='指定の異常！"},
      {"c=96^8", TextId::kTieAfterExactLength, "'='指定後に'^'を確認！"},
      {"c=96.", TextId::kDotAfterExactLength, "'='指定後に'.'を確認！"},
      {"c=96=8", TextId::kBadExactLength},
      {"c4=8", TextId::kBadExactLength},
      {"l0", TextId::kResolutionOutOfRange},
      {"l4_2", TextId::kResolutionOutOfRange},  // a default that comes to no time
      {"l=8", TextId::kBadExactLength},
  };
  ExpectFaults(cases);
}

TEST(Lengths, FaultyExpressionAlsoLeavesTheNoteWithoutLength) {
  CompileResult r = CompileSource("1[c=96^8]");
  ASSERT_EQ(r.diagnostics.size(), 2u);
  EXPECT_EQ(r.diagnostics[0].id, TextId::kTieAfterExactLength);
  EXPECT_EQ(r.diagnostics[1].id, TextId::kResolutionOutOfRange);
}

TEST(Lengths, UnderscoreWithoutDigitsIsTheNextCommand) {
  // "c_d" is c of the default length, then a transposition to d.
  ExpectGolden({{"c_dc", "30 03 07 00 30 32 03 07 00 30", 96}});
}

}  // namespace
}  // namespace tsy::test
