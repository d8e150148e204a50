// The Tone window's logic: cursor and scroll rules, ToneJump, the tone sent by
// Enter, mutes, note keys, and what its paint shows.

#include <gtest/gtest.h>

#include <vector>

#include "display/palette.h"
#include "display/tone_window.h"
#include "display_fixture.h"
#include "platform/virtual_keys.h"

namespace tsy {
namespace {

struct Tone {
  std::string name;
  uint8_t program, msb, lsb;
};

ToneList MakeList(const std::vector<Tone>& tones) {
  ToneList list;
  list.count = static_cast<int32_t>(tones.size());
  list.names.assign(tones.size() * ToneList::kNameStride, '\0');
  for (size_t i = 0; i < tones.size(); ++i) {
    tones[i].name.copy(&list.names[i * ToneList::kNameStride], ToneList::kNameChars);
    list.values.insert(list.values.end(), {tones[i].program, tones[i].msb, tones[i].lsb});
  }
  return list;
}

std::vector<Tone> Numbered(int count) {
  std::vector<Tone> tones;
  for (int i = 0; i < count; ++i) tones.push_back({"Tone " + std::to_string(i), uint8_t(i % 128), 0, 0});
  return tones;
}

// Records what the window asks for.
class FakeHost : public ToneWindowHost {
 public:
  void SendShort(MessageWord message) override { sent.push_back(message); }
  void Play(PlayControl control) override { played.push_back(control); }
  void RepaintTone() override { ++toneRepaints; }
  void RepaintMain() override { ++mainRepaints; }
  void Close() override { ++closes; }
  void ActivateNextWindow() override { ++activations; }
  bool AutoJump() override { return autoJump; }
  std::shared_ptr<const ToneLists> Lists() override { return lists; }

  void SetLists(const std::vector<Tone>& eqn, const std::vector<Tone>& eqd) {
    auto both = std::make_shared<ToneLists>();
    both->eqn = MakeList(eqn);
    both->eqd = MakeList(eqd);
    lists = both;
  }

  std::vector<MessageWord> sent;
  std::vector<PlayControl> played;
  int toneRepaints = 0, mainRepaints = 0, closes = 0, activations = 0;
  bool autoJump = false;
  std::shared_ptr<const ToneLists> lists = std::make_shared<ToneLists>();
};

class ToneWindowTest : public ::testing::Test {
 protected:
  void Press(int key, int times = 1) {
    for (int i = 0; i < times; ++i) window_.KeyDown(key, false);
  }
  void Position(int row, int scroll) {
    EXPECT_EQ(window_.cursorRow(), row);
    EXPECT_EQ(window_.scroll(), scroll);
  }

  FakeHost host_;
  std::unique_ptr<EngineState> engine_ = testing::ResetState();
  ToneWindow window_{host_, *engine_};
};

TEST_F(ToneWindowTest, CursorStaysInSixteenRowsAndScrollsTheRest) {
  host_.SetLists(Numbered(40), Numbered(3));
  Press(vk::kDown, 20);
  Position(15, 5);
  Press(vk::kPrior);
  Position(7, 5);
  Press(vk::kUp, 10);
  Position(0, 2);
  Press(vk::kPrior);
  Position(0, 0);
  Press(vk::kControl);
  Press(vk::kNext);  // Ctrl: 23 down, the list ends at 40 - 16
  Position(15, 8);
  Press(vk::kDown);  // Ctrl: 16 down
  Position(15, 24);
  window_.KeyUp(vk::kControl);
  Press(vk::kShift);
  Press(vk::kHome);
  Position(0, 0);
  Press(vk::kNext);  // Shift: 15 down
  Position(15, 0);
  Press(vk::kDown);  // Shift: 8 down
  Position(15, 8);
  EXPECT_EQ(host_.toneRepaints, 37);  // each cursor key, not Shift or Ctrl
}

TEST_F(ToneWindowTest, EndGoesToTheLastEntryOfTheSelectedList) {
  host_.SetLists(Numbered(40), Numbered(5));
  Press(vk::kEnd);
  Position(15, 24);
  Press(vk::kRight, 9);  // channel 10 shows the second list
  Press(vk::kEnd);
  Position(4, 0);
  host_.SetLists({}, {});
  Press(vk::kEnd);
  Position(0, 0);  // an empty list keeps the cursor on the first row
}

TEST_F(ToneWindowTest, ScrollingReachesTheLongerListsEndShowingBlankRows) {
  host_.SetLists(Numbered(3), Numbered(20));
  Press(vk::kDown, 19);
  Position(15, 4);
  RecordingCanvas canvas;
  window_.Paint(canvas, *engine_);
  const auto* lastRow = canvas.TextAt(6, 12 * 16);
  ASSERT_NE(lastRow, nullptr);
  EXPECT_EQ(lastRow->text, std::string(62, ' '));
  EXPECT_EQ(lastRow->back, kYellow);  // the cursor row, blank past the end
}

TEST_F(ToneWindowTest, ToneJumpFindsTheLastMatchAndCountsUnsetAsZero) {
  std::vector<Tone> tones = Numbered(30);
  tones[3] = {"Piano", 0, 0, 0};  // program 0 bank 0/0 is entry 0 too; the last wins
  tones[25] = {"Strings", 48, 1, 2};
  host_.SetLists(tones, {});
  engine_->program[0] = 255;
  engine_->bankMsb[0] = 255;
  engine_->bankLsb[0] = 255;
  Press(vk::kTab);
  Position(3, 0);
  engine_->program[0] = 48;
  engine_->bankMsb[0] = 1;
  engine_->bankLsb[0] = 2;
  Press(vk::kTab);
  Position(15, 10);
  engine_->bankLsb[0] = 3;  // no match: the first entry
  Press(vk::kTab);
  Position(0, 0);
  host_.SetLists({}, {});
  Press(vk::kTab);
  Position(0, 0);
}

TEST_F(ToneWindowTest, ChannelKeysStopAtTheEndsWithoutJumping) {
  host_.SetLists(Numbered(30), Numbered(30));
  host_.autoJump = true;
  Press(vk::kDown, 5);
  Press(vk::kLeft);  // at channel 1 already
  EXPECT_EQ(window_.channel(), 0);
  Position(5, 0);
  Press(vk::kRight);  // program 0 bank 0/0: AutoJump goes to entry 0
  EXPECT_EQ(window_.channel(), 1);
  Position(0, 0);
  Press(vk::kRight, 14);
  Press(vk::kDown, 5);
  Press(vk::kRight);  // at channel 16 already
  EXPECT_EQ(window_.channel(), 15);
  Position(5, 0);
}

TEST_F(ToneWindowTest, EnterSendsBankThenProgramOnTheSelectedChannel) {
  host_.SetLists({{"Organ", 16, 8, 1}}, {});
  Press(vk::kRight, 2);
  Press(vk::kReturn);
  const std::vector<MessageWord> expected = {ShortMessage(0xB2, 0, 8), ShortMessage(0xB2, 32, 1),
                                             ShortMessage(0xC2, 16, 0)};
  EXPECT_EQ(host_.sent, expected);
  EXPECT_EQ(host_.mainRepaints, 1);
  Press(vk::kDown);  // past the list's end: nothing to send
  host_.sent.clear();
  Press(vk::kReturn);
  EXPECT_TRUE(host_.sent.empty());
}

TEST_F(ToneWindowTest, ToneMenuChoiceMovesToTheEntryAndAppliesIt) {
  host_.SetLists(Numbered(40), {});
  window_.ChooseTone(30);
  Position(15, 15);
  ASSERT_EQ(host_.sent.size(), 3u);
  EXPECT_EQ(host_.sent[2], ShortMessage(0xC0, 30, 0));
}

TEST_F(ToneWindowTest, MuteKeysActOnTheSelectedChannelsTracks) {
  Press(vk::kRight);  // channel 2: tracks 2, 18, 34
  engine_->trackMute[17] = 1;
  window_.KeyDown(vk::kReturn, /*numericPad=*/true);
  EXPECT_EQ(engine_->trackMute[1], 1);
  EXPECT_EQ(engine_->trackMute[17], 1);
  EXPECT_EQ(engine_->trackMute[33], 1);
  EXPECT_EQ(engine_->trackMute[0], 0);
  window_.KeyDown(vk::kReturn, true);
  EXPECT_EQ(engine_->trackMute[17], 0);

  Press(vk::kSubtract);  // solo
  EXPECT_EQ(engine_->trackMute[0], 1);
  EXPECT_EQ(engine_->trackMute[47], 1);
  EXPECT_EQ(engine_->trackMute[33], 0);
  Press(vk::kAdd);
  for (int t = 0; t < kTrackCount; ++t) EXPECT_EQ(engine_->trackMute[t], 0);
}

TEST_F(ToneWindowTest, HeldNoteKeySendsOneNoteOnAndItsOwnNoteOff) {
  window_.Opened();
  Press('A', 3);       // key repeat
  Press(vk::kF1 + 4);  // octave 5 while held
  Press(vk::kRight);   // and another channel
  window_.KeyUp('A');
  const std::vector<MessageWord> expected = {ShortMessage(0x90, 8 + 36, 127), ShortMessage(0x80, 8 + 36, 0)};
  EXPECT_EQ(host_.sent, expected);
  host_.sent.clear();
  Press(vk::kOemYen);  // the highest key at octave 5
  window_.Closing();   // closing releases it
  const std::vector<MessageWord> high = {ShortMessage(0x91, 46 + 60, 127), ShortMessage(0x81, 46 + 60, 0)};
  EXPECT_EQ(host_.sent, high);
  window_.Opened();
  EXPECT_EQ(window_.octave(), 3);
  EXPECT_EQ(window_.channel(), 1);  // the selection survives
}

TEST_F(ToneWindowTest, KeypadAndEscapeKeys) {
  for (int d = 1; d <= 4; ++d) Press(vk::Numpad(d));
  const std::vector<PlayControl> expected = {PlayControl::kPlayFromStart, PlayControl::kHalt, PlayControl::kFadeOut,
                                             PlayControl::kResume};
  EXPECT_EQ(host_.played, expected);
  Press(vk::kEscape);
  Press(vk::Numpad(0));
  EXPECT_EQ(host_.closes, 2);
  Press(vk::kControl);
  Press(vk::kTab);
  EXPECT_EQ(host_.activations, 1);
}

TEST_F(ToneWindowTest, MouseActsByArea) {
  host_.SetLists(Numbered(30), {});
  window_.Wheel(100, 100, -120);
  Position(1, 0);
  window_.Wheel(400, 100, -120);  // the channel panel
  EXPECT_EQ(window_.channel(), 1);
  window_.Wheel(100, 5, +120);  // the channel row
  EXPECT_EQ(window_.channel(), 0);
  window_.MiddleClick(100, 100);
  EXPECT_EQ(host_.sent.size(), 3u);  // Enter: the tone sent
  window_.MiddleClick(100, 5);       // keypad Enter: mutes channel 1's tracks
  EXPECT_EQ(engine_->trackMute[0], 1);
}

TEST_F(ToneWindowTest, PaintShowsChannelsPanelAndList) {
  host_.SetLists({{"Acoustic Grand Piano", 0, 0, 0}, {"Bright", 1, 0, 0}}, {{"Standard", 0, 0, 0}});
  engine_->program[3] = 255;
  Press(vk::kDown);
  RecordingCanvas canvas;
  ASSERT_TRUE(window_.Paint(canvas, *engine_));
  auto at = [&](int x, int y) { return canvas.TextAt(x, y); };
  EXPECT_EQ(at(0, 0)->text, "  1:");
  EXPECT_EQ(at(0, 0)->back, kWhite);
  EXPECT_EQ(at(24, 0)->back, kCyan);
  EXPECT_EQ(at(390, 0)->text, " @EQN");
  EXPECT_EQ(at(420, 0)->text, " / Tone1");
  EXPECT_EQ(at(384, 48)->text, "  4:");
  EXPECT_EQ(at(408, 48)->text, "---(");
  EXPECT_EQ(at(432, 48)->text, "  0,");
  EXPECT_EQ(at(456, 48)->text, "  0)");
  EXPECT_EQ(at(6, 12)->text, "  0 Acoustic Grand Piano" + std::string(28, ' ') + " (  0,  0)");
  EXPECT_EQ(at(6, 12)->fore, kWhite);
  EXPECT_EQ(at(6, 24)->back, kYellow);
  EXPECT_EQ(at(6, 24)->fore, kBlack);

  Press(vk::kRight, 9);  // channel 10: the rhythm names
  window_.Paint(canvas, *engine_);
  EXPECT_EQ(at(390, 0)->text, " @EQD");
  EXPECT_EQ(at(420, 0)->text, " / Tone2");
  EXPECT_EQ(at(6, 12)->text.substr(0, 12), "  0 Standard");
}

TEST_F(ToneWindowTest, LongNamesStopBeforeTheChannelPanel) {
  host_.SetLists({{std::string(70, 'x'), 5, 0, 0}}, {});
  RecordingCanvas canvas;
  window_.Paint(canvas, *engine_);
  EXPECT_EQ(canvas.TextAt(6, 12)->text.size(), 62u);
}

}  // namespace
}  // namespace tsy
