#pragma once
// The main window's logic, apart from any window system: the shell state,
// the start-up chain, and the keyboard commands that every key, menu item and
// mouse action ends in. The window feeds it events; it answers through its
// host (shell_host.h) and the core calls (core_calls.h).

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "app/core_calls.h"
#include "app/menu_model.h"
#include "core/engine/relaxed.h"

namespace tsy {

class ShellHost;
struct Settings;

constexpr int kTrackRows = 16;       // rows of the track list
constexpr int kMaxTrackScroll = 32;  // the last 16 rows show tracks 33..48

// The fields the track display reads from its refresh thread are Relaxed:
// only the window's thread writes them, and a paint may see one value older
// than another.
struct ShellState {
  std::string currentFile;            // the source that Compile and Editor act on
  std::string lastCompiledFile;       // currentFile at the last compile that produced an image
  std::vector<uint8_t> objectBuffer;  // the object image, kObjectBufferSize, zero-filled
  uint32_t compiledSize = 0;          // image length of the last compile; 0 after an .emd load
  Relaxed<int> trackScroll = 0;       // first track shown, 0..32
  Relaxed<int> cursorRow = 0;         // highlighted row, 0..15
  Relaxed<uint8_t> dispMode = 0;      // detail mode of the track list, 0..3
  Relaxed<uint8_t> modeEq = 0;        // 1: the meters show the pseudo spectrum analyser
  bool shiftDown = false;
  bool ctrlDown = false;
  int windowLeft = 0;  // last normal window position, for the settings
  int windowTop = 0;
  std::string versionText;  // shown by the About box and the display
  std::string legalText;

  int selectedTrack() const { return trackScroll + cursorRow; }
};

class Shell {
 public:
  // `settings` is the program's settings record, read before the window
  // exists; the shell changes it in memory as the commands require.
  Shell(ShellHost& host, CoreCalls core, Settings& settings);

  const ShellState& state() const { return state_; }
  Settings& settings() { return settings_; }

  // The current source was saved (its file changed on disk): with
  // LiveReload on, it takes over from the music playing at the next bar.
  void SourceSaved();

  // Window creation: the initial view and the start-up chain (version texts,
  // output, display refresh, "init.emd", caption), each step posted.
  void Start();
  // The file given to the program: once the start-up chain has run, it is
  // opened as LoadMus or LoadObject opens the file chosen in its dialog (an
  // .emd is loaded and played, any other file becomes the current source).
  // Called before the chain runs, with the window's creation.
  void OpenAtStart(std::string path) { fileAtStart_ = std::move(path); }

  void KeyDown(int key);
  void KeyUp(int key);
  // The window became active: the modifier keys as they are now.
  void Activated(bool shiftPressed, bool ctrlPressed);

  // The main pop-up as it must show now.
  std::vector<MenuItem> MenuToOpen() const { return WithPlayFromBar(MainMenu(state_.modeEq, state_.selectedTrack())); }
  void MenuChosen(int id);

  void MiddleButtonDown();
  void LeftDoubleClick();
  // A wheel turn over the main window; `delta` in 1/120 notches.
  void Wheel(int delta);

  // The close box or Alt+F4: true when the window may close.
  bool CloseRequested();
  // The window is about to be minimised, or moved while normal.
  void KeepWindowPosition(int left, int top);
  // The window is destroyed: the output is closed, the state goes back to the settings.
  void Destroyed();

 private:
  using CommandFunction = void (Shell::*)();

  void RunCommand(int key);
  void PostKey(int key);
  void UpdateCaption();
  void ReadVersionTexts();
  void LoadInitObject();
  void OpenFileAtStart();

  void Play();
  void HaltPlay();
  void FadeOut();
  void Replay();
  void DispModeDown();
  void DispModeUp();
  void Compile();
  void ToneWindow();
  void ExportSmf0();
  void LoadMus();
  void LoadObject();
  void WriteObject();
  void About();
  void Options();
  void Editor();
  void TrackLevel();
  void TrackUp();
  void TrackDown();
  void VolumeDown();
  void VolumeUp();
  void XorTrackMask();
  void Solo();
  void Unmask();
  void TempoUp();
  void TempoDown();
  void DefaultTempo();
  void PlayFromBar();

  void MoveCursor(int rows);
  void ChangeVelocity(int step);
  void ChangeTempo(int step, int limit);
  int ModifierStep(int plain, int withShift, int withCtrl) const;
  void RememberFolder(int folder, const std::string& chosen);
  void UseSource(const std::string& path);
  void PlayObjectFile(const std::string& path);

  ShellHost& host_;
  CoreCalls core_;
  Settings& settings_;
  ShellState state_;
  std::string fileAtStart_;  // opened after the start-up chain; "" for none
  int lastStartBar_ = 0;     // the bar PlayFromBar asked for last
};

}  // namespace tsy
