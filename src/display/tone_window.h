#pragma once
// The Tone window's logic, apart from any window system: for one selected
// MIDI channel it lists the tones of that channel's tone list, shows every
// channel's program and bank, sends a listed tone to the channel, finds the
// entry of the tone a channel plays (ToneJump), mutes or solos a channel's
// tracks and plays notes from the computer keyboard. The state lives as
// long as the program, so the selection survives closing the window.

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>

#include "core/engine/engine_call.h"
#include "core/engine/engine_state.h"
#include "core/settings/tone_files.h"
#include "display/canvas.h"

namespace tsy {

// The client area: 16 channels of 24 pixels and the channel panel, 17 rows.
constexpr int kToneClientWidth = 480;
constexpr int kToneClientHeight = 204;

enum class PlayControl { kPlayFromStart, kHalt, kFadeOut, kResume };

// What the Tone window asks of the program around it.
class ToneWindowHost {
 public:
  virtual ~ToneWindowHost() = default;
  virtual void SendShort(MessageWord message) = 0;  // to the output at once
  virtual void Play(PlayControl control) = 0;
  virtual void RepaintTone() = 0;
  virtual void RepaintMain() = 0;
  virtual void Close() = 0;               // a close request, as the close box makes
  virtual void ActivateNextWindow() = 0;  // Ctrl+Tab
  virtual bool AutoJump() = 0;            // the Tone AutoJump setting
  virtual std::shared_ptr<const ToneLists> Lists() = 0;
};

class ToneWindow {
 public:
  static constexpr int kRows = 16;          // list rows
  static constexpr int kDefaultOctave = 3;  // keyboard octave of a new window

  // `engine` is the live record: read for the channels' tones, written for mutes.
  ToneWindow(ToneWindowHost& host, EngineState& engine);

  // The window was created / is being destroyed. Closing releases the notes
  // still held, so none is left sounding.
  void Opened();
  void Closing();

  // Virtual-key codes; `numericPad` tells the keypad's Enter from the main one.
  void KeyDown(int key, bool numericPad);
  void KeyUp(int key);
  // Mouse, in client coordinates; `delta` > 0 is the wheel turned up.
  void MiddleClick(int x, int y);
  void Wheel(int x, int y, int delta);

  // Popup menu choices: a channel 0..15, an entry of the selected list.
  void ChooseChannel(int channel);
  void ChooseTone(int index);
  void ToneJump();

  // Paints the client area onto `window` from the engine copy `s`; returns
  // false, drawing nothing, when another paint is running.
  bool Paint(Canvas& window, const EngineState& s);

  int channel() const { return channel_; }
  int cursorRow() const { return cursorRow_; }
  int scroll() const { return scroll_; }
  int octave() const { return octave_; }
  // The list the selected channel shows: the second for a rhythm channel.
  static bool UsesSecondList(const EngineState& s, int channel);

 private:
  static constexpr int kFirstNoteValue = 8;
  static constexpr int kLastNoteValue = 46;

  struct HeldNote {
    uint8_t octave = 0;  // 0: not held
    uint8_t channel = 0;
  };

  const ToneList& SelectedList(const ToneLists& lists) const;
  void MoveCursor(int delta);
  void MoveToEntry(int index);
  void End();
  void ApplyEntry();
  void ChangeChannel(int delta);
  void ToggleChannelMute();
  void Solo();
  void UnmuteAll();
  void NoteOn(int value);
  void NoteOff(int value);
  bool CursorKey(int key);

  void PaintChannels(Canvas& canvas, const EngineState& s) const;
  void PaintList(Canvas& canvas, const ToneList& list) const;

  ToneWindowHost& host_;
  EngineState& engine_;
  int channel_ = 0;
  int cursorRow_ = 0;
  int scroll_ = 0;
  int octave_ = kDefaultOctave;
  bool shiftDown_ = false;
  bool ctrlDown_ = false;
  std::array<HeldNote, kLastNoteValue + 1> held_{};
  std::atomic<bool> busy_{false};
  std::unique_ptr<Canvas> picture_;
  int pictureDepth_ = 0;
};

}  // namespace tsy
