// EngineCall: the play status, the image handshake, the reset and the tempo rule.
#include <gtest/gtest.h>

#include "test_image.h"

namespace tsy::test {
namespace {

TEST(EngineStatus, StartedIsReadOnceThenPlaying) {
  LoadFresh(BuildImage({{1, Note(60, 48)}}));
  EXPECT_EQ(GetStatus(), EngineStatus::kStopRequested);
  SetPlayClock(500);
  ConfirmStopped();
  EXPECT_EQ(GetStatus(), EngineStatus::kStopped);
  SetPlayClock(1234);
  RequestResume();
  EXPECT_EQ(GetStatus(), EngineStatus::kResumeRequested);
  EXPECT_EQ(ConfirmRunning(), 734u) << "the length of the pause";
  EXPECT_EQ(GetStatus(), EngineStatus::kStarted);
  EXPECT_EQ(GetStatus(), EngineStatus::kPlaying);
  RequestExport();
  EXPECT_EQ(GetStatus(), EngineStatus::kExportRequested);
  ConfirmExport();
  EXPECT_EQ(GetStatus(), EngineStatus::kExporting);
  RequestStart();
  EXPECT_EQ(GetStatus(), EngineStatus::kStartRequested);
}

TEST(EngineCall, SetImageReportsOrReplacesTheImage) {
  LoadFresh(BuildImage({{1, Note(60, 48)}}));
  const uint8_t* image = CurrentImage();
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(GetState().imageData.load(), image + 400);
  static const uint8_t other[4] = {};
  EXPECT_EQ(SetImage(other, other + 1), other + 1);
  EXPECT_EQ(CurrentImage(), other);
  EngineCall(static_cast<int32_t>(EngineCode::kSetImage), nullptr, 1);
  EXPECT_EQ(CurrentImage(), nullptr);
}

TEST(EngineCall, PassesAreRefusedUntilAPlayableImageIsAccepted) {
  LoadFresh(BuildImage({{1, Note(60, 48)}}));
  MessageWord words[kMessageCapacity];
  AcceptImage(23, 0);
  EXPECT_EQ(TrackPass(0, words, nullptr), -1);
  AcceptImage(16, 1);
  EXPECT_EQ(TrackPass(0, words, nullptr), -1);
  AcceptImage(17, 1);
  EXPECT_EQ(TrackPass(0, words, nullptr), 1);
}

TEST(ResetEngine, GivesTracksAndChannelsTheirStartValuesAndKeepsPositions) {
  LoadFresh(BuildImage({{1, Note(60, 48)}, {20, Note(62, 48)}}));
  RunTick(0);
  EngineState& s = GetState();
  const uint8_t* pos = s.trackPos[0];
  s.trackMute[5] = 1;
  s.velocity[0] = 3;
  ResetEngine();
  EXPECT_EQ(s.trackPos[0].load(), pos);
  EXPECT_EQ(s.trackChannel[19], 3);
  EXPECT_EQ(s.trackTag[19], 2);
  EXPECT_EQ(s.trackTag[13], 6);
  EXPECT_EQ(s.velocity[0], 110);
  EXPECT_EQ(s.gate[0], 7);
  EXPECT_EQ(s.noteFlags[0], 3);
  EXPECT_EQ(s.eventNotes[0][0], kEventRest);
  EXPECT_EQ(s.trackMute[5], 0);
  EXPECT_EQ(s.tempo, 120);
  EXPECT_EQ(s.syncArmed, 1);
  EXPECT_EQ(s.chanFlags[9], kChanRhythmNames);
  EXPECT_EQ(s.volume[0], 127);
  EXPECT_EQ(s.reverb[0], 40);
  EXPECT_EQ(s.fineTune[0], 8192);
}

TEST(ResetEngine, ImageThatInitialisesItselfLeavesChannelSettingsUnset) {
  LoadFresh(BuildImage({{1, Note(60, 48)}}, kImageFlagOwnInit));
  const EngineState& s = GetState();
  EXPECT_EQ(s.program[4], kUnsetSetting);
  EXPECT_EQ(s.bankLsb[4], kUnsetSetting);
  EXPECT_EQ(s.fineTune[4], kUnsetFineTune);
  EXPECT_EQ(s.bendNow[4], kUnsetBend);
}

TEST(EngineCall, ZeroTempoFallsBackToTheSongTempoThen120) {
  EngineState& s = GetState();
  ClearEngineState();
  s.songTempo = 90;
  GetStatus();
  EXPECT_EQ(s.tempo, 90);
  ClearEngineState();
  GetStatus();
  EXPECT_EQ(GetState().tempo, 120);
  EXPECT_EQ(GetState().songTempo, 120);
}

TEST(EngineCall, RefreshIdleAgesFollowTheClockAndFadeRecordsItsStart) {
  LoadFresh(BuildImage({{1, Note(60, 48)}}));
  EngineState& s = GetState();
  s.onMs[2] = 100;
  s.noteState[2] = kNoteSounding;
  s.tick = 77;
  SetPlayClock(350);
  RefreshIdle();
  StartFade();
  EXPECT_EQ(s.msSinceOn[2], 250u);
  EXPECT_EQ(s.noteState[2], kNoteIdle);
  EXPECT_EQ(s.passMs, 350u);
  EXPECT_EQ(s.fadeTick, 77u);
  EXPECT_EQ(s.fadeMs, 350u);
  EXPECT_EQ(s.fadeActive, 1);
}

int restarts = 0, stops = 0;

TEST(MusicRequests, RestartAndStopReachTheirHandlersExceptWhileExporting) {
  SetMusicRequests([] { ++restarts; }, [] { ++stops; });
  LoadFresh(BuildImage({{1, Join({{0xFC, 1, 0xFC, 0, 0xFC, 7}, Note(60, 10)})}}));
  RunTick(0);
  EXPECT_EQ(restarts, 1);
  EXPECT_EQ(stops, 1);
  LoadFresh(BuildImage({{1, Join({{0xFC, 1}, Note(60, 10)})}}));
  RequestExport();
  ConfirmExport();
  RunTick(0);
  EXPECT_EQ(stops, 1);
  SetMusicRequests(nullptr, nullptr);
}

}  // namespace
}  // namespace tsy::test
