#pragma once
// The keyboard codes the windows work in: the virtual-key numbers of the
// keyboard commands (decimal, as the command tables list them). Letters and
// digits are their upper-case ASCII codes: 'A' is 65, '0' is 48.
// The punctuation keys carry the legends of a Japanese keyboard; the US
// legends of the same codes follow in the comment.

namespace tsy::vk {

constexpr int kBack = 8;
constexpr int kTab = 9;
constexpr int kReturn = 13;
constexpr int kShift = 16;
constexpr int kControl = 17;
constexpr int kMenu = 18;  // Alt
constexpr int kEscape = 27;
constexpr int kSpace = 32;
constexpr int kPrior = 33;  // Page Up
constexpr int kNext = 34;   // Page Down
constexpr int kEnd = 35;
constexpr int kHome = 36;
constexpr int kLeft = 37;
constexpr int kUp = 38;
constexpr int kRight = 39;
constexpr int kDown = 40;
constexpr int kInsert = 45;
constexpr int kDelete = 46;

constexpr int k0 = 48;  // '0'..'9' are 48..57
constexpr int kA = 65;  // 'A'..'Z' are 65..90

constexpr int kNumpad0 = 96;  // numeric pad 0..9 are 96..105
constexpr int kMultiply = 106;
constexpr int kAdd = 107;
constexpr int kSubtract = 109;
constexpr int kDecimal = 110;
constexpr int kDivide = 111;
constexpr int kF1 = 112;  // F1..F24 are 112..135
constexpr int kF2 = 113;
constexpr int kF5 = 116;

constexpr int kOemColon = 186;         // [:*]   US [;:]
constexpr int kOemSemicolon = 187;     // [;+]   US [=+]
constexpr int kOemComma = 188;         // [,<]
constexpr int kOemMinus = 189;         // [-=]   US [-_]
constexpr int kOemPeriod = 190;        // [.>]
constexpr int kOemSlash = 191;         // [/?]
constexpr int kOemAt = 192;            // [@`]   US [`~]
constexpr int kOemOpenBracket = 219;   // [[{]
constexpr int kOemYen = 220;           // [¥|]   US [\|]
constexpr int kOemCloseBracket = 221;  // []}]
constexpr int kOemCaret = 222;         // [^~]   US ['"]
constexpr int kOemBackslash = 226;     // [\_]   (no US key)

// The digit and letter codes by character.
constexpr int Digit(int d) { return k0 + d; }
constexpr int Letter(char upper) { return upper; }
constexpr int Numpad(int d) { return kNumpad0 + d; }

}  // namespace tsy::vk
