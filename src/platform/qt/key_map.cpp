#include "platform/qt/key_map.h"

#include <QGuiApplication>
#include <QInputMethod>
#include <QKeyEvent>
#include <QLocale>

#include "platform/virtual_keys.h"

namespace tsy {
namespace {

struct KeyCode {
  int qtKey;
  int code;
};

// Keys that are the same on every layout.
// clang-format off
constexpr KeyCode kFixedKeys[] = {
    {Qt::Key_Backspace, vk::kBack},     {Qt::Key_Tab, vk::kTab},
    {Qt::Key_Backtab, vk::kTab},        {Qt::Key_Return, vk::kReturn},
    {Qt::Key_Enter, vk::kReturn},       {Qt::Key_Shift, vk::kShift},
    {Qt::Key_Control, vk::kControl},    {Qt::Key_Alt, vk::kMenu},
    {Qt::Key_Escape, vk::kEscape},      {Qt::Key_Space, vk::kSpace},
    {Qt::Key_PageUp, vk::kPrior},       {Qt::Key_PageDown, vk::kNext},
    {Qt::Key_End, vk::kEnd},            {Qt::Key_Home, vk::kHome},
    {Qt::Key_Left, vk::kLeft},          {Qt::Key_Up, vk::kUp},
    {Qt::Key_Right, vk::kRight},        {Qt::Key_Down, vk::kDown},
    {Qt::Key_Insert, vk::kInsert},      {Qt::Key_Delete, vk::kDelete},
    {Qt::Key_Comma, vk::kOemComma},     {Qt::Key_Less, vk::kOemComma},
    {Qt::Key_Period, vk::kOemPeriod},   {Qt::Key_Greater, vk::kOemPeriod},
    {Qt::Key_Slash, vk::kOemSlash},     {Qt::Key_Question, vk::kOemSlash},
    {Qt::Key_BracketLeft, vk::kOemOpenBracket},   {Qt::Key_BraceLeft, vk::kOemOpenBracket},
    {Qt::Key_BracketRight, vk::kOemCloseBracket}, {Qt::Key_BraceRight, vk::kOemCloseBracket},
    {Qt::Key_Bar, vk::kOemYen},         {Qt::Key_Minus, vk::kOemMinus},
    {Qt::Key_Colon, vk::kOemColon},     {Qt::Key_Plus, vk::kOemSemicolon},
    {Qt::Key_QuoteLeft, vk::kOemAt},    {Qt::Key_Exclam, vk::Digit(1)},
    {Qt::Key_NumberSign, vk::Digit(3)}, {Qt::Key_Dollar, vk::Digit(4)},
    {Qt::Key_Percent, vk::Digit(5)},
};
// clang-format on

// Characters whose key depends on the layout. A shifted digit is the digit's code.
// clang-format off
constexpr KeyCode kJapaneseKeys[] = {
    {Qt::Key_Asterisk, vk::kOemColon},    {Qt::Key_Semicolon, vk::kOemSemicolon},
    {Qt::Key_Equal, vk::kOemMinus},       {Qt::Key_At, vk::kOemAt},
    {Qt::Key_AsciiCircum, vk::kOemCaret}, {Qt::Key_AsciiTilde, vk::kOemCaret},
    {Qt::Key_Underscore, vk::kOemBackslash}, {Qt::Key_Backslash, vk::kOemBackslash},
    {Qt::Key_yen, vk::kOemYen},           {Qt::Key_QuoteDbl, vk::Digit(2)},
    {Qt::Key_Ampersand, vk::Digit(6)},    {Qt::Key_Apostrophe, vk::Digit(7)},
    {Qt::Key_ParenLeft, vk::Digit(8)},    {Qt::Key_ParenRight, vk::Digit(9)},
};
// clang-format on

// clang-format off
constexpr KeyCode kUsKeys[] = {
    {Qt::Key_Semicolon, vk::kOemColon},   {Qt::Key_Equal, vk::kOemSemicolon},
    {Qt::Key_Underscore, vk::kOemMinus},  {Qt::Key_AsciiTilde, vk::kOemAt},
    {Qt::Key_Apostrophe, vk::kOemCaret},  {Qt::Key_QuoteDbl, vk::kOemCaret},
    {Qt::Key_Backslash, vk::kOemYen},     {Qt::Key_At, vk::Digit(2)},
    {Qt::Key_AsciiCircum, vk::Digit(6)},  {Qt::Key_Ampersand, vk::Digit(7)},
    {Qt::Key_Asterisk, vk::Digit(8)},     {Qt::Key_ParenLeft, vk::Digit(9)},
    {Qt::Key_ParenRight, vk::Digit(0)},
};
// clang-format on

// The numeric pad's own codes; its other keys (Home, arrows... with Num Lock
// off, Enter) have the codes of the main keys.
// clang-format off
constexpr KeyCode kKeypadKeys[] = {
    {Qt::Key_Asterisk, vk::kMultiply}, {Qt::Key_Plus, vk::kAdd},
    {Qt::Key_Minus, vk::kSubtract},    {Qt::Key_Period, vk::kDecimal},
    {Qt::Key_Comma, vk::kDecimal},     {Qt::Key_Slash, vk::kDivide},
};
// clang-format on

template <size_t N>
int Find(const KeyCode (&table)[N], int qtKey) {
  for (const KeyCode& k : table)
    if (k.qtKey == qtKey) return k.code;
  return 0;
}

}  // namespace

KeyboardLayout CurrentKeyboardLayout() {
  QLocale locale = QGuiApplication::inputMethod() ? QGuiApplication::inputMethod()->locale() : QLocale::system();
  return locale.language() == QLocale::Japanese ? KeyboardLayout::Japanese : KeyboardLayout::Us;
}

int VirtualKeyFor(int qtKey, Qt::KeyboardModifiers modifiers, KeyboardLayout layout) {
  if (modifiers & Qt::KeypadModifier) {
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) return vk::Numpad(qtKey - Qt::Key_0);
    if (int code = Find(kKeypadKeys, qtKey)) return code;
  }
  if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) return vk::Digit(qtKey - Qt::Key_0);
  if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) return vk::Letter(char('A' + qtKey - Qt::Key_A));
  if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24) return vk::kF1 + (qtKey - Qt::Key_F1);
  if (int code = Find(kFixedKeys, qtKey)) return code;
  return layout == KeyboardLayout::Japanese ? Find(kJapaneseKeys, qtKey) : Find(kUsKeys, qtKey);
}

int VirtualKeyFor(const QKeyEvent& event, KeyboardLayout layout) {
#ifdef Q_OS_WIN
  if (event.nativeVirtualKey() != 0) return int(event.nativeVirtualKey());
#endif
  return VirtualKeyFor(event.key(), event.modifiers(), layout);
}

}  // namespace tsy
