// The track list as a person reads it: each mode's fields, colours and columns.

#include <gtest/gtest.h>

#include "display/palette.h"
#include "display/track_display.h"
#include "display_fixture.h"

namespace tsy {
namespace {

using testing::ListCell;
using testing::ListRowText;
using testing::PlaceTrack;
using testing::ResetState;
using testing::SoundNotes;

class TrackListTest : public ::testing::Test {
 protected:
  void Paint(int mode, int cursorRow = 15) {
    canvas_.Clear();
    TrackDisplayView view;
    view.dispMode = mode;
    view.cursorRow = cursorRow;
    display_.PaintFrom(canvas_, *s_, EngineStatus::kPlaying, view, 1000);
  }
  std::string CellText(int row, int column) {
    const auto* run = ListCell(canvas_, row, column);
    return run ? run->text : "(none)";
  }
  Colour CellColour(int row, int column) {
    const auto* run = ListCell(canvas_, row, column);
    return run ? run->fore : 0xDEAD;
  }

  std::unique_ptr<EngineState> s_ = ResetState();
  RecordingCanvas canvas_;
  TrackDisplay display_;
};

TEST_F(TrackListTest, ChannelModeShowsProgramVolumeVelocityPanNoteAndLength) {
  PlaceTrack(*s_, 0, 0x12345);
  s_->program[0] = 5;
  s_->bankMsb[0] = 8;
  SoundNotes(*s_, 0, {61});
  Paint(kModeChannel);
  EXPECT_EQ(ListRowText(canvas_, 0), " 1:|( 1)|1|2345|@005 |V127,110 |M00 |O4C# |L4|");
  EXPECT_EQ(CellColour(0, 0), kCyan);
  EXPECT_EQ(CellColour(0, 3), kYellow);
  EXPECT_EQ(CellColour(0, 13), kGreen);  // a bank other than 0/0 is set
  EXPECT_EQ(CellColour(0, 18), kWhite);
  EXPECT_EQ(CellColour(0, 27), kCyan);
  EXPECT_EQ(CellColour(0, 32), kYellow);
  EXPECT_EQ(CellText(0, 37), "L4");
}

TEST_F(TrackListTest, UnsetChannelValuesShowDashes) {
  struct Case {
    int pan;
    const char* text;
  };
  for (const Case& c : {Case{64, "M00 "}, {0, "L64 "}, {127, "R63 "}, {255, "M-- "}, {130, "M-- "}}) {
    PlaceTrack(*s_, 0);
    s_->pan[0] = static_cast<uint8_t>(c.pan);
    s_->program[0] = 255;
    s_->volume[0] = 255;
    s_->velocity[0] = 200;
    Paint(kModeChannel);
    EXPECT_EQ(CellText(0, 27), c.text) << "pan " << c.pan;
    EXPECT_EQ(CellText(0, 13), "@--- ");
    EXPECT_EQ(CellColour(0, 13), kWhite);
    EXPECT_EQ(CellText(0, 18), "V---,--- ");
  }
}

TEST_F(TrackListTest, TuningModeShowsFineTuneBendAndExpression) {
  struct Case {
    int fine;
    float bend;
    int expression;
    const char* fineText;
    const char* bendText;
    const char* expressionText;
  };
  const Case cases[] = {
      {8192, 0.0f, 127, "D+0000 ", "B+0000 ", "E127 "},    {0x7FFF, 65535.0f, 255, "D----- ", "B----- ", "E--- "},
      {0, -1.5f, 0, "D-8192 ", "B-0001 ", "E000 "},        {8200, 8191.9f, 64, "D+0008 ", "B+8191 ", "E064 "},
      {8192, -8192.0f, 64, "D+0000 ", "B----- ", "E064 "},
  };
  PlaceTrack(*s_, 0);
  for (const Case& c : cases) {
    s_->fineTune[0] = static_cast<int16_t>(c.fine);
    s_->bendNow[0] = c.bend;
    s_->expression[0] = static_cast<uint8_t>(c.expression);
    Paint(kModeTuning);
    EXPECT_EQ(CellText(0, 13), c.fineText);
    EXPECT_EQ(CellText(0, 20), c.bendText);
    EXPECT_EQ(CellText(0, 27), c.expressionText);
    EXPECT_EQ(CellText(0, 32), "R    ");  // the note still sits at column 32
  }
}

TEST_F(TrackListTest, EffectsModeShowsReverbChorusAndPedals) {
  PlaceTrack(*s_, 0);
  s_->chorus[0] = 255;
  s_->chanFlags[0] = kChanSoftPedal | kChanSustain;
  Paint(kModeEffects);
  EXPECT_EQ(CellText(0, 13), "R040 ");
  EXPECT_EQ(CellText(0, 18), "C--- ");
  EXPECT_EQ(CellText(0, 28), "S ");
  EXPECT_EQ(CellText(0, 30), "H ");
  EXPECT_EQ(CellColour(0, 30), kCyan);
  s_->chanFlags[0] = 0;
  Paint(kModeEffects);
  EXPECT_EQ(CellText(0, 28), "  ");
  EXPECT_EQ(CellText(0, 30), "  ");
}

TEST_F(TrackListTest, LengthsShowDotsAndTies) {
  struct Case {
    std::vector<int> values;
    const char* text;
  };
  const Case cases[] = {
      {{4}, "L4"}, {{4, 8}, "L4."}, {{4, 16}, "L4^16"}, {{2, 4, 8}, "L2.."}, {{1, 2, 3}, "L1.^3"},
  };
  PlaceTrack(*s_, 0);
  for (const Case& c : cases) {
    for (size_t j = 0; j < c.values.size(); ++j) s_->lengthValues[0][j] = uint8_t(c.values[j]);
    s_->lengthValueCount[0] = static_cast<int16_t>(c.values.size() - 1);
    Paint(kModeChannel);
    EXPECT_EQ(CellText(0, 37), c.text);
  }
  s_->noteFlags[0] = 8;  // bent: the length turns cyan
  Paint(kModeChannel);
  EXPECT_EQ(CellColour(0, 37), kCyan);
}

TEST_F(TrackListTest, ChordViewNamesEveryNoteAndMarksOctaveChanges) {
  PlaceTrack(*s_, 2);
  SoundNotes(*s_, 2, {60, 64, 79});
  Paint(kModeChord);
  EXPECT_EQ(ListRowText(canvas_, 2), " 3:|( 3)|O4C/E/O5G|L4|");
  EXPECT_EQ(CellText(2, 8), "O4C/E/O5G");
  EXPECT_EQ(CellColour(2, 8), kYellow);
  EXPECT_EQ(CellText(2, 37), "L4");

  s_->noteFlags[2] = 4;  // slurred
  SoundNotes(*s_, 2, {5, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22});
  Paint(kModeChord);
  EXPECT_EQ(CellText(2, 8), "O-F/O0C/C#/D/D#/E/F/F#/G/G#/");  // cut at 28 characters
  EXPECT_EQ(CellColour(2, 8), kGreen);

  Paint(kModeChannel);
  EXPECT_EQ(CellText(2, 32), "O-F/");  // the first note, '/' for a chord
}

TEST_F(TrackListTest, WaitAndRestShowInRed) {
  PlaceTrack(*s_, 0);
  PlaceTrack(*s_, 1);
  s_->eventNotes[0][0] = kEventWaiting;
  for (int mode : {kModeChannel, kModeChord}) {
    Paint(mode);
    const int column = mode == kModeChord ? 8 : 32;
    EXPECT_EQ(CellText(0, column), "Wait");
    EXPECT_EQ(CellText(1, column), "R    ");
    EXPECT_EQ(CellColour(1, column), kRed);
  }
}

TEST_F(TrackListTest, TrackWithoutStreamShowsOnlyItsNumber) {
  Paint(kModeChannel);
  EXPECT_EQ(ListRowText(canvas_, 4), " 5:|");
}

TEST_F(TrackListTest, NumberColoursShowCursorAndMute) {
  s_->trackMute[3] = 1;
  s_->trackMute[4] = 1;
  Paint(kModeChannel, /*cursorRow=*/3);
  const auto* selectedMuted = ListCell(canvas_, 3, 0);
  ASSERT_NE(selectedMuted, nullptr);
  EXPECT_EQ(selectedMuted->fore, kBlack);
  EXPECT_EQ(selectedMuted->back, kRed);
  EXPECT_EQ(ListCell(canvas_, 4, 0)->fore, kBlue);
  EXPECT_FALSE(ListCell(canvas_, 4, 0)->back.has_value());

  Paint(kModeChannel, /*cursorRow=*/5);
  EXPECT_EQ(ListCell(canvas_, 5, 0)->back, kYellow);
}

TEST_F(TrackListTest, ScrolledListStartsAtTrackScroll) {
  PlaceTrack(*s_, 47, 0x10);
  canvas_.Clear();
  TrackDisplayView view;
  view.trackScroll = 32;
  display_.PaintFrom(canvas_, *s_, EngineStatus::kPlaying, view, 0);
  EXPECT_EQ(CellText(0, 0), "33:");
  EXPECT_EQ(ListRowText(canvas_, 15).substr(0, 14), "48:|(16)|0010|");
}

}  // namespace
}  // namespace tsy
