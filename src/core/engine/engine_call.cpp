#include "core/engine/engine_call.h"

#include <atomic>
#include <iterator>

#include "core/engine/load_image.h"
#include "core/engine/track_pass.h"
#include "core/midi/midi_bytes.h"

namespace tsy {
namespace {

EngineState gState;  // the one engine of the process
std::atomic<int32_t> gStatus{static_cast<int32_t>(EngineStatus::kStopRequested)};
std::atomic<uint32_t> gPlayClock{0};  // ms since play last started
std::atomic<uint32_t> gStopTime{0};   // play clock when play last stopped
std::atomic<MusicRequest> gPlayFromStart{nullptr};
std::atomic<MusicRequest> gHalt{nullptr};
std::atomic<bool> gMusicRequestsHeld{false};  // a seek runs the passes silently

constexpr int16_t kDefaultTempo = 120;  // quarter notes per minute
constexpr uint8_t kDefaultVelocity = 110;
constexpr uint8_t kDefaultGate = 7;       // eighths of the length
constexpr uint8_t kDefaultNoteFlags = 3;  // attack and release

// The display keyboard of each track by t mod 16.
constexpr uint8_t kDefaultTrackTag[kChannelCount] = {1, 1, 1, 2, 2, 2, 3, 3, 3, 4, 5, 5, 5, 6, 6, 6};

void SetStatus(EngineStatus status) { gStatus.store(static_cast<int32_t>(status)); }

void SettleTempo() {
  if (gState.tempo != 0) return;
  gState.tempo = gState.songTempo;
  if (gState.tempo == 0) gState.tempo = gState.songTempo = kDefaultTempo;
}

void ResetChannels(EngineState& s, bool ownInitialisation) {
  for (int c = 0; c < kChannelCount; ++c) {
    s.chanFlags[c] = c == midi::kRhythmChannel ? kChanRhythmNames : 0;
    const bool unset = ownInitialisation;
    s.program[c] = unset ? kUnsetSetting : 0;
    s.volume[c] = unset ? kUnsetSetting : 127;
    s.pan[c] = unset ? kUnsetSetting : midi::kPanCentre;
    s.reverb[c] = unset ? kUnsetSetting : 40;
    s.chorus[c] = unset ? kUnsetSetting : 0;
    s.expression[c] = unset ? kUnsetSetting : kResetExpression;
    s.bankMsb[c] = unset ? kUnsetSetting : 0;
    s.bankLsb[c] = unset ? kUnsetSetting : 0;
    s.fineTune[c] = unset ? kUnsetFineTune : midi::kCentre14;
    s.bendNow[c] = unset ? kUnsetBend : 0.0f;
  }
}

// Clears EngineResetTables and gives tracks and channels their start values.
// Sends nothing: the play thread sends what goes with a start.
void Reset() {
  static EngineResetTables cleared;  // never written: the all-zero tables
  static_cast<EngineResetTables&>(gState) = cleared;
  EngineState& s = gState;
  s.tempo = s.songTempo = kDefaultTempo;
  s.syncArmed = 1;
  for (int t = 0; t < kTrackCount; ++t) {
    s.trackChannel[t] = t % kChannelCount;
    s.lengthValues[t][0] = 4;
    s.lengthValueCount[t] = 0;
    s.chordSize[t] = 0;
    s.eventNotes[t][0] = kEventRest;
    s.trackTag[t] = kDefaultTrackTag[t % kChannelCount];
    s.gate[t] = kDefaultGate;
    s.noteFlags[t] = kDefaultNoteFlags;
    s.velocity[t] = kDefaultVelocity;
    s.velocityBias[t] = 0;
  }
  const uint8_t* image = s.image;
  ResetChannels(s, image && (image[kFlagsField] & kImageFlagOwnInit));
}

void RefreshIdleTimes() {
  const uint32_t now = gPlayClock.load();
  EngineState& s = gState;
  s.passMs = now;
  for (int t = 0; t < kTrackCount; ++t) {
    s.msSinceOn[t] = now - s.onMs[t];
    s.msSinceRest[t] = now - s.restMs[t];
    s.msSinceOff[t] = now - s.offMs[t];
    s.noteState[t] = kNoteIdle;
  }
}

intptr_t OnAcceptImage(void* pointer, intptr_t value) {
  gState.imageVersion = static_cast<uint8_t>(reinterpret_cast<uintptr_t>(pointer));
  gState.imageAccepted = static_cast<uint8_t>(value);
  return 0;
}
intptr_t OnSetImage(void* pointer, intptr_t value) {
  if (value != 0) {
    gState.image = static_cast<const uint8_t*>(pointer);
    gState.imageData = reinterpret_cast<const uint8_t*>(value);
  }
  const uint8_t* result = pointer ? gState.imageData : gState.image;
  return reinterpret_cast<intptr_t>(result);
}
intptr_t OnGetState(void*, intptr_t) { return reinterpret_cast<intptr_t>(&gState); }
intptr_t OnGetStatus(void*, intptr_t) {
  int32_t status = gStatus.load();
  if (status == static_cast<int32_t>(EngineStatus::kStarted)) {
    // Only a status still reading kStarted turns into kPlaying; a request
    // posted in between is kept.
    gStatus.compare_exchange_strong(status, static_cast<int32_t>(EngineStatus::kPlaying));
    return static_cast<intptr_t>(EngineStatus::kStarted);
  }
  return status;
}
intptr_t OnRequestStop(void*, intptr_t) {
  SetStatus(EngineStatus::kStopRequested);
  return 0;
}
intptr_t OnConfirmStopped(void*, intptr_t) {
  gStopTime.store(gPlayClock.load());
  SetStatus(EngineStatus::kStopped);
  return 0;
}
intptr_t OnRequestStart(void*, intptr_t) {
  SetStatus(EngineStatus::kStartRequested);
  return 0;
}
intptr_t OnResetEngine(void*, intptr_t) {
  Reset();
  return 0;
}
intptr_t OnConfirmRunning(void*, intptr_t) {
  SetStatus(EngineStatus::kStarted);
  return static_cast<uint32_t>(gPlayClock.load() - gStopTime.load());
}
intptr_t OnRequestResume(void*, intptr_t) {
  SetStatus(EngineStatus::kResumeRequested);
  return 0;
}
intptr_t OnRefreshIdle(void*, intptr_t) {
  RefreshIdleTimes();
  return 0;
}
intptr_t OnStartFade(void*, intptr_t) {
  gState.fadeTick = gState.tick;
  gState.fadeMs = gPlayClock.load();
  gState.fadeActive = 1;
  return 0;
}
intptr_t OnRequestExport(void*, intptr_t) {
  SetStatus(EngineStatus::kExportRequested);
  return 0;
}
intptr_t OnConfirmExport(void*, intptr_t) {
  SetStatus(EngineStatus::kExporting);
  return 0;
}

struct CodeHandler {
  EngineCode code;
  intptr_t (*handle)(void* pointer, intptr_t value);
};

constexpr CodeHandler kHandlers[] = {
    {EngineCode::kAcceptImage, OnAcceptImage},
    {EngineCode::kSetImage, OnSetImage},
    {EngineCode::kGetState, OnGetState},
    {EngineCode::kGetStatus, OnGetStatus},
    {EngineCode::kRequestStop, OnRequestStop},
    {EngineCode::kConfirmStopped, OnConfirmStopped},
    {EngineCode::kRequestStart, OnRequestStart},
    {EngineCode::kResetEngine, OnResetEngine},
    {EngineCode::kConfirmRunning, OnConfirmRunning},
    {EngineCode::kRequestResume, OnRequestResume},
    {EngineCode::kRefreshIdle, OnRefreshIdle},
    {EngineCode::kStartFade, OnStartFade},
    {EngineCode::kRequestExport, OnRequestExport},
    {EngineCode::kConfirmExport, OnConfirmExport},
};

// Either form of TrackPass: refused until an image of a playable version was accepted.
intptr_t OnTrack(int track, void* pointer, intptr_t value) {
  if (gState.imageAccepted != 1 || gState.imageVersion < kOldestPlayableVersion) return -1;
  if (!pointer) {
    LoadTrackStream(track, reinterpret_cast<const uint8_t*>(value));
    return 0;
  }
  return RunTrackPass(track, static_cast<MessageWord*>(pointer), reinterpret_cast<MessageSlots*>(value));
}

}  // namespace

intptr_t EngineCall(int32_t code, void* pointer, intptr_t value) {
  SettleTempo();
  if (code >= 0 && code < kTrackCount) return OnTrack(code, pointer, value);
  for (const CodeHandler& h : kHandlers)
    if (static_cast<int32_t>(h.code) == code) return h.handle(pointer, value);
  return 0;  // no such code; callers never pass one
}

uint32_t PlayClock() { return gPlayClock.load(); }
void SetPlayClock(uint32_t ms) { gPlayClock.store(ms); }

void ClearEngineState() {
  static EngineState cleared;  // never written: the all-zero record
  gState = cleared;
}

void SetMusicRequests(MusicRequest playFromStart, MusicRequest halt) {
  gPlayFromStart.store(playFromStart);
  gHalt.store(halt);
}

void HoldMusicRequests(bool held) { gMusicRequestsHeld = held; }

void RunMusicRequest(uint8_t request) {
  if (static_cast<EngineStatus>(gStatus.load()) == EngineStatus::kExporting || gMusicRequestsHeld) return;
  MusicRequest handler = request == 0 ? gPlayFromStart.load() : request == 1 ? gHalt.load() : nullptr;
  if (handler) handler();
}

}  // namespace tsy
