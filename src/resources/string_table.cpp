#include "resources/string_table.h"

#include <algorithm>
#include <iterator>

namespace tsy {
namespace {

struct NumberedText {
  int id;
  const char* text;
};

// Sorted by number; LoadText searches it by halves.
constexpr NumberedText kTexts[] = {
    {1001, "ファイルを開けません"},
    {1004, "-> %s\nコンパイル？"},
    {1005, "デバイス問い合わせに失敗しました"},
    {1006, "デバイスを開けませんでした。\n待機状態で実行されます。"},
    {2004, "解析小節数"},
    {2005, "SMF出力"},
    {3001, "%s'|' が単一ブロック以外に混入！\n"},
    {3002, "%s@CFR値逸脱(%d)！\n"},
    {3003, "%s和音数超過！\n"},
    {3004, "%s@CH逸脱！\n"},
    {3005, "%sコメント文字数逸脱！\n"},
    {3006, "%s@CONT値逸脱！\n"},
    {3007, "%sデチューン(@DT @DTN @DTS)逸脱！\n"},
    {3008, "%s\nLine.%4d: "},
    {3009, "%sエクスプレッション(U)逸脱！\n"},
    {3010, "%sゲートタイム逸脱！\n"},
    {3011, "%s@H １バイト目が(null)！\n"},
    {3012, "%s@H 指定外文字(%c)！\n"},
    {3013, "%s@HOLD値逸脱(%d)！\n"},
    {3014, "%s@JUMP逸脱！\n"},
    {3015, "%s@KD逸脱！\n"},
    {3016, "%s@LABEL逸脱！\n"},
    {3017, "%s'='指定後に'^'を確認！\n"},
    {3018, "%s'='指定後に'.'を確認！\n"},
    {3019, "%sコマンドにおける音長不足！\n"},
    {3020, "%s分解能逸脱！\n"},
    {3021, "%s@LFOV値逸脱(%d)！\n"},
    {3022, "%s永久ループ！\n"},
    {3023, "%s繰り返し元が無い！\n"},
    {3024, "%s繰り返し回数逸脱！\n"},
    {3025, "%s数値外指定！\n"},
    {3026, "%sオクターブ逸脱(%d)！\n"},
    {3027, "%sオクターブ逸脱(>)！\n"},
    {3028, "%sオクターブ逸脱(<)！\n"},
    {3029, "%sコピーライト文字数逸脱！\n"},
    {3030, "%sデータオーバーフロー！\n"},
    {3031, "%s@PAN逸脱！\n"},
    {3032, "%s'{}'内に使用不可文字の混入！\n"},
    {3034, "%s@SOS値逸脱(%d)！\n"},
    {3035, "%s一文字置換文字登録文字数超過！\n"},
    {3036, "%s一文字置換文字登録対象外！\n"},
    {3037, "%s置換対象が見つからない(%c)！\n"},
    {3038, "%sテンポ逸脱！\n"},
    {3039, "%s音色逸脱！\n"},
    {3040, "%sトラック指定が異常！\n"},
    {3041, "%s移調 '_' 指定後に解析不能文字！\n"},
    {3042, "%s理解不能\n"},
    {3043, "%s'='指定の異常！\n"},
    {3044, "%s異常符号指定！\n"},
    {3045, "%s@VARC値逸脱(引数%d)！\n"},
    {3046, "%sボリューム(ベロシティー)逸脱！\n"},
    {3047, "%sトラックボリューム逸脱！\n"},
    {5001, "MUSﾌｫﾙﾀﾞ"},
    {5002, "EMDﾌｫﾙﾀﾞ"},
    {5003, "SMFﾌｫﾙﾀﾞ"},
};

constexpr bool SortedById() {
  for (std::size_t i = 1; i < std::size(kTexts); ++i)
    if (kTexts[i - 1].id >= kTexts[i].id) return false;
  return true;
}
static_assert(SortedById(), "kTexts must stay sorted by number");

}  // namespace

const char* LoadText(int id) {
  const auto* end = std::end(kTexts);
  const auto* it = std::lower_bound(std::begin(kTexts), end, id, [](const NumberedText& t, int n) { return t.id < n; });
  return (it != end && it->id == id) ? it->text : "";
}

}  // namespace tsy
