#include "resources/string_table.h"

#include <algorithm>
#include <iterator>

namespace tsy {
namespace {

struct NumberedText {
  TextId id;
  const char* text;
};

// Sorted by number; LoadText searches it by halves.
constexpr NumberedText kTexts[] = {
    {TextId::kCannotOpen, "ファイルを開けません"},
    {TextId::kCompileQuestion, "-> %s\nコンパイル？"},
    {TextId::kDeviceQueryFailed, "デバイス問い合わせに失敗しました"},
    {TextId::kDeviceStandby, "デバイスを開けませんでした。\n待機状態で実行されます。"},
    {TextId::kCompileResultCaption, "解析小節数"},
    {TextId::kSmfResultCaption, "SMF出力"},
    {TextId::kBarOutsideSingleBlock, "%s'|' が単一ブロック以外に混入！\n"},
    {TextId::kCfrValueOutOfRange, "%s@CFR値逸脱(%d)！\n"},
    {TextId::kTooManyChordNotes, "%s和音数超過！\n"},
    {TextId::kChannelOutOfRange, "%s@CH逸脱！\n"},
    {TextId::kCommentTooLong, "%sコメント文字数逸脱！\n"},
    {TextId::kContValueOutOfRange, "%s@CONT値逸脱！\n"},
    {TextId::kDetuneOutOfRange, "%sデチューン(@DT @DTN @DTS)逸脱！\n"},
    {TextId::kLinePrefix, "%s\nLine.%4d: "},
    {TextId::kExpressionOutOfRange, "%sエクスプレッション(U)逸脱！\n"},
    {TextId::kGateTimeOutOfRange, "%sゲートタイム逸脱！\n"},
    {TextId::kSysExFirstByteNull, "%s@H １バイト目が(null)！\n"},
    {TextId::kSysExBadCharacter, "%s@H 指定外文字(%c)！\n"},
    {TextId::kHoldValueOutOfRange, "%s@HOLD値逸脱(%d)！\n"},
    {TextId::kJumpOutOfRange, "%s@JUMP逸脱！\n"},
    {TextId::kTrackTagOutOfRange, "%s@KD逸脱！\n"},
    {TextId::kLabelOutOfRange, "%s@LABEL逸脱！\n"},
    {TextId::kTieAfterExactLength, "%s'='指定後に'^'を確認！\n"},
    {TextId::kDotAfterExactLength, "%s'='指定後に'.'を確認！\n"},
    {TextId::kOrnamentLeavesNoLength, "%sコマンドにおける音長不足！\n"},
    {TextId::kResolutionOutOfRange, "%s分解能逸脱！\n"},
    {TextId::kLfovValueOutOfRange, "%s@LFOV値逸脱(%d)！\n"},
    {TextId::kEndlessLoop, "%s永久ループ！\n"},
    {TextId::kRepeatWithoutStart, "%s繰り返し元が無い！\n"},
    {TextId::kRepeatCountOutOfRange, "%s繰り返し回数逸脱！\n"},
    {TextId::kNotANumber, "%s数値外指定！\n"},
    {TextId::kOctaveOutOfRange, "%sオクターブ逸脱(%d)！\n"},
    {TextId::kOctaveUpOutOfRange, "%sオクターブ逸脱(>)！\n"},
    {TextId::kOctaveDownOutOfRange, "%sオクターブ逸脱(<)！\n"},
    {TextId::kCopyrightTooLong, "%sコピーライト文字数逸脱！\n"},
    {TextId::kDataOverflow, "%sデータオーバーフロー！\n"},
    {TextId::kPanOutOfRange, "%s@PAN逸脱！\n"},
    {TextId::kBadCharacterInGroup, "%s'{}'内に使用不可文字の混入！\n"},
    {TextId::kSosValueOutOfRange, "%s@SOS値逸脱(%d)！\n"},
    {TextId::kSubstitutionTooLong, "%s一文字置換文字登録文字数超過！\n"},
    {TextId::kSubstitutionNotRegistrable, "%s一文字置換文字登録対象外！\n"},
    {TextId::kSubstitutionNotFound, "%s置換対象が見つからない(%c)！\n"},
    {TextId::kTempoOutOfRange, "%sテンポ逸脱！\n"},
    {TextId::kToneOutOfRange, "%s音色逸脱！\n"},
    {TextId::kBadTrackSelection, "%sトラック指定が異常！\n"},
    {TextId::kBadTransposition, "%s移調 '_' 指定後に解析不能文字！\n"},
    {TextId::kNotUnderstood, "%s理解不能\n"},
    {TextId::kBadExactLength, "%s'='指定の異常！\n"},
    {TextId::kBadSign, "%s異常符号指定！\n"},
    {TextId::kVarcValueOutOfRange, "%s@VARC値逸脱(引数%d)！\n"},
    {TextId::kVelocityOutOfRange, "%sボリューム(ベロシティー)逸脱！\n"},
    {TextId::kTrackVolumeOutOfRange, "%sトラックボリューム逸脱！\n"},
    {TextId::kMusFolderTitle, "MUSﾌｫﾙﾀﾞ"},
    {TextId::kEmdFolderTitle, "EMDﾌｫﾙﾀﾞ"},
    {TextId::kSmfFolderTitle, "SMFﾌｫﾙﾀﾞ"},
};

constexpr bool SortedById() {
  for (std::size_t i = 1; i < std::size(kTexts); ++i)
    if (kTexts[i - 1].id >= kTexts[i].id) return false;
  return true;
}
static_assert(SortedById(), "kTexts must stay sorted by number");

}  // namespace

const char* LoadText(TextId id) {
  const auto* end = std::end(kTexts);
  const auto* it =
      std::lower_bound(std::begin(kTexts), end, id, [](const NumberedText& t, TextId n) { return t.id < n; });
  return (it != end && it->id == id) ? it->text : "";
}

}  // namespace tsy
