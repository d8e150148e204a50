#pragma once
// The engine's one entry, EngineCall, with its codes; the play status and
// its requests; the MessageWord packing of what a TrackPass yields; and typed
// wrappers that go through EngineCall, so every call sees the same tempo rule.
//
// Threads: the play thread drives the engine (or the SMF writer, while the
// status is kExporting); any thread may read the status and post a request
// by overwriting it. The status and the play clock are atomics.

#include <array>
#include <cstdint>

#include "core/engine/engine_state.h"
#include "core/midi/midi_bytes.h"

namespace tsy {

// ---------------------------------------------------------------- the entry

// Codes 0..47 are TrackPass (track t): with a message array it runs the pass;
// with a null pointer it is the load form, which sets the track's start.
enum class EngineCode : int32_t {
  kAcceptImage = 0xFE00,  // pointer: version byte (as an integer); value: accept flag
  kSetImage = 0xFF00,     // pointer: image or null; value: data address or 0
  kGetState = 0xFF01,     // result: address of the EngineState
  kGetStatus = 0xFF02,    // result: status; kStarted turns into kPlaying
  kRequestStop = 0xFF03,
  kConfirmStopped = 0xFF04,  // play thread: stop time := play clock
  kRequestStart = 0xFF05,
  kResetEngine = 0xFF06,
  kConfirmRunning = 0xFF07,  // play thread; result: play clock - stop time (ms)
  kRequestResume = 0xFF08,
  kRefreshIdle = 0xFF0A,  // play thread, while stopped: ages follow the clock
  kStartFade = 0xFF0B,
  kRequestExport = 0xFF0E,
  kConfirmExport = 0xFF0F,
};

// Before handling any code: a tempo of 0 takes songTempo, and if that is 0
// too both become 120. Results are addresses for kGetState and kSetImage.
intptr_t EngineCall(int32_t code, void* pointer, intptr_t value);

// ---------------------------------------------------------------- play status

enum class EngineStatus : int32_t {
  kPlaying = 0,            // the play thread runs passes
  kStopRequested = 1,      // to silence and stop; also the value at program start
  kStopped = 2,            // halted; the position is kept
  kStartRequested = 3,     // to reset the device and start from tick 0
  kStarted = 4,            // just (re)started; the first GetStatus turns it into kPlaying
  kResumeRequested = 5,    // to continue from the kept position
  kExportRequested = 254,  // the SMF writer wants the engine
  kExporting = 255,        // the play thread leaves the engine alone
};

// ---------------------------------------------------------------- messages

// A MessageWord is one item of a pass's output:
// - low byte nonzero: a MIDI short message, status in bits 0-7, data bytes in
//   bits 8-15 and 16-23 (the platform's short-message packing);
// - low byte zero, bits 8-15 zero: system exclusive, slot in bits 16-23,
//   length in bits 24-31;
// - low byte zero, bits 8-15 nonzero: a meta event for the SMF writer only,
//   slot and length as above.
using MessageWord = uint32_t;

constexpr int kMessageCapacity = 256;  // MessageWords one pass may write
constexpr int kSlotCount = 256;        // slots one pass may use
constexpr int kSlotSize = 128;         // bytes of one slot
using MessageSlot = std::array<uint8_t, kSlotSize>;
using MessageSlots = std::array<MessageSlot, kSlotCount>;

constexpr MessageWord ShortMessage(uint8_t status, uint8_t data1, uint8_t data2) {
  return MessageWord{status} | MessageWord{data1} << 8 | MessageWord{data2} << 16;
}
// A channel message of `kind` (midi::kNoteOn, ...) on `channel` (0..15).
constexpr MessageWord ChannelWord(uint8_t kind, int channel, uint8_t data1, uint8_t data2) {
  return ShortMessage(midi::Status(kind, channel), data1, data2);
}
constexpr MessageWord ControlChangeWord(int channel, uint8_t controller, uint8_t value) {
  return ChannelWord(midi::kControlChange, channel, controller, value);
}
constexpr MessageWord SysExWord(uint8_t slot, uint8_t length) {
  return MessageWord{slot} << 16 | MessageWord{length} << 24;
}
constexpr MessageWord MetaWord(uint8_t slot, uint8_t length) {
  return MessageWord{1} << 8 | MessageWord{slot} << 16 | MessageWord{length} << 24;
}

constexpr uint8_t WordStatus(MessageWord w) { return w & 0xFF; }
constexpr uint8_t WordData1(MessageWord w) { return (w >> 8) & 0xFF; }
constexpr uint8_t WordData2(MessageWord w) { return (w >> 16) & 0xFF; }
constexpr uint8_t WordSlot(MessageWord w) { return (w >> 16) & 0xFF; }
constexpr uint8_t WordLength(MessageWord w) { return w >> 24; }
constexpr bool IsShortMessage(MessageWord w) { return WordStatus(w) != 0; }
constexpr bool IsSysExWord(MessageWord w) { return (w & 0xFFFF) == 0; }
constexpr bool IsMetaWord(MessageWord w) { return WordStatus(w) == 0 && WordData1(w) != 0; }
// A note-off or note-on: the play thread and the SMF writer send these last.
constexpr bool IsNoteMessage(MessageWord w) {
  const uint8_t kind = midi::KindOf(WordStatus(w));
  return IsShortMessage(w) && (kind == midi::kNoteOff || kind == midi::kNoteOn);
}

// ---------------------------------------------------------------- typed calls

inline EngineState& GetState() {
  return *reinterpret_cast<EngineState*>(EngineCall(static_cast<int32_t>(EngineCode::kGetState), nullptr, 0));
}
inline EngineStatus GetStatus() {
  return static_cast<EngineStatus>(EngineCall(static_cast<int32_t>(EngineCode::kGetStatus), nullptr, 0));
}
inline void RequestStop() { EngineCall(static_cast<int32_t>(EngineCode::kRequestStop), nullptr, 0); }
inline void ConfirmStopped() { EngineCall(static_cast<int32_t>(EngineCode::kConfirmStopped), nullptr, 0); }
inline void RequestStart() { EngineCall(static_cast<int32_t>(EngineCode::kRequestStart), nullptr, 0); }
inline void ResetEngine() { EngineCall(static_cast<int32_t>(EngineCode::kResetEngine), nullptr, 0); }
// Returns the length of the pause in ms (play clock minus stop time).
inline uint32_t ConfirmRunning() {
  return static_cast<uint32_t>(EngineCall(static_cast<int32_t>(EngineCode::kConfirmRunning), nullptr, 0));
}
inline void RequestResume() { EngineCall(static_cast<int32_t>(EngineCode::kRequestResume), nullptr, 0); }
inline void RefreshIdle() { EngineCall(static_cast<int32_t>(EngineCode::kRefreshIdle), nullptr, 0); }
inline void StartFade() { EngineCall(static_cast<int32_t>(EngineCode::kStartFade), nullptr, 0); }
inline void RequestExport() { EngineCall(static_cast<int32_t>(EngineCode::kRequestExport), nullptr, 0); }
inline void ConfirmExport() { EngineCall(static_cast<int32_t>(EngineCode::kConfirmExport), nullptr, 0); }

inline void AcceptImage(uint8_t version, uint8_t accept) {
  EngineCall(static_cast<int32_t>(EngineCode::kAcceptImage), reinterpret_cast<void*>(uintptr_t{version}), accept);
}
// Sets image and imageData when `data` is not null; returns image when
// `image` is null, else imageData.
inline const uint8_t* SetImage(const uint8_t* image, const uint8_t* data) {
  return reinterpret_cast<const uint8_t*>(EngineCall(static_cast<int32_t>(EngineCode::kSetImage),
                                                     const_cast<uint8_t*>(image), reinterpret_cast<intptr_t>(data)));
}
// The image the engine plays, or null.
inline const uint8_t* CurrentImage() { return SetImage(nullptr, nullptr); }

// Load form: track t (0..47) starts at `stream` (null: no track).
inline void LoadTrack(int track, const uint8_t* stream) {
  EngineCall(track, nullptr, reinterpret_cast<intptr_t>(stream));
}
// Runs track t's pass into `messages` (kMessageCapacity words) and `slots`
// (null: messages that need a slot are dropped). Returns the number of words
// written, or -1 when the track has no stream or no image was accepted.
inline int TrackPass(int track, MessageWord* messages, MessageSlots* slots) {
  return static_cast<int>(EngineCall(track, messages, reinterpret_cast<intptr_t>(slots)));
}

// ---------------------------------------------------------------- outside the record

// The play clock: ms since play last started; written by the play thread only.
uint32_t PlayClock();
void SetPlayClock(uint32_t ms);

// Clears the whole record, as opening an output does (also for tests).
void ClearEngineState();

// Who carries out the music's own requests (event FC): the play controls
// install their asynchronous play-from-start and halt here, so that the play
// thread never waits for itself. Without a handler the request is ignored.
using MusicRequest = void (*)();
void SetMusicRequests(MusicRequest playFromStart, MusicRequest halt);
// While held, the music's requests are ignored: a seek runs the passes
// silently to a later tick, and music on the way there asks for nothing.
void HoldMusicRequests(bool held);
// The music asks to restart from the top (0) or to stop (1); any other value,
// and any request while the SMF writer has the engine or requests are held,
// is ignored.
void RunMusicRequest(uint8_t request);

}  // namespace tsy
