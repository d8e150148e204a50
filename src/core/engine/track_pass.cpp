#include "core/engine/track_pass.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <utility>
#include <vector>

#include "core/engine/effects.h"
#include "core/engine/load_image.h"
#include "core/engine/pass_output.h"
#include "core/image/event_reader.h"
#include "core/midi/midi_bytes.h"

namespace tsy {
namespace {

// Where each track's stream ends in the engine's image copy; set with the start.
Relaxed<const uint8_t*> gStreamEnd[kTrackCount];

// Where the jump and repeat searches of a stream land, found once when the
// stream is loaded. A search is then a look-up, so a loop that takes no time
// (a jump back to a label, a repeat without a note) costs a pass its events
// and never thousands of scans of the stream.
struct StreamMarks {
  std::array<const uint8_t*, 256> labels{};                      // just after the first "EA label"; null: none
  const uint8_t* labelsEnd = nullptr;                            // where the scan for a missing label stops
  std::vector<std::pair<uint8_t, const uint8_t*>> repeatStarts;  // (index, mark), in order
};
StreamMarks gMarks[kTrackCount];

// The forward scan of a jump stops at the end mark: labels are found before
// it only. The backward search of a repeat end looks at every byte.
void FindMarks(StreamMarks& m, const uint8_t* start, const uint8_t* end) {
  m.labels.fill(nullptr);
  m.labelsEnd = nullptr;
  m.repeatStarts.clear();
  if (!start || end <= start) return;
  for (const uint8_t* q = start; q < end; ++q) {
    if (!m.labelsEnd && end - q >= 4 && std::equal(kTerminator.begin(), kTerminator.end(), q)) m.labelsEnd = q;
    if (!m.labelsEnd && end - q >= 2 && q[0] == static_cast<uint8_t>(EventCode::kLabel) && !m.labels[q[1]])
      m.labels[q[1]] = q + 2;
    if (end - q >= 4 && std::equal(kRepeatStartPrefix.begin(), kRepeatStartPrefix.end(), q))
      m.repeatStarts.emplace_back(q[3], q);
  }
  if (!m.labelsEnd) m.labelsEnd = end;
  std::sort(m.repeatStarts.begin(), m.repeatStarts.end());  // by index, then place
}

// The last "E8 01 00 index" at or before `from`; null when there is none.
const uint8_t* RepeatStartBefore(const StreamMarks& m, uint8_t index, const uint8_t* from) {
  const auto after = std::upper_bound(m.repeatStarts.begin(), m.repeatStarts.end(), std::pair(index, from));
  if (after == m.repeatStarts.begin() || std::prev(after)->first != index) return nullptr;
  return std::prev(after)->second;
}

// A pass that decodes more events than the object buffer has bytes is going
// round a loop that takes no time (a label jumping to itself, repeats of
// nothing but settings). The track can never move on in time, so it ends
// there, as a track whose label is missing does, instead of costing every
// later pass as much again.
constexpr int kMaxEventsPerPass = 16383;

constexpr uint8_t kWholeNoteTicks = 192;
constexpr uint8_t kMinTempo = 4;  // 60,000,000 / tempo must fit three bytes
constexpr int16_t kMaxTempo = 32767;

// Note values for the display: a length is written as a sum of these (ticks).
constexpr uint8_t kNoteValueTicks[] = {kWholeNoteTicks, 96, 64, 48, 32, 24, 16, 12, 8, 6, 4, 3, 2, 1};

struct Pass {
  EngineState& s;
  int t;
  PassOutput out;
  bool chainPending = false;  // a chord link waits for its note
  bool inChord = false;       // reading the notes of one chord: no due check
  int events = 0;             // events decoded in this pass
};

enum class After { kNextEvent, kStopDecoding };

uint8_t Channel(const Pass& p) { return p.s.trackChannel[p.t]; }
uint8_t Clamp7(int value) { return static_cast<uint8_t>(std::clamp(value, 0, 127)); }

After EndTrack(Pass& p) {
  p.s.trackPos[p.t] = nullptr;
  return After::kStopDecoding;
}

// ---------------------------------------------------------------- notes

// A length under a whole note as a sum of note values (4 = quarter, 12 =
// eighth triplet). Where the length is a multiple of 3 (no triplet in it),
// the triplet values between 3 and 96 ticks are stepped over.
struct LengthSpelling {
  uint8_t count = 0;
  uint8_t values[std::size(kNoteValueTicks)] = {};
};

constexpr LengthSpelling SpellLength(uint32_t ticks) {
  LengthSpelling spelling;
  const bool noTriplet = ticks % 3 == 0;
  uint32_t rest = ticks;
  for (size_t i = 1; i < std::size(kNoteValueTicks); ++i) {
    while (rest >= kNoteValueTicks[i]) {
      spelling.values[spelling.count++] = static_cast<uint8_t>(kWholeNoteTicks / kNoteValueTicks[i]);
      rest -= kNoteValueTicks[i];
    }
    if (i + 1 < std::size(kNoteValueTicks)) {
      const uint8_t next = kNoteValueTicks[i + 1];
      if (next > 3 && next < 96 && noTriplet && rest % 3 == 0) ++i;
    }
  }
  return spelling;
}

// Every length under a whole note, spelt once when the program is built
// (a spelling longer than its array would not compile): each note's pass
// shows its length, and a seek runs thousands of passes.
constexpr auto kSpellings = [] {
  std::array<LengthSpelling, kWholeNoteTicks> spellings{};
  for (uint32_t ticks = 0; ticks < kWholeNoteTicks; ++ticks) spellings[ticks] = SpellLength(ticks);
  return spellings;
}();

// lengthValues <- `ticks` as whole notes, then the rest spelt as above, as
// many values as the record holds.
void WriteLengthValues(EngineState& s, int t, uint32_t ticks) {
  int count = 0;
  for (uint32_t whole = ticks / kWholeNoteTicks; whole > 0 && count < kLengthValueSlots; --whole)
    s.lengthValues[t][count++] = 1;
  const LengthSpelling& rest = kSpellings[ticks % kWholeNoteTicks];
  for (int i = 0; i < rest.count && count < kLengthValueSlots; ++i) s.lengthValues[t][count++] = rest.values[i];
  s.lengthValueCount[t] = static_cast<int16_t>(count - 1);
}

// note -> note flags gate n length*(n+1): the first note of an event sets its
// timing; a chord member (its note number alone) shares it.
void ReadNoteHeader(Pass& p, const uint8_t* e, uint8_t note, uint8_t oldNote) {
  EngineState& s = p.s;
  const int t = p.t;
  s.noteFlags[t] = e[kNoteFlagsAt];
  s.gate[t] = e[kNoteGateAt];
  uint32_t ticks = 0;
  for (size_t i = 0; i <= e[kNoteCountAt]; ++i) ticks += std::max<uint8_t>(e[kNoteLengthsAt + i], 1);

  if (note != kRestNote) {
    s.onTick[t] = s.dueTick[t];
    if (s.noteFlags[t] & kNoteAttack) s.onMs[t] = s.endMs[t];
  } else if (oldNote != kRestNote) {
    s.restTick[t] = s.dueTick[t];
    s.restMs[t] = s.endMs[t];
  }
  s.gateTick[t] = s.dueTick[t] + s.gate[t] * ticks / 8;
  s.dueTick[t] = s.dueTick[t] + ticks;
  // The projected end in ms uses 360 where a quarter note has 400 units: at
  // tempo 120 a quarter note projects 450 ms. Wide arithmetic for long
  // notes; the division by the tempo fits 32 bits, which divide much faster.
  const uint64_t unit = 600000u / static_cast<uint32_t>(std::max<int>(s.tempo, 1));
  s.endMs[t] = static_cast<uint32_t>(s.passMs + (unit * ticks * 360 / 192) / 1000);
  WriteLengthValues(s, t, ticks);
}

void CancelBendRamp(Pass& p, uint8_t ch) {
  EngineState& s = p.s;
  s.bendNow[ch] = s.bendAmount[ch] = 0.0f;
  s.bendSteps[ch] = s.bendDone[ch] = 0;
  p.out.ChannelMessage(midi::kPitchBend, ch, midi::Lsb7(midi::kCentre14), midi::Msb7(midi::kCentre14));
}

// A note's state and its note-on (none when muted or for a tie's continuation).
void StartNote(Pass& p, const uint8_t* e, int i) {
  EngineState& s = p.s;
  const int t = p.t;
  const uint8_t note = e[0];
  const uint8_t oldNote = s.eventNotes[t][i];
  s.eventNotes[t][i] = note;
  if (i == 0) ReadNoteHeader(p, e, note, oldNote);
  s.chordSize[t] = static_cast<uint8_t>(i + 1);

  if (note != kRestNote && (s.noteFlags[t] & kNoteAttack)) {
    const uint8_t ch = Channel(p);
    if (i == 0 && s.bendDone[ch] > 1) CancelBendRamp(p, ch);
    s.soundingNotes[t][i] = note;
    s.noteState[t] = kNoteMuted;
    if (s.trackMute[t] == 0) {
      s.noteChannel[t] = ch;
      p.out.ChannelMessage(midi::kNoteOn, ch, note, s.velocity[t]);
      s.noteState[t] = kNoteSounding;
    }
  }
}

// note-event -> a note; after it a chord goes on only behind a chord link.
After NoteEvent(Pass& p, const uint8_t* e) {
  const int i = p.s.chordSize[p.t];
  if (i < kChordNotes) StartNote(p, e, i);  // the record holds no more notes of one event
  if (!p.chainPending) return After::kStopDecoding;
  p.chainPending = false;
  p.inChord = true;
  return After::kNextEvent;
}

// ---------------------------------------------------------------- other events

After OnControlChange(Pass& p, const uint8_t* e) {
  p.out.ControlChange(Channel(p), e[1], e[2]);
  return After::kNextEvent;
}

After OnControllerRamp(Pass& p, const uint8_t* e) {
  const uint8_t controller = e[4];
  if (controller < kControllerCount) StartControllerRamp(p.s, Channel(p), controller, ReadU16(e + 1), e[5], e[6]);
  return After::kNextEvent;
}

After OnPortamento(Pass& p, const uint8_t* e) {
  const uint8_t ch = Channel(p);
  StartBendRamp(p.s, ch, ReadU16(e + 1), static_cast<int8_t>(e[3]));
  p.out.ControlChanges(ch, midi::kBendRangeSetting);
  return After::kNextEvent;
}

After OnProgramChange(Pass& p, const uint8_t* e) {
  const uint8_t ch = Channel(p);
  p.s.program[ch] = e[1];
  p.out.ChannelMessage(midi::kProgramChange, ch, e[1], 0);
  return After::kNextEvent;
}

After OnVelocity(Pass& p, const uint8_t* e) {
  p.s.velocity[p.t] = Clamp7(e[1] + p.s.velocityBias[p.t]);
  return After::kNextEvent;
}

After OnTrackVolume(Pass& p, const uint8_t* e) {
  const uint8_t ch = Channel(p);
  p.s.volume[ch] = e[1];
  p.out.ControlChange(ch, midi::kVolume, e[1]);
  return After::kNextEvent;
}

// The expression a relative or offset step starts from: one never sent counts
// as the value a reset that initialises the channels gives.
int ExpressionNow(const Pass& p) {
  const uint8_t value = p.s.expression[Channel(p)];
  return value == kUnsetSetting ? kResetExpression : value;
}

void SetExpression(Pass& p, int value) {
  const uint8_t ch = Channel(p);
  p.s.expression[ch] = Clamp7(value);
  p.out.ControlChange(ch, midi::kExpression, p.s.expression[ch]);
}

// C3 and C4 with a selector other than 0 and 1 are two bytes and do nothing.
After OnRelativeChange(Pass& p, const uint8_t* e) {
  const int delta = static_cast<int8_t>(e[2]);
  if (e[1] == kSelectVelocity) p.s.velocity[p.t] = Clamp7(p.s.velocity[p.t] + delta);
  if (e[1] == kSelectExpression) SetExpression(p, ExpressionNow(p) + delta);
  return After::kNextEvent;
}

After OnOffset(Pass& p, const uint8_t* e) {
  const int8_t bias = static_cast<int8_t>(e[2]);
  if (e[1] == kSelectVelocity) {
    p.s.velocityBias[p.t] = bias;
    p.s.velocity[p.t] = Clamp7(p.s.velocity[p.t] + bias);
  } else if (e[1] == kSelectExpression) {
    p.s.expressionBias[Channel(p)] = bias;
    SetExpression(p, ExpressionNow(p) + bias);
  }
  return After::kNextEvent;
}

After OnPan(Pass& p, const uint8_t* e) {
  const uint8_t ch = Channel(p);
  p.s.pan[ch] = e[1];
  p.out.ControlChange(ch, midi::kPan, e[1]);
  return After::kNextEvent;
}

// Fine tuning goes out as registered parameter 1.
After OnDetune(Pass& p, const uint8_t* e) {
  const uint8_t ch = Channel(p);
  const uint16_t value = ReadU16(e + 1);
  p.s.fineTune[ch] = static_cast<int16_t>(value);
  p.out.ControlChanges(ch, midi::FineTuneSetting(value));
  return After::kNextEvent;
}

After OnExpression(Pass& p, const uint8_t* e) {
  SetExpression(p, e[1] + p.s.expressionBias[Channel(p)]);
  return After::kNextEvent;
}

After OnChannel(Pass& p, const uint8_t* e) {
  p.s.trackChannel[p.t] = e[1] & 0x0F;
  return After::kNextEvent;
}

After OnTrackTag(Pass& p, const uint8_t* e) {
  p.s.trackTag[p.t] = e[1];
  return After::kNextEvent;
}

After OnRepeatStart(Pass& p, const uint8_t* e) {
  p.s.repeatCount[p.t][e[3]] = 0;
  return After::kNextEvent;
}

// repeat-end -> E9 index count: back to just after the last "E8 01 00 index"
// that begins at or before the event's last byte (at any byte, not only at an
// event), until the body has run `count` times.
After OnRepeatEnd(Pass& p, const uint8_t* e) {
  EngineState& s = p.s;
  const uint8_t index = e[1];
  s.repeatCount[p.t][index] += 1;
  if (e[2] > s.repeatCount[p.t][index]) {
    if (const uint8_t* mark = RepeatStartBefore(gMarks[p.t], index, e + 2)) {
      s.trackPos[p.t] = mark + kRepeatStartPrefix.size() + 1;
      return After::kNextEvent;
    }
  }
  // Done, or no repeat start to go back to: go on after the repeat end.
  s.repeatCount[p.t][index] = 0;
  return After::kNextEvent;
}

After OnLabel(Pass&, const uint8_t*) { return After::kNextEvent; }

// jump -> EB label: continue after the first "EA label" of the stream, at any
// byte before the end mark; without the label the track continues at the end
// mark (or the stream's end), so it ends.
After OnJump(Pass& p, const uint8_t* e) {
  EngineState& s = p.s;
  const StreamMarks& marks = gMarks[p.t];
  if (const uint8_t* label = marks.labels[e[1]]) {
    s.trackPos[p.t] = label;
    s.jumpCount[p.t] += 1;
  } else {
    s.trackPos[p.t] = marks.labelsEnd;
  }
  return After::kNextEvent;
}

After OnNoOutput(Pass& p, const uint8_t*) {
  p.s.syncArmed = 0;
  return After::kStopDecoding;
}

After OnBarLine(Pass& p, const uint8_t*) {
  p.s.syncArrived += 1;
  if (p.s.syncArmed == 1) p.s.eventNotes[p.t][0] = kEventWaiting;
  return After::kStopDecoding;
}

// The tempo also goes to the SMF writer as a meta event (µs per quarter note).
After OnTempo(Pass& p, const uint8_t* e) {
  const int16_t tempo = static_cast<int16_t>(std::clamp<int>(ReadU16(e + 1), kMinTempo, kMaxTempo));
  p.s.songTempo = p.s.tempo = tempo;
  if (uint8_t* slot = p.out.OpenSlot(midi::kTempoMetaSize)) {
    const auto meta = midi::TempoMeta(60000000u / static_cast<uint32_t>(tempo));
    std::copy(meta.begin(), meta.end(), slot);
    p.out.CloseMeta(midi::kTempoMetaSize);
  }
  return After::kNextEvent;
}

After OnChannelFlag(Pass& p, const uint8_t* e) {
  const uint8_t bit = e[1] & 31;
  if (bit < 16) {
    const uint8_t ch = Channel(p);
    const uint16_t mask = static_cast<uint16_t>(1u << bit);
    p.s.chanFlags[ch] = static_cast<uint16_t>((e[1] & 0x80) ? p.s.chanFlags[ch] | mask : p.s.chanFlags[ch] & ~mask);
  }
  return After::kNextEvent;
}

After OnComment(Pass& p, const uint8_t* e) {
  int i = 0;
  for (; i < kTrackTextSize - 1 && e[1 + i] != 0; ++i) p.s.trackText[i] = static_cast<char>(e[1 + i]);
  p.s.trackText[i] = '\0';
  return After::kNextEvent;
}

After OnRestartStop(Pass&, const uint8_t* e) {
  RunMusicRequest(e[1]);
  return After::kNextEvent;
}

After OnChordLink(Pass& p, const uint8_t*) {
  p.chainPending = true;
  return After::kNextEvent;
}

// A message longer than a slot, or empty, is dropped.
After OnSystemExclusive(Pass& p, const uint8_t* e) {
  const uint8_t length = e[1];
  if (length == 0) return After::kNextEvent;
  if (uint8_t* slot = p.out.OpenSlot(length)) {
    std::copy(e + 2, e + 2 + length, slot);
    p.out.CloseSysEx(length);
  }
  return After::kNextEvent;
}

struct EventHandler {
  EventCode code;
  After (*handle)(Pass& p, const uint8_t* event);
};

// ORDER EventCode: the rows of kEventTable, one handler each.
constexpr EventHandler kEventHandlers[] = {
    {EventCode::kControlChange, OnControlChange},
    {EventCode::kControllerRamp, OnControllerRamp},
    {EventCode::kPortamento, OnPortamento},
    {EventCode::kProgramChange, OnProgramChange},
    {EventCode::kVelocity, OnVelocity},
    {EventCode::kTrackVolume, OnTrackVolume},
    {EventCode::kRelativeChange, OnRelativeChange},
    {EventCode::kOffset, OnOffset},
    {EventCode::kPan, OnPan},
    {EventCode::kDetune, OnDetune},
    {EventCode::kExpression, OnExpression},
    {EventCode::kChannel, OnChannel},
    {EventCode::kTrackTag, OnTrackTag},
    {EventCode::kRepeatStart, OnRepeatStart},
    {EventCode::kRepeatEnd, OnRepeatEnd},
    {EventCode::kLabel, OnLabel},
    {EventCode::kJump, OnJump},
    {EventCode::kNoOutput, OnNoOutput},
    {EventCode::kBarLine, OnBarLine},
    {EventCode::kTempo, OnTempo},
    {EventCode::kChannelFlag, OnChannelFlag},
    {EventCode::kComment, OnComment},
    {EventCode::kRestartStop, OnRestartStop},
    {EventCode::kChordLink, OnChordLink},
    {EventCode::kSystemExclusive, OnSystemExclusive},
};

constexpr bool HandlersFollowEventTable() {
  if (std::size(kEventHandlers) != std::size(kEventTable)) return false;
  for (size_t i = 0; i < std::size(kEventTable); ++i)
    if (kEventHandlers[i].code != kEventTable[i].code) return false;
  return true;
}
static_assert(HandlersFollowEventTable(), "kEventHandlers must follow kEventTable row by row");

// Decodes the event at trackPos; an incomplete event or an end code ends the
// track where its stream ends.
After DecodeEvent(Pass& p) {
  EngineState& s = p.s;
  const uint8_t* pos = s.trackPos[p.t];
  const uint8_t* start = s.trackStart[p.t];
  const uint8_t* end = gStreamEnd[p.t];
  const size_t available = pos >= start && pos < end ? static_cast<size_t>(end - pos) : 0;
  const size_t size = EventSize(pos, available, s.chordSize[p.t] > 0);
  if (size == 0) return EndTrack(p);
  s.trackPos[p.t] = pos + size;
  if (pos[0] < kFirstEventCode) return NoteEvent(p, pos);
  const size_t row = static_cast<size_t>(FindEvent(pos[0]) - kEventTable);
  return kEventHandlers[row].handle(p, pos);
}

// The events that are due: a step of the channel's ramps before each one,
// then the event itself while its tick has come (or while reading a chord).
void DecodeDueEvents(Pass& p) {
  EngineState& s = p.s;
  for (;;) {
    StepChannelRamps(s, p.t, p.out);
    if (!p.inChord && s.dueTick[p.t] > s.passTick) return;
    if (p.events++ >= kMaxEventsPerPass) {
      EndTrack(p);
      return;
    }
    if (!p.inChord) s.chordSize[p.t] = 0;
    if (DecodeEvent(p) == After::kStopDecoding) return;
  }
}

void ExpireGate(Pass& p) {
  EngineState& s = p.s;
  const int t = p.t;
  if (s.noteState[t] != kNoteSounding || s.gateTick[t] > s.passTick || s.eventNotes[t][0] == kEventRest ||
      !(s.noteFlags[t] & kNoteRelease))
    return;
  const uint8_t ch = s.noteChannel[t];  // where the note-ons went, though a tie changed channel
  const int notes = std::min<int>(s.chordSize[t], kChordNotes);
  for (int i = 0; i < notes; ++i) p.out.ChannelMessage(midi::kNoteOff, ch, s.soundingNotes[t][i], 0);
  s.offMs[t] = s.passMs;
  s.offTick[t] = s.passTick;
  s.noteState[t] = kNoteIdle;
}

// Shows the notes as the bend makes them sound, for the displays. The first
// note never shows as 127 or 128, which would read as the rest or waiting marker.
void ShowBentNotes(EngineState& s, int t) {
  const uint8_t first = s.eventNotes[t][0];
  const float bend = s.bendNow[s.trackChannel[t]];
  if (first == kEventRest || first == kEventWaiting || std::abs(static_cast<int>(bend)) >= 8192) return;
  const int shift = static_cast<int>(((bend - 170.0f) * (1.0f / 24)) * (1.0f / 12));
  const int notes = std::min<int>(s.chordSize[t], kChordNotes);
  for (int i = 0; i < notes; ++i) {
    const uint8_t shown = static_cast<uint8_t>(s.soundingNotes[t][i] + shift);
    if (i == 0 && (shown == kEventRest || shown == kEventWaiting)) continue;
    s.eventNotes[t][i] = shown;
  }
}

// The bar-line synchronisation, run in the pass of the last track: when every
// track that still has a stream has reached its mark, all waiting tracks go
// on at this tick.
void ReleaseSynchronisedTracks(EngineState& s) {
  if (s.syncArrived == 0) return;  // no track waits: nothing to release, nothing to count
  int live = 0;
  for (int t = 0; t < kTrackCount; ++t)
    if (s.trackPos[t] != nullptr) ++live;
  if (live != s.syncArrived) return;
  for (int t = 0; t < kTrackCount; ++t) {
    if (s.trackPos[t] == nullptr || s.eventNotes[t][0] != kEventWaiting) continue;
    s.eventNotes[t][0] = kEventRest;
    s.dueTick[t] = s.passTick;
  }
  s.syncArrived = 0;
}

int PassOfTrack(Pass& p) {
  EngineState& s = p.s;
  const int t = p.t;
  if (s.trackPos[t] == nullptr) return -1;
  if (s.eventNotes[t][0] == kEventWaiting) return 0;
  if (s.eventNotes[t][0] == kEventRest) {
    s.msSinceRest[t] = s.passMs - s.restMs[t];
    s.ticksSinceRest[t] = s.passTick - s.restTick[t];
  }
  ExpireGate(p);
  s.msSinceOff[t] = s.passMs - s.offMs[t];
  s.ticksSinceOff[t] = s.passTick - s.offTick[t];
  StepFade(s, p.out);
  DecodeDueEvents(p);
  ShowBentNotes(s, t);
  return p.out.count();
}

}  // namespace

void LoadTrackStream(int track, const uint8_t* stream) {
  EngineState& s = GetState();
  s.trackStart[track] = s.trackPos[track] = stream;
  gStreamEnd[track] = StreamEndInImage(stream);
  FindMarks(gMarks[track], stream, gStreamEnd[track]);
}

int RunTrackPass(int track, MessageWord* messages, MessageSlots* slots) {
  EngineState& s = GetState();
  s.passTick = s.tick;
  s.passMs = PlayClock();
  s.msSinceOn[track] = s.passMs - s.onMs[track];
  s.ticksSinceOn[track] = s.passTick - s.onTick[track];
  Pass pass{s, track, PassOutput(messages, slots)};
  const int result = PassOfTrack(pass);
  if (track == kTrackCount - 1) ReleaseSynchronisedTracks(s);
  return result;
}

int RunGateExpiry(int track, MessageWord* messages, MessageSlots* slots) {
  EngineState& s = GetState();
  s.passTick = s.tick;
  s.passMs = PlayClock();
  Pass pass{s, track, PassOutput(messages, slots)};
  ExpireGate(pass);
  return pass.out.count();
}

}  // namespace tsy
