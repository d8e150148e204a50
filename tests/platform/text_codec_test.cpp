#include "platform/text_codec.h"

#include <gtest/gtest.h>

namespace tsy {
namespace {

TEST(TextCodec, KanaRoundTripsThroughCp932) {
  const std::string utf8 = "アイ ﾌｫﾙﾀﾞ 解析小節数";
  const std::string cp932 = Utf8ToCp932(utf8);
  EXPECT_EQ(cp932.substr(0, 4), "\x83\x41\x83\x43");  // ア イ
  EXPECT_EQ(Cp932ToUtf8(cp932), utf8);
}

TEST(TextCodec, BadBytesAreReplacedAndTheRestConverts) {
  EXPECT_EQ(Cp932ToUtf8("a\x81 b"), "a\xEF\xBF\xBD b");  // lead byte with an invalid trail
  EXPECT_EQ(Utf8ToCp932("x\xE2\x82\xACy"), "x?y");       // the euro sign has no CP932 form
}

TEST(TextCodec, Utf8IsRecognisedOnlyWithMultiByteCharacters) {
  EXPECT_TRUE(LooksLikeUtf8("t120 \xE3\x82\xA2"));
  EXPECT_FALSE(LooksLikeUtf8("plain ascii"));
  EXPECT_FALSE(LooksLikeUtf8("\x83\x41\x83\x43"));  // CP932 kana
  EXPECT_FALSE(LooksLikeUtf8("cut \xE3\x82"));      // a character cut off at the end
}

}  // namespace
}  // namespace tsy
