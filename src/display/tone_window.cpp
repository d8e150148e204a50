#include "display/tone_window.h"

#include <algorithm>
#include <string>

#include "core/engine/track_mutes.h"
#include "core/midi/midi_bytes.h"
#include "display/palette.h"
#include "platform/text_codec.h"
#include "platform/text_format.h"
#include "platform/virtual_keys.h"

namespace tsy {
namespace {

struct NoteKey {
  int key;    // virtual-key code
  int value;  // the note sent is value + 12 x keyboard octave
};

// Two rows of a piano on the computer keyboard: the lower from A/Z, the
// upper from 1/Q, both running on into the punctuation keys.
// clang-format off
constexpr NoteKey kNoteKeys[] = {
    {'A', 8},  {'Z', 9},  {'S', 10}, {'X', 11}, {'C', 12}, {'F', 13}, {'V', 14},
    {'G', 15}, {'B', 16}, {'N', 17}, {'J', 18}, {'M', 19}, {'K', 20},
    {vk::kOemComma, 21}, {'L', 22}, {vk::kOemPeriod, 23}, {vk::kOemSlash, 24},
    {vk::kOemColon, 25}, {vk::kOemBackslash, 26}, {vk::kOemCloseBracket, 27},
    {'1', 25}, {'Q', 26}, {'2', 27}, {'W', 28}, {'E', 29}, {'4', 30},
    {'R', 31}, {'5', 32}, {'T', 33}, {'6', 34}, {'Y', 35}, {'U', 36},
    {'8', 37}, {'I', 38}, {'9', 39}, {'O', 40}, {'P', 41}, {vk::kOemMinus, 42},
    {vk::kOemAt, 43}, {vk::kOemCaret, 44}, {vk::kOemOpenBracket, 45}, {vk::kOemYen, 46},
};
// clang-format on

int NoteValueOf(int key) {
  for (const NoteKey& n : kNoteKeys) {
    if (n.key == key) return n.value;
  }
  return 0;
}

constexpr uint8_t kVelocityOn = 127;
constexpr int kChannelAreaX = 384;  // the channel panel starts here; the channel row is y < 12

// A channel value as the panel shows it: "---" plus `tail` while unset.
std::string PanelValue(int value, char tail) {
  return value == kUnsetSetting ? Format("---%c", tail) : Format("%3d%c", value, tail);
}

// The first 48 bytes of a CP932 name, not splitting a double-byte character,
// so a long name does not run into the channel panel.
std::string ListName(const char* name) {
  constexpr size_t kNameCells = 48;
  std::string text;
  for (size_t i = 0; name[i] != '\0';) {
    const size_t width = IsCp932LeadByte(static_cast<unsigned char>(name[i])) && name[i + 1] ? 2 : 1;
    if (text.size() + width > kNameCells) break;
    text.append(name + i, width);
    i += width;
  }
  return text;
}

}  // namespace

ToneWindow::ToneWindow(ToneWindowHost& host, EngineState& engine) : host_(host), engine_(engine) {}

bool ToneWindow::UsesSecondList(const EngineState& s, int channel) {
  return (s.chanFlags[channel] & kChanRhythmNames) != 0;
}

const ToneList& ToneWindow::SelectedList(const ToneLists& lists) const {
  return UsesSecondList(engine_, channel_) ? lists.eqd : lists.eqn;
}

void ToneWindow::Opened() {
  octave_ = kDefaultOctave;
  shiftDown_ = ctrlDown_ = false;
}

void ToneWindow::Closing() {
  for (int value = kFirstNoteValue; value <= kLastNoteValue; ++value) NoteOff(value);
}

// The cursor moves within the 16 rows; past either edge the list scrolls,
// down to the end of the longer of the two lists.
void ToneWindow::MoveCursor(int delta) {
  cursorRow_ += delta;
  if (cursorRow_ < 0) {
    scroll_ = std::max(0, scroll_ + cursorRow_);
    cursorRow_ = 0;
  }
  if (cursorRow_ > kRows - 1) {
    const auto lists = host_.Lists();
    const int longest = std::max(lists->eqn.count, lists->eqd.count);
    scroll_ = std::max(0, std::min(scroll_ + cursorRow_ - (kRows - 1), longest - kRows));
    cursorRow_ = kRows - 1;
  }
}

void ToneWindow::MoveToEntry(int index) { MoveCursor(index - (scroll_ + cursorRow_)); }

void ToneWindow::End() {
  const int count = SelectedList(*host_.Lists()).count;
  cursorRow_ = std::clamp(count - 1, 0, kRows - 1);  // an empty list keeps row 0
  scroll_ = std::max(0, count - kRows);
}

void ToneWindow::ToneJump() {
  const ToneList& list = SelectedList(*host_.Lists());
  auto current = [&](int value) { return value == kUnsetSetting ? 0 : value; };
  const int program = current(engine_.program[channel_]);
  const int msb = current(engine_.bankMsb[channel_]);
  const int lsb = current(engine_.bankLsb[channel_]);
  int found = 0;  // no match: the first entry
  for (int i = list.count - 1; i >= 0; --i) {
    if (list.program(i) == program && list.bankMsb(i) == msb && list.bankLsb(i) == lsb) {
      found = i;
      break;
    }
  }
  MoveToEntry(found);
}

// Bank select MSB and LSB, then the program change, on the selected channel.
void ToneWindow::ApplyEntry() {
  const auto lists = host_.Lists();
  const ToneList& list = SelectedList(*lists);
  const int index = scroll_ + cursorRow_;
  if (index >= list.count) return;
  const auto channel = static_cast<uint8_t>(channel_);
  host_.SendShort(ControlChangeWord(channel, midi::kBankSelect, list.bankMsb(index)));
  host_.SendShort(ControlChangeWord(channel, midi::kBankSelectLsb, list.bankLsb(index)));
  host_.SendShort(ChannelWord(midi::kProgramChange, channel, list.program(index), 0));
}

void ToneWindow::ChangeChannel(int delta) {
  const int next = std::clamp(channel_ + delta, 0, kChannelCount - 1);
  if (next == channel_) return;
  channel_ = next;
  if (host_.AutoJump()) ToneJump();
}

void ToneWindow::ChooseChannel(int channel) {
  channel_ = std::clamp(channel, 0, kChannelCount - 1);
  host_.RepaintTone();
}

void ToneWindow::ChooseTone(int index) {
  MoveToEntry(index);
  ApplyEntry();
  host_.RepaintTone();
}

// All tracks of the selected channel take the opposite of the first one's mute.
void ToneWindow::ToggleChannelMute() { ToggleTrackMutes(engine_, TracksOnChannel(engine_, channel_)); }

void ToneWindow::Solo() { SoloTracks(engine_, TracksOnChannel(engine_, channel_), /*unmuteTracks=*/false); }

void ToneWindow::UnmuteAll() { UnmuteAllTracks(engine_); }

// The note-off goes to the channel and octave the note started with, even
// after either was changed while the key was held.
void ToneWindow::NoteOn(int value) {
  HeldNote& held = held_[value];
  if (held.octave != 0) return;  // key repeat
  held = {static_cast<uint8_t>(octave_), static_cast<uint8_t>(channel_)};
  host_.SendShort(ChannelWord(midi::kNoteOn, held.channel, static_cast<uint8_t>(value + 12 * octave_), kVelocityOn));
}

void ToneWindow::NoteOff(int value) {
  HeldNote& held = held_[value];
  if (held.octave == 0) return;
  host_.SendShort(ChannelWord(midi::kNoteOff, held.channel, static_cast<uint8_t>(value + 12 * held.octave), 0));
  held = {};
}

// The cursor and channel keys; true when `key` was one (then the window repaints).
bool ToneWindow::CursorKey(int key) {
  switch (key) {
    case vk::kUp: MoveCursor(-1); break;
    case vk::kPrior: MoveCursor(-8); break;
    case vk::kDown: MoveCursor(ctrlDown_ ? 16 : shiftDown_ ? 8 : 1); break;
    case vk::kNext: MoveCursor(ctrlDown_ ? 23 : shiftDown_ ? 15 : 8); break;
    case vk::kHome: cursorRow_ = scroll_ = 0; break;
    case vk::kEnd: End(); break;
    case vk::kLeft: ChangeChannel(-1); break;
    case vk::kRight: ChangeChannel(+1); break;
    default: return false;
  }
  return true;
}

void ToneWindow::KeyDown(int key, bool numericPad) {
  if (CursorKey(key)) {
    host_.RepaintTone();
    return;
  }
  if (key >= vk::kF1 && key < vk::kF1 + 6) {
    octave_ = key - vk::kF1 + 1;
    return;
  }
  switch (key) {
    case vk::kTab:
      if (ctrlDown_) {
        host_.ActivateNextWindow();
      } else {
        ToneJump();
        host_.RepaintTone();
      }
      return;
    case vk::kReturn:
      if (numericPad) {
        ToggleChannelMute();
      } else {
        ApplyEntry();
      }
      host_.RepaintTone();
      host_.RepaintMain();
      return;
    case vk::kShift: shiftDown_ = true; return;
    case vk::kControl: ctrlDown_ = true; return;
    case vk::kEscape:
    case vk::Numpad(0): host_.Close(); return;
    case vk::Numpad(1): host_.Play(PlayControl::kPlayFromStart); return;
    case vk::Numpad(2): host_.Play(PlayControl::kHalt); return;
    case vk::Numpad(3): host_.Play(PlayControl::kFadeOut); return;
    case vk::Numpad(4): host_.Play(PlayControl::kResume); return;
    case vk::kAdd:
      UnmuteAll();
      host_.RepaintMain();
      return;
    case vk::kSubtract:
      Solo();
      host_.RepaintMain();
      return;
    default: break;
  }
  if (const int value = NoteValueOf(key)) NoteOn(value);
}

void ToneWindow::KeyUp(int key) {
  if (key == vk::kShift) shiftDown_ = false;
  if (key == vk::kControl) ctrlDown_ = false;
  if (const int value = NoteValueOf(key)) NoteOff(value);
}

void ToneWindow::MiddleClick(int x, int y) { KeyDown(vk::kReturn, x > kChannelAreaX || y < kCellHeight); }

void ToneWindow::Wheel(int x, int y, int delta) {
  const bool channelArea = x > kChannelAreaX || y < kCellHeight;
  if (channelArea) {
    KeyDown(delta > 0 ? vk::kLeft : vk::kRight, false);
  } else {
    KeyDown(delta > 0 ? vk::kUp : vk::kDown, false);
  }
}

void ToneWindow::PaintChannels(Canvas& canvas, const EngineState& s) const {
  const bool second = UsesSecondList(s, channel_);
  for (int c = 0; c < kChannelCount; ++c) {
    const Colour back = c == channel_ ? kWhite : kCyan;
    canvas.Text(24 * c, 0, Format(" %2d:", c + 1), kBlack, back);
    const int y = kCellHeight * (c + 1);
    canvas.Text(384, y, Format(" %2d:", c + 1), kBlack, kCyan);
    canvas.Text(408, y, PanelValue(s.program[c], '('), kBlack, back);
    canvas.Text(432, y, PanelValue(s.bankMsb[c], ','), kBlack, back);
    canvas.Text(456, y, PanelValue(s.bankLsb[c], ')'), kBlack, back);
  }
  canvas.Text(390, 0, Format(" @EQ%c", second ? 'D' : 'N'), kWhite, kBlack);
  canvas.Text(420, 0, Format(" / Tone%d", second ? 2 : 1), kWhite, kBlack);
}

void ToneWindow::PaintList(Canvas& canvas, const ToneList& list) const {
  for (int k = 0; k < kRows; ++k) {
    const bool cursor = k == cursorRow_;
    const Colour fore = cursor ? kBlack : kWhite;
    const Colour back = cursor ? kYellow : kBlack;
    const int y = kCellHeight * (k + 1);
    canvas.Text(6, y, std::string(62, ' '), fore, back);
    const int i = scroll_ + k;
    if (i >= list.count) continue;
    canvas.Text(6, y,
                Format("%3d %-48s (%3d,%3d)", int{list.program(i)}, ListName(list.name(i)).c_str(),
                       int{list.bankMsb(i)}, int{list.bankLsb(i)}),
                fore, back);
  }
}

bool ToneWindow::Paint(Canvas& window, const EngineState& s) {
  if (busy_.exchange(true, std::memory_order_acquire)) return false;
  if (!picture_ || window.depth() != pictureDepth_) {
    pictureDepth_ = window.depth();
    picture_ = window.MakePicture(kToneClientWidth, kToneClientHeight);
  }
  const auto lists = host_.Lists();
  picture_->FillRect(0, 0, kToneClientWidth, kToneClientHeight, kBlack);
  PaintChannels(*picture_, s);
  PaintList(*picture_, UsesSecondList(s, channel_) ? lists->eqd : lists->eqn);
  window.Copy(*picture_, 0, 0, kToneClientWidth, kToneClientHeight);
  busy_.store(false, std::memory_order_release);
  return true;
}

}  // namespace tsy
