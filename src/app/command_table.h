#pragma once
// The keyboard commands of the main window and the keys that start them.
// Menu items and mouse actions post these keys, so this table is the one
// place where a key gets its meaning.

namespace tsy {

// ORDER COMMAND: the shell's dispatch table follows this order.
enum class Command {
  kNone,
  kPlay,
  kHaltPlay,
  kFadeOut,
  kReplay,
  kDispModeDown,
  kDispModeUp,
  kCompile,
  kToneWindow,
  kExportSmf0,
  kLoadMus,
  kLoadObject,
  kWriteObject,
  kAbout,
  kOptions,
  kEditor,
  kTrackLevel,
  kTrackUp,
  kTrackDown,
  kVolumeDown,
  kVolumeUp,
  kXorTrackMask,
  kSolo,
  kUnmask,
  kTempoUp,
  kTempoDown,
  kDefaultTempo,
  kCount
};

// The command of virtual-key code `key`, or Command::kNone.
Command CommandForKey(int key);

}  // namespace tsy
