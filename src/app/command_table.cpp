#include "app/command_table.h"

#include "platform/virtual_keys.h"

namespace tsy {
namespace {

struct KeyBinding {
  int key;
  Command command;
};

// Keys with legends in brackets are those of a Japanese keyboard.
// clang-format off
constexpr KeyBinding kBindings[] = {
    {vk::Digit(1), Command::kPlay},          {vk::Letter('P'), Command::kPlay},
    {vk::Numpad(1), Command::kPlay},
    {vk::Digit(2), Command::kHaltPlay},      {vk::Letter('H'), Command::kHaltPlay},
    {vk::Numpad(2), Command::kHaltPlay},
    {vk::Digit(3), Command::kFadeOut},       {vk::Letter('F'), Command::kFadeOut},
    {vk::Numpad(3), Command::kFadeOut},
    {vk::Digit(4), Command::kReplay},        {vk::Letter('R'), Command::kReplay},
    {vk::Numpad(4), Command::kReplay},
    {vk::Digit(5), Command::kDispModeDown},  {vk::Letter('T'), Command::kDispModeDown},
    {vk::Numpad(5), Command::kDispModeDown},
    {vk::Digit(6), Command::kDispModeUp},    {vk::Letter('Y'), Command::kDispModeUp},
    {vk::Numpad(6), Command::kDispModeUp},
    {vk::Digit(7), Command::kCompile},       {vk::Letter('C'), Command::kCompile},
    {vk::Numpad(7), Command::kCompile},      {vk::kF5, Command::kCompile},
    {vk::Digit(9), Command::kToneWindow},    {vk::Numpad(9), Command::kToneWindow},
    {vk::kOemAt, Command::kToneWindow},                                     // [@]
    {vk::Letter('E'), Command::kExportSmf0},
    {vk::Letter('L'), Command::kLoadMus},    {vk::kDivide, Command::kLoadMus},
    {vk::kOemSlash, Command::kLoadMus},                                     // [/]
    {vk::Letter('O'), Command::kLoadObject}, {vk::kMultiply, Command::kLoadObject},
    {vk::kOemColon, Command::kLoadObject},                                  // [:*]
    {vk::Letter('W'), Command::kWriteObject},
    {vk::kOemCaret, Command::kWriteObject},                                 // [^]
    {vk::Letter('Z'), Command::kAbout},
    {vk::kF2, Command::kOptions},
    {vk::kHome, Command::kEditor},
    {vk::kTab, Command::kTrackLevel},
    {vk::kUp, Command::kTrackUp},            {vk::kDown, Command::kTrackDown},
    {vk::kLeft, Command::kVolumeDown},       {vk::kRight, Command::kVolumeUp},
    {vk::kReturn, Command::kXorTrackMask},
    {vk::kSubtract, Command::kSolo},         {vk::kOemMinus, Command::kSolo},  // [-]
    {vk::kAdd, Command::kUnmask},            {vk::kOemSemicolon, Command::kUnmask},  // [;+]
    {vk::kPrior, Command::kTempoUp},         {vk::kNext, Command::kTempoDown},
    {vk::kSpace, Command::kDefaultTempo},
};
// clang-format on

}  // namespace

Command CommandForKey(int key) {
  for (const KeyBinding& b : kBindings)
    if (b.key == key) return b.command;
  return Command::kNone;
}

}  // namespace tsy
