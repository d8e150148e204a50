#pragma once
// Qt key events to the virtual-key codes that the shell and the Tone window
// work in (platform/virtual_keys.h).

#include <Qt>

class QKeyEvent;

namespace tsy {

// The layout whose legends decide the punctuation keys. A character that sits on
// different keys in the two layouts (";" is [;+] on a Japanese keyboard but
// [;:] on a US one) is mapped to the key that types it on the user's layout.
enum class KeyboardLayout { Japanese, Us };

// The layout of the keyboard in use, judged from the input locale: Japanese
// when it says Japanese, else US.
KeyboardLayout CurrentKeyboardLayout();

// The virtual-key code of `qtKey` with `modifiers` (the keypad flag tells the
// numeric pad apart), or 0 when the key has no code.
int VirtualKeyFor(int qtKey, Qt::KeyboardModifiers modifiers, KeyboardLayout layout);

// The same for a key event. On Windows the event carries the code itself.
int VirtualKeyFor(const QKeyEvent& event, KeyboardLayout layout);

}  // namespace tsy
