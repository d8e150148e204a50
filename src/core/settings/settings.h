#pragma once
// The settings record: the in-memory form of "tsy32.ini". It is read once
// before the main window exists, changed in memory while the program runs
// (commands, the Tone window, the Options sheet) and written once at exit.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/file_result.h"

namespace tsy {

// A window position of this value lets the system choose the position.
constexpr int32_t kPositionUnset = 2147483647;

// Field widths in bytes, terminating zero included: a text read from the file
// keeps at most width - 1 bytes.
constexpr size_t kLoadInFileBytes = 516;
constexpr size_t kMidiDeviceBytes = 32;
constexpr size_t kPortNameBytes = 256;  // a JACK port's full name is at most 256 bytes
constexpr size_t kToneFileBytes = 256;
constexpr size_t kDirectoryBytes = 260;

// The three remembered folders, indexed 0..2 so that one loop serves them all.
enum FolderIndex : int { kMusFolder = 0, kEmdFolder = 1, kSmfFolder = 2 };
constexpr int kFolderCount = 3;

// A file dialog's initial folder and whether the folder of the last chosen
// file replaces it after the command ("...LastDir").
struct FolderSetting {
  std::string directory;  // at most kDirectoryBytes - 1 bytes
  uint8_t lastDir = 0;
};

struct Settings {
  // Section "System".
  std::string loadInFile;     // the current source file
  int32_t refreshPeriod = 0;  // ms between display refreshes; the file holds DispRate
  uint8_t modeEq = 0;         // 1: the meters start as the pseudo spectrum analyser
  uint8_t autoCompile = 0;    // nonzero: LoadMus compiles the chosen file
  uint8_t exitCheck = 0;      // nonzero: ask before closing the main window
  uint8_t priority = 0;       // shown by the Options sheet only; never written
  std::string midiDevice;     // "MIDI Mapper", "Direct Music" or a port's name
  std::string midiConnect;    // the port that the port of our own connects to; empty: none
  uint8_t midiClock = 0;      // nonzero: play sends MIDI clock with the music
  uint8_t liveReload = 0;     // nonzero: a saved current source takes over from the music playing

  // Section "Tone".
  std::string tone1;          // tone definition file of the @eqn names
  std::string tone2;          // tone definition file of the @eqd names
  int32_t toneAutoJump = 0;   // the Tone window jumps to the playing tone on a channel change
  int32_t toneExitCheck = 0;  // nonzero: ask before closing the Tone window

  // Section "Window"; positions in screen pixels or kPositionUnset.
  uint8_t windowSave = 0;  // nonzero: the stored positions are used at start
  int32_t windowLeft = 0;
  int32_t windowTop = 0;
  int32_t toneWindowLeft = 0;
  int32_t toneWindowTop = 0;

  // Section "Dir": MUS, EMD, SMF.
  std::array<FolderSetting, kFolderCount> folders;
};

// Display refreshes per second (DispRate) to the refresh period in ms: rates
// below 1 count as 1, and the period is never below 1 ms.
int32_t RefreshPeriodFromRate(int32_t rate);
// The refresh period in ms back to refreshes per second, as the file holds it.
int32_t RateFromRefreshPeriod(int32_t periodMs);

// Fills `settings` from the INI file at `path`: every absent key (or a
// missing file) gives its default; the folders default to the process's
// current directory. A file that exists but is not read (unreadable, no
// plain file, larger than a few MB) gives every default too; the result
// says why, for the caller to tell the user, and WriteSettings will not
// write over it.
FileResult ReadSettings(Settings& settings, const std::string& path);

// Writes `settings` to the INI file at `path`, keeping the file's other
// sections, keys and comments. `versionText` is the program's version as the
// About box shows it ("Unknown" is written when it is empty). A failure says
// why: the file could not be read back (and so is not replaced) or could
// not be written (a read-only file is not); the old file is left as it was.
FileResult WriteSettings(const Settings& settings, const std::string& path, std::string_view versionText);

// Where the settings live: "tsy32.ini" in `exeDirectory` when that folder
// can be written, else "tsy32.ini" in $XDG_CONFIG_HOME/tessaly32 (by default
// ~/.config/tessaly32), so that an installed program keeps its settings too.
// An installed program (share/tessaly32 beside its bin folder) always uses
// the latter.
std::string SettingsFilePath(const std::string& exeDirectory);

}  // namespace tsy
