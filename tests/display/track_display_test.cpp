// The panels, keyboards and meters of the track display, read from a
// recorded paint.

#include <gtest/gtest.h>

#include "display/beat_indicator.h"
#include "display/display_layout.h"
#include "display/palette.h"
#include "display/track_display.h"
#include "display_fixture.h"

namespace tsy {
namespace {

using testing::MeterSegments;
using testing::PlaceTrack;
using testing::ResetState;
using testing::SoundNotes;

class TrackDisplayTest : public ::testing::Test {
 protected:
  void Paint(uint32_t nowMs = 1000, EngineStatus status = EngineStatus::kPlaying) {
    canvas_.Clear();
    display_.PaintFrom(canvas_, *s_, status, view_, nowMs);
  }
  std::string TextAt(const Place& place) {
    const auto* run = canvas_.TextAt(place.x, place.y);
    return run ? run->text : "(none)";
  }
  std::string KeyHelp(int line) {
    const auto* run = canvas_.TextAt(kKeyHelpX, kKeyHelpY + 12 * line);
    return run ? run->text : "(none)";
  }
  Colour KeyHelpColour(int line) { return canvas_.TextAt(kKeyHelpX, kKeyHelpY + 12 * line)->fore; }

  std::unique_ptr<EngineState> s_ = ResetState();
  TrackDisplayView view_;
  RecordingCanvas canvas_;
  TrackDisplay display_;
};

TEST_F(TrackDisplayTest, WithoutAnImageThePanelsShowZerosAndHideTheTempoKeys) {
  s_ = ResetState(/*version=*/0);
  Paint();
  EXPECT_EQ(TextAt(kImageVersionPlace), "V0.00");
  EXPECT_EQ(TextAt(kPositionPlace), "    0.000");
  EXPECT_EQ(TextAt(kTempoPlace), " T120 ");
  EXPECT_EQ(KeyHelp(0), "\x81\xaa\x81\xab  ");
  EXPECT_EQ(KeyHelpColour(4), kYellow);
  for (int line : {5, 6, 7}) EXPECT_EQ(KeyHelpColour(line), kBlack) << line;
  // The spokes point right and left of the centre.
  ASSERT_EQ(canvas_.lines().size(), 6u);
  const auto& right = canvas_.lines()[0];
  const auto& left = canvas_.lines()[1];
  EXPECT_EQ(right.x0 - kBeatPlace.x, 21);
  EXPECT_EQ(right.x1 - kBeatPlace.x, 31);
  EXPECT_EQ(right.y1 - kBeatPlace.y, 16);
  EXPECT_EQ(left.x0 - kBeatPlace.x, 10);
  EXPECT_EQ(left.x1 - kBeatPlace.x, 0);
  EXPECT_EQ(left.y1 - kBeatPlace.y, 16);
}

TEST_F(TrackDisplayTest, PanelsShowVersionTempoPositionStandardsAndDevice) {
  s_->tempo = 96;
  s_->tick = 192 * 10012 + 50;
  s_->barTick = 50;
  s_->resetsSeen = kResetGmSystemOn | kResetXgSystemOn;
  s_->deviceKind = 1;
  const char comment[] = "Etude";
  for (size_t i = 0; i < sizeof comment; ++i) s_->trackText[i] = comment[i];
  Paint();
  EXPECT_EQ(TextAt(kImageVersionPlace), "V1.17");
  EXPECT_EQ(TextAt(kTempoPlace), " T 96 ");
  EXPECT_EQ(TextAt(kPositionPlace), "   12.050");
  EXPECT_EQ(TextAt(kStandardsPlace), "   XG    GM");
  EXPECT_EQ(TextAt(kDevicePlace), "Direct Music");
  EXPECT_EQ(TextAt(kCommentPlace), "[ Etude" + std::string(75, ' ') + " ]");
  EXPECT_EQ(KeyHelpColour(7), kYellow);
}

TEST_F(TrackDisplayTest, DeviceNameComesFromTheOpenPort) {
  s_->deviceKind = 0;
  Paint();
  EXPECT_EQ(TextAt(kDevicePlace), "MIDI Mapper");
  s_->deviceKind = 3;
  Paint();
  EXPECT_EQ(TextAt(kDevicePlace), "Wait Mode");
  view_.texts.portName = "FLUID Synth";
  Paint();
  EXPECT_EQ(TextAt(kDevicePlace), "FLUID Synth");
  // The built-in synthesiser, as itself or as the Mapper's fallback, names its audio driver.
  view_.texts.audioDriver = "jack";
  s_->deviceKind = 1;
  Paint();
  EXPECT_EQ(TextAt(kDevicePlace), "Direct Music (jack)");
  s_->deviceKind = 0;
  Paint();
  EXPECT_EQ(TextAt(kDevicePlace), "MIDI Mapper (jack)");
}

TEST_F(TrackDisplayTest, VersionHeaderEndsAtTheRightOnlyWithBothTexts) {
  view_.texts.versionText = "0.1.0";
  Paint();
  EXPECT_EQ(canvas_.TextAt(620 - 6 * 5, 2), nullptr);
  view_.texts.legalText = "(c) us";
  Paint();
  const auto* header = canvas_.TextAt(620 - 6 * 13, 2);
  ASSERT_NE(header, nullptr);
  EXPECT_EQ(header->text, "0.1.0  (c) us");
}

TEST_F(TrackDisplayTest, SineTableTruncatesTowardZero) {
  const auto& sine = SineTable();
  EXPECT_EQ(sine[0], 0);
  EXPECT_EQ(sine[30], 127);
  EXPECT_EQ(sine[90], 255);
  EXPECT_EQ(sine[210], -127);
  EXPECT_EQ(sine[270], -255);
}

TEST_F(TrackDisplayTest, KeyboardsLightTheNotesOfTheirTaggedTracks) {
  PlaceTrack(*s_, 0);
  s_->trackTag[0] = 2;
  SoundNotes(*s_, 0, {60, 61});
  PlaceTrack(*s_, 1);
  s_->trackTag[1] = 0;  // shown on no keyboard
  SoundNotes(*s_, 1, {62});
  Paint();
  auto keyColour = [&](int k, int x, int y) {
    const Place place = KeyboardPlace(k);
    return canvas_.FillColourAt(place.x + x, place.y + y);
  };
  // Note 60 is white key 28 (octave 4, C); 61 is the black key right of it.
  EXPECT_EQ(keyColour(2, 7 * 28 + 1, 20), kPalette[2]);
  EXPECT_EQ(keyColour(2, 7 * 29 - 2, 5), kPalette[2]);
  EXPECT_EQ(keyColour(2, 7 * 29 + 1, 20), kWhite);  // D: track 1 has no keyboard
  EXPECT_EQ(keyColour(1, 7 * 28 + 1, 20), kWhite);
  EXPECT_EQ(keyColour(2, 7 * 28 + 6, 20), kGrey);  // the gap between keys

  s_->noteState[0] = kNoteIdle;  // released: the key goes dark again
  Paint();
  EXPECT_EQ(keyColour(2, 7 * 28 + 1, 20), kWhite);
}

TEST_F(TrackDisplayTest, TrackMeterLabelsShowTheKeyboardTag) {
  PlaceTrack(*s_, 0);
  PlaceTrack(*s_, 1);
  s_->trackTag[1] = 0;
  Paint();
  const auto* tagged = canvas_.TextAt(MeterPlace(0).x + 5, 16 + 67);
  const auto* untagged = canvas_.TextAt(MeterPlace(1).x + 5, 16 + 67);
  ASSERT_NE(tagged, nullptr);
  ASSERT_NE(untagged, nullptr);
  EXPECT_EQ(tagged->text, "1");
  EXPECT_EQ(tagged->fore, kGreen);
  EXPECT_EQ(untagged->text, "-");
  EXPECT_EQ(untagged->fore, kRed);
  EXPECT_EQ(canvas_.TextAt(MeterPlace(2).x + 5, 16 + 67), nullptr);  // no stream, no label
}

TEST_F(TrackDisplayTest, TrackMeterShowsTheDecayedLevelAndNothingBeyondFifteen) {
  PlaceTrack(*s_, 0);
  SoundNotes(*s_, 0, {60});
  s_->velocity[0] = 127;
  s_->msSinceOn[0] = 200;  // ((127*127*127/128)/128 - 20) / 8 = 13
  Paint();
  EXPECT_EQ(MeterSegments(canvas_, 0), "..##############");
  s_->expression[0] = 255;  // unset: (251 - 20) / 8 = 28, beyond the meter
  Paint();
  EXPECT_EQ(MeterSegments(canvas_, 0), "..#.............");  // only the held peak
}

TEST_F(TrackDisplayTest, PeakMarkerHoldsThenFallsBySegmentPerHundredMs) {
  PlaceTrack(*s_, 0);
  SoundNotes(*s_, 0, {60});
  s_->velocity[0] = 127;
  s_->msSinceOn[0] = 700;  // level (124 - 70) / 8 = 6
  Paint(10000);
  EXPECT_EQ(MeterSegments(canvas_, 0), ".........#######");  // six bars, the peak above
  s_->eventNotes[0][0] = kEventRest;
  s_->msSinceRest[0] = s_->msSinceOn[0];  // a rest just began: level 0
  Paint(10600);
  EXPECT_EQ(MeterSegments(canvas_, 0), ".........#......");
  Paint(10601);
  EXPECT_EQ(MeterSegments(canvas_, 0), "..........#.....");
  Paint(10701);
  EXPECT_EQ(MeterSegments(canvas_, 0), "...........#....");
  Paint(20000);
  EXPECT_EQ(MeterSegments(canvas_, 0), "...............#");  // a peak of 0 marks the bottom
}

TEST_F(TrackDisplayTest, ChangingTheMeterViewClearsThePeaks) {
  PlaceTrack(*s_, 0);
  SoundNotes(*s_, 0, {60});
  s_->msSinceOn[0] = 700;
  s_->velocity[0] = 127;
  Paint(10000);
  EXPECT_EQ(MeterSegments(canvas_, 0), ".........#######");
  view_.modeEq = true;
  Paint(10010, EngineStatus::kStopped);
  EXPECT_EQ(MeterSegments(canvas_, 0), "...............#");
  const auto* label = canvas_.TextAt(MeterPlace(9).x + 5, 16 + 67);
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(label->text, "M");
  EXPECT_EQ(label->fore, kYellow);
}

TEST_F(TrackDisplayTest, AnalyserSpreadsOneNoteOverThreeBands) {
  view_.modeEq = true;
  PlaceTrack(*s_, 0);
  SoundNotes(*s_, 0, {60});  // band 10, fraction 5
  s_->velocity[0] = 127;     // A = (127 * 127 / 128) / 16 = 7
  s_->passMs = 5000;
  Paint();
  // Weight 10 on band 10 (meter 7): 7 * 10 / 6 = 11, 90 % of it 9; weight 3
  // on bands 9 and 11: 7 * 3 / 6 = 3, 90 % of it 2; bands 8 and 12 weight 0.
  EXPECT_EQ(MeterSegments(canvas_, 7), "......##########");
  EXPECT_EQ(MeterSegments(canvas_, 6), ".............###");
  EXPECT_EQ(MeterSegments(canvas_, 8), ".............###");
  EXPECT_EQ(MeterSegments(canvas_, 5), "...............#");
  EXPECT_EQ(MeterSegments(canvas_, 9), "...............#");
}

TEST_F(TrackDisplayTest, AnalyserBandsFallByThePlayClockAndStayWhenStopped) {
  view_.modeEq = true;
  PlaceTrack(*s_, 0);
  SoundNotes(*s_, 0, {60});
  s_->velocity[0] = 127;
  s_->passMs = 5000;
  Paint(1000);
  s_->trackPos[0] = nullptr;  // the note is gone
  s_->passMs = 5100;          // two steps of 50 ms later
  Paint(1000);
  EXPECT_EQ(MeterSegments(canvas_, 7), "......#..#######");  // 9 - 2 = 7 bars, the peak held
  Paint(1000, EngineStatus::kStopped);                       // passMs stands still: the band too
  EXPECT_EQ(MeterSegments(canvas_, 7), "......#..#######");
}

TEST_F(TrackDisplayTest, RhythmChannelNotesUseTheirPseudoPitch) {
  view_.modeEq = true;
  PlaceTrack(*s_, 9);        // channel 10, named from the rhythm table
  SoundNotes(*s_, 9, {35});  // bass drum: pseudo pitch 18, q = 30, band 3, fraction 5
  s_->velocity[9] = 127;
  Paint();
  EXPECT_EQ(MeterSegments(canvas_, 0), "......##########");
  EXPECT_EQ(MeterSegments(canvas_, 7), "...............#");
}

TEST_F(TrackDisplayTest, PicturesAreMadeOnceAndRebuiltWhenTheDepthChanges) {
  Paint();
  const int made = canvas_.picturesMade();
  EXPECT_EQ(made, 5);
  Paint();
  EXPECT_EQ(canvas_.picturesMade(), made);
  canvas_.set_depth(16);
  Paint();
  EXPECT_EQ(canvas_.picturesMade(), 2 * made);
}

}  // namespace
}  // namespace tsy
