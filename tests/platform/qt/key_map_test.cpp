// Qt keys to the shell's virtual-key codes, on Japanese and US keyboards.
#include "platform/qt/key_map.h"

#include <gtest/gtest.h>

#include "platform/virtual_keys.h"

namespace tsy {
namespace {

constexpr auto kJp = KeyboardLayout::Japanese;
constexpr auto kUs = KeyboardLayout::Us;

TEST(KeyMapTest, KeysThatAreTheSameEverywhere) {
  // clang-format off
  struct Case {
    int qtKey;
    Qt::KeyboardModifiers modifiers;
    int code;
  } cases[] = {
      {Qt::Key_A, {}, 65},           {Qt::Key_Z, Qt::ShiftModifier, 90},
      {Qt::Key_0, {}, 48},           {Qt::Key_9, {}, 57},
      {Qt::Key_F2, {}, 113},         {Qt::Key_F5, {}, 116},
      {Qt::Key_Tab, {}, 9},          {Qt::Key_Backtab, Qt::ShiftModifier, 9},
      {Qt::Key_Return, {}, 13},      {Qt::Key_Enter, Qt::KeypadModifier, 13},
      {Qt::Key_Space, {}, 32},       {Qt::Key_PageUp, {}, 33},
      {Qt::Key_PageDown, {}, 34},    {Qt::Key_Home, {}, 36},
      {Qt::Key_Left, {}, 37},        {Qt::Key_Up, {}, 38},
      {Qt::Key_Right, {}, 39},       {Qt::Key_Down, {}, 40},
      {Qt::Key_Shift, {}, 16},       {Qt::Key_Control, {}, 17},
      {Qt::Key_Slash, {}, 191},      {Qt::Key_Question, Qt::ShiftModifier, 191},
      {Qt::Key_Minus, {}, 189},      {Qt::Key_Plus, Qt::ShiftModifier, 187},
      {Qt::Key_Colon, {}, 186},      {Qt::Key_QuoteLeft, {}, 192},
      {Qt::Key_Comma, {}, 188},      {Qt::Key_Period, {}, 190},
      {Qt::Key_BracketLeft, {}, 219}, {Qt::Key_BracketRight, {}, 221},
      {Qt::Key_Exclam, Qt::ShiftModifier, 49},
      // The numeric pad: digits and operators have codes of their own; its
      // other keys are the main keys.
      {Qt::Key_1, Qt::KeypadModifier, 97},  {Qt::Key_9, Qt::KeypadModifier, 105},
      {Qt::Key_0, Qt::KeypadModifier, 96},  {Qt::Key_Asterisk, Qt::KeypadModifier, 106},
      {Qt::Key_Plus, Qt::KeypadModifier, 107}, {Qt::Key_Minus, Qt::KeypadModifier, 109},
      {Qt::Key_Slash, Qt::KeypadModifier, 111}, {Qt::Key_Period, Qt::KeypadModifier, 110},
      {Qt::Key_Home, Qt::KeypadModifier, 36},
      {Qt::Key_Escape, {}, 27},      {Qt::Key_unknown, {}, 0},
  };
  // clang-format on
  for (const Case& c : cases)
    for (KeyboardLayout layout : {kJp, kUs})
      EXPECT_EQ(VirtualKeyFor(c.qtKey, c.modifiers, layout), c.code)
          << std::hex << c.qtKey << (layout == kJp ? " jp" : " us");
}

// The characters the commands' legends name, and those whose key differs
// between the two layouts.
TEST(KeyMapTest, PunctuationFollowsTheLayout) {
  // clang-format off
  struct Case {
    int qtKey;
    int japanese, us;
  } cases[] = {
      {Qt::Key_At, vk::kOemAt, vk::Digit(2)},               // [@] ToneWindow
      {Qt::Key_AsciiCircum, vk::kOemCaret, vk::Digit(6)},   // [^] WriteObject
      {Qt::Key_Asterisk, vk::kOemColon, vk::Digit(8)},      // [:*] LoadObject
      {Qt::Key_Semicolon, vk::kOemSemicolon, vk::kOemColon},
      {Qt::Key_Equal, vk::kOemMinus, vk::kOemSemicolon},
      {Qt::Key_Underscore, vk::kOemBackslash, vk::kOemMinus},
      {Qt::Key_AsciiTilde, vk::kOemCaret, vk::kOemAt},
      {Qt::Key_Apostrophe, vk::Digit(7), vk::kOemCaret},
      {Qt::Key_QuoteDbl, vk::Digit(2), vk::kOemCaret},
      {Qt::Key_Backslash, vk::kOemBackslash, vk::kOemYen},
      {Qt::Key_yen, vk::kOemYen, 0},
      {Qt::Key_ParenRight, vk::Digit(9), vk::Digit(0)},
  };
  // clang-format on
  for (const Case& c : cases) {
    EXPECT_EQ(VirtualKeyFor(c.qtKey, {}, kJp), c.japanese) << std::hex << c.qtKey;
    EXPECT_EQ(VirtualKeyFor(c.qtKey, {}, kUs), c.us) << std::hex << c.qtKey;
  }
}

}  // namespace
}  // namespace tsy
