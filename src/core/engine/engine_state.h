#pragma once
// EngineState: the one record that holds everything the play engine knows,
// fixed tables indexed by track (0..47) and MIDI channel (0..15). There is one
// engine per process, so the record is a statically allocated global
// (GetState() in engine_call.h). Tables that survive ResetEngine come first
// (EngineKeptTables); ResetEngine clears every table of EngineResetTables.
//
// Every field is a Relaxed<T>: the play thread, the user-interface thread and
// the displays share the record without a lock. The displays paint from the
// published copy of state_snapshot.h, not from the live record.
//
// Units: ticks are 1/48 of a quarter note (192 to a whole note); ms are
// milliseconds of the play clock.

#include <cstddef>
#include <cstdint>

#include "core/engine/relaxed.h"
#include "core/image/image_layout.h"  // kTrackCount

namespace tsy {

constexpr int kChannelCount = 16;
constexpr int kControllerCount = 128;
constexpr int kChordNotes = 12;        // notes of one event the record can hold
constexpr int kLengthValueSlots = 48;  // note values of one length, for the display
constexpr int kRepeatDepths = 256;     // repeat counters per track, by nesting index
constexpr int kTrackTextSize = 82;     // last comment, NUL included

// eventNotes[t][0] markers.
constexpr uint8_t kEventRest = 127;      // the current event is a rest
constexpr uint8_t kEventWaiting = 0x80;  // the track waits at a synchronisation mark

// noteState values.
constexpr uint8_t kNoteIdle = 0;
constexpr uint8_t kNoteSounding = 1;  // note-on sent, note-off pending
constexpr uint8_t kNoteMuted = 2;     // note started without a note-on

// chanFlags bits.
constexpr uint16_t kChanRhythmNames = 0x0001;  // named from the rhythm tone table
constexpr uint16_t kChanSustain = 0x0002;      // controller 64 at 64 or more
constexpr uint16_t kChanSoftPedal = 0x0004;    // controller 67 at 64 or more

// noteFlags bits beyond the compiler's attack/release/slurred: set whenever
// a pitch-bend step is sent on the track's channel, for the track display.
constexpr uint8_t kNoteBent = 0x0C;

// Unset channel settings: nothing has been sent for them yet.
constexpr uint8_t kUnsetSetting = 255;
constexpr int16_t kUnsetFineTune = 0x7FFF;
constexpr float kUnsetBend = 65535.0f;
constexpr uint8_t kResetExpression = 127;  // controller 11 after a reset that initialises the channels

// resetsSeen bits: device resets sent since the output was opened.
constexpr uint32_t kResetGmSystemOn = 1;
constexpr uint32_t kResetGs = 2;
constexpr uint32_t kResetXgSystemOn = 4;
constexpr uint32_t kResetSc88Mode = 8;

// Survives ResetEngine; cleared only when the whole record is (output opening).
struct EngineKeptTables {             // NOLINT(bugprone-reserved-identifier): compiler-made names
  Relaxed<int32_t> deviceKind;        // 0 "MIDI Mapper", 1 "Direct Music", n + 2 system port n
  Relaxed<uint8_t> imageAccepted;     // 1: a TrackPass may run
  Relaxed<uint8_t> imageVersion;      // the image's format version byte; passes need >= 17
  Relaxed<const uint8_t*> image;      // the engine's copy of the object image
  Relaxed<const uint8_t*> imageData;  // image + 400; the track display's base for positions
  Relaxed<uint32_t> imageGeneration;  // images taken over while playing; tells a reader which image a copy shows

  Relaxed<const uint8_t*> trackPos[kTrackCount];    // next stream byte; null = absent or ended
  Relaxed<const uint8_t*> trackStart[kTrackCount];  // first stream byte; base of label searches
  Relaxed<uint32_t> gateTick[kTrackCount];          // tick at which the current gate expires
  Relaxed<uint32_t> ticksSinceOn[kTrackCount];      // ticks since the current note started
  Relaxed<uint32_t> ticksSinceOff[kTrackCount];     // ticks since the last note-off
  Relaxed<uint32_t> offTick[kTrackCount];           // tick of the last note-off
  Relaxed<uint32_t> msSinceOn[kTrackCount];         // ms since the current note started
  Relaxed<uint32_t> msSinceOff[kTrackCount];        // ms since the last note-off
  Relaxed<uint32_t> offMs[kTrackCount];             // play clock (ms) of the last note-off
};

// Cleared by ResetEngine (then given the reset values of engine_call.cpp).
struct EngineResetTables {      // NOLINT(bugprone-reserved-identifier): compiler-made names
  Relaxed<uint8_t> fadeActive;  // a fade-out runs
  Relaxed<int32_t> fadeStep;    // the last fade step acted on (one step = 8 ticks)
  Relaxed<uint32_t> fadeTick;   // tick at which the fade started
  Relaxed<uint32_t> fadeMs;     // play clock (ms) at which the fade started; recorded only
  Relaxed<uint32_t> barTick;    // tick mod 192
  Relaxed<uint32_t> tick;       // ticks since play started
  Relaxed<uint32_t> passTick;   // the tick a TrackPass works with

  Relaxed<uint32_t> dueTick[kTrackCount];         // tick at which the next event is due
  Relaxed<uint32_t> onTick[kTrackCount];          // tick at which the current note started
  Relaxed<uint32_t> ticksSinceRest[kTrackCount];  // ticks since the current rest started
  Relaxed<uint32_t> restTick[kTrackCount];        // tick at which the current rest started
  Relaxed<uint32_t> passMs;                       // the play clock (ms) a TrackPass works with
  Relaxed<uint32_t> endMs[kTrackCount];           // projected ms at which the note's length ends
  Relaxed<uint32_t> onMs[kTrackCount];            // ms at which the current note started
  Relaxed<uint32_t> msSinceRest[kTrackCount];     // ms since the current rest started
  Relaxed<uint32_t> restMs[kTrackCount];          // ms at which the current rest started

  Relaxed<uint32_t> resetsSeen;                // kReset* bits
  Relaxed<char> trackText[kTrackTextSize];     // last comment met in any track, NUL-terminated
  Relaxed<int16_t> songTempo;                  // quarter notes per minute, as the music set it
  Relaxed<int16_t> tempo;                      // quarter notes per minute in use (the shell may change it)
  Relaxed<uint16_t> chanFlags[kChannelCount];  // kChan* bits, others set by the music

  Relaxed<uint8_t> trackChannel[kTrackCount];                     // MIDI channel 0..15 of the track
  Relaxed<uint8_t> velocity[kTrackCount];                         // note-on velocity (the shell may change it)
  Relaxed<int8_t> velocityBias[kTrackCount];                      // added when the velocity is set
  Relaxed<uint8_t> lengthValues[kTrackCount][kLengthValueSlots];  // length as note values (4 = quarter)
  Relaxed<int16_t> lengthValueCount[kTrackCount];                 // entries - 1
  Relaxed<uint8_t> chordSize[kTrackCount];                        // notes in the current event
  Relaxed<uint8_t> eventNotes[kTrackCount][kChordNotes];          // shown notes; [0] may be a marker
  Relaxed<uint8_t> soundingNotes[kTrackCount][kChordNotes];       // notes that got a note-on
  Relaxed<uint8_t> noteFlags[kTrackCount];                        // attack 1, release 2, slurred 4; kNoteBent
  Relaxed<uint8_t> gate[kTrackCount];                             // eighths of the note's length, 0..8
  Relaxed<uint8_t> noteState[kTrackCount];                        // kNoteIdle, kNoteSounding, kNoteMuted
  Relaxed<uint8_t> noteChannel[kTrackCount];                      // channel of the sounding notes' note-ons
  Relaxed<uint8_t> trackTag[kTrackCount];                         // display keyboard 1..6, 0 none
  Relaxed<uint8_t> trackMute[kTrackCount];                        // nonzero: no note-ons (the shell writes it)
  Relaxed<uint8_t> repeatCount[kTrackCount][kRepeatDepths];       // by nesting index
  Relaxed<uint8_t> jumpCount[kTrackCount];                        // label jumps taken
  Relaxed<uint8_t> syncArrived;                                   // tracks that reached a synchronisation mark
  Relaxed<uint8_t> syncArmed;                                     // marks stop tracks while 1

  // Channel settings as last sent; kUnsetSetting / kUnsetFineTune: not sent yet.
  Relaxed<uint8_t> program[kChannelCount];
  Relaxed<uint8_t> volume[kChannelCount];    // controller 7
  Relaxed<uint8_t> pan[kChannelCount];       // controller 10
  Relaxed<int16_t> fineTune[kChannelCount];  // registered parameter 1, 14 bits, 8192 = centre
  Relaxed<uint8_t> reverb[kChannelCount];    // controller 91
  Relaxed<uint8_t> chorus[kChannelCount];    // controller 93
  Relaxed<int8_t> expressionBias[kChannelCount];
  Relaxed<uint8_t> expression[kChannelCount];  // controller 11
  Relaxed<uint16_t> rpn[kChannelCount];        // last registered parameter: msb << 8 | lsb
  Relaxed<uint16_t> nrpn[kChannelCount];       // last non-registered parameter: msb << 8 | lsb
  Relaxed<uint8_t> bankMsb[kChannelCount];     // controller 0
  Relaxed<uint8_t> bankLsb[kChannelCount];     // controller 32

  // Pitch bend, in 1/8192 of the bend range (24 semitones), 0 = centre.
  Relaxed<float> bendNow[kChannelCount];      // in use; kUnsetBend = unset
  Relaxed<float> bendAmount[kChannelCount];   // the ramp's total change
  Relaxed<uint32_t> bendTick[kChannelCount];  // tick at which the ramp began
  Relaxed<int32_t> bendDone[kChannelCount];   // steps taken
  Relaxed<int32_t> bendSteps[kChannelCount];  // steps in all; 0 = no ramp

  // One controller ramp per channel and controller number.
  Relaxed<float> ccNow[kChannelCount][kControllerCount];      // current value
  Relaxed<float> ccStep[kChannelCount][kControllerCount];     // added per step
  Relaxed<uint32_t> ccTick[kChannelCount][kControllerCount];  // tick at which the ramp began
  Relaxed<int32_t> ccDone[kChannelCount][kControllerCount];   // steps taken
  Relaxed<int32_t> ccSteps[kChannelCount][kControllerCount];  // steps in all; 0 = no ramp
  Relaxed<int32_t> ccSent[kChannelCount][kControllerCount];   // last value written; -1 none
  // Which controllers of a channel have a ramp (ccSteps nonzero), one bit
  // each, so that a pass steps only those instead of all 128.
  Relaxed<uint64_t> ccRamping[kChannelCount][kControllerCount / 64];
};

struct EngineState : EngineKeptTables, EngineResetTables {};

}  // namespace tsy
