#include "core/compiler/commands.h"

#include <array>
#include <string>
#include <string_view>

#include "core/compiler/lengths.h"
#include "core/compiler/ornaments.h"
#include "core/compiler/pitch.h"
#include "core/compiler/structure.h"
#include "core/compiler/sysex.h"
#include "core/compiler/tones.h"
#include "core/image/event_table.h"
#include "core/midi/midi_bytes.h"

namespace tsy {
namespace {

constexpr int32_t kMaxDataValue = 127;
constexpr int32_t kMaxDetune = 8191;  // either side of the centre

// ---------------------------------------------------------------- values

enum class Signs { kNone, kAllowed, kRejected };  // kRejected: any sign raises kNotANumber

// Up to four values separated by ','; a value not written is 0.
struct Values {
  std::array<Value, 4> at{};
};

// Reads up to `count` values. False after a fault.
bool ReadValues(ParseContext& cx, size_t count, Signs signs, Values& values) {
  for (size_t i = 0; i < count; ++i) {
    bool sign = cx.Peek() == '+' || cx.Peek() == '-';
    if (signs == Signs::kRejected && sign) {
      cx.Fault(TextId::kNotANumber);
      return false;
    }
    if (signs == Signs::kAllowed) {
      if (!cx.ReadSigned(values.at[i])) return false;
    } else {
      values.at[i] = cx.ReadUnsigned();
      if (signs == Signs::kRejected && (cx.Peek() == '+' || cx.Peek() == '-')) {
        cx.Fault(TextId::kNotANumber);
        return false;
      }
    }
    if (i + 1 == count || !cx.Accept(',')) break;
  }
  return true;
}

bool InRange(int32_t value, int32_t low, int32_t high) { return value >= low && value <= high; }

void ControlChange(ParseContext& cx, int controller, int value) {
  cx.out.Event<EventCode::kControlChange>({static_cast<uint8_t>(controller), static_cast<uint8_t>(value)});
}

// One value in `low`..`high` (else `fault`), handed to `emit`.
template <typename Emit>
void SingleValue(ParseContext& cx, Signs signs, int32_t low, int32_t high, TextId fault, Emit emit) {
  Values values;
  if (!ReadValues(cx, 1, signs, values)) return;
  if (!InRange(values.at[0].value, low, high)) {
    cx.Fault(fault);
    return;
  }
  emit(values.at[0].value);
}

// Per-value controller commands: each written value sets its own controller.
// `scale` turns a value into controller data (127 for on/off pedals).
struct PerValue {
  size_t read;                 // values read (more may be written than used)
  std::array<int, 4> targets;  // controller (or sound NRPN LSB) of each used value, -1 unused
  Signs signs;
  int32_t low, high;
  TextId fault;          // message of a bad value
  bool faultShowsValue;  // the message shows the value
  bool nrpn;             // NRPN kNrpnSound/target = value + 64, else CC target = value * scale
  int scale;
};

void PerValueCommand(ParseContext& cx, const PerValue& command) {
  Values values;
  if (!ReadValues(cx, command.read, command.signs, values)) return;
  for (size_t i = 0; i < command.targets.size() && command.targets[i] >= 0; ++i) {
    const Value& v = values.at[i];
    if (!v.written) continue;
    if (!InRange(v.value, command.low, command.high)) {
      command.faultShowsValue ? cx.FaultValue(command.fault, v.value) : cx.Fault(command.fault);
      return;
    }
  }
  for (size_t i = 0; i < command.targets.size() && command.targets[i] >= 0; ++i) {
    const Value& v = values.at[i];
    if (!v.written) continue;
    if (command.nrpn) {
      ControlChange(cx, midi::kNrpnMsb, midi::kNrpnSound);
      ControlChange(cx, midi::kNrpnLsb, command.targets[i]);
      ControlChange(cx, midi::kDataEntry, v.value + midi::kNrpnCentre);
    } else {
      ControlChange(cx, command.targets[i], v.value * command.scale);
    }
  }
}

// ---------------------------------------------------------------- commands

void Cont(ParseContext& cx) {
  Values values;
  if (!ReadValues(cx, 2, Signs::kNone, values)) return;
  if (values.at[0].value > kMaxDataValue || values.at[1].value > kMaxDataValue) {
    cx.Fault(TextId::kContValueOutOfRange);
    return;
  }
  ControlChange(cx, values.at[0].value, values.at[1].value);
}

void Hold(ParseContext& cx) {
  Value n = cx.ReadUnsigned();
  if (!n.written) return;
  if (n.value > 1) {
    cx.FaultValue(TextId::kHoldValueOutOfRange, n.value);
    return;
  }
  ControlChange(cx, midi::kSustain, n.value * midi::kPedalOn);
}

// The controllers and sound parameters of the per-value commands, in the order of their values.
constexpr std::array<int, 4> kSosTargets = {midi::kSostenuto, midi::kSoftPedal, -1, -1};
constexpr std::array<int, 4> kRevTargets = {midi::kReverbSend, midi::kChorusSend, midi::kTremoloDepth,
                                            midi::kCelesteDepth};
constexpr std::array<int, 4> kLfovTargets = {midi::kNrpnVibratoRate, midi::kNrpnVibratoDepth, midi::kNrpnVibratoDelay,
                                             -1};
constexpr std::array<int, 4> kCfrTargets = {midi::kNrpnFilterCutoff, midi::kNrpnFilterResonance, -1, -1};

void Sos(ParseContext& cx) {
  PerValueCommand(cx,
                  {4, kSosTargets, Signs::kRejected, 0, 1, TextId::kSosValueOutOfRange, true, false, midi::kPedalOn});
}
void Rev(ParseContext& cx) {
  PerValueCommand(cx, {4, kRevTargets, Signs::kNone, 0, kMaxDataValue, TextId::kContValueOutOfRange, false, false, 1});
}
void Lfov(ParseContext& cx) {
  PerValueCommand(cx, {3, kLfovTargets, Signs::kAllowed, -50, 50, TextId::kLfovValueOutOfRange, true, true, 1});
}
void Cfr(ParseContext& cx) {
  PerValueCommand(cx, {4, kCfrTargets, Signs::kAllowed, -50, 50, TextId::kCfrValueOutOfRange, true, true, 1});
}

// '@varc' length ',' 0 ',' controller ',' from ',' to
void Varc(ParseContext& cx) {
  size_t afterName = cx.pos;
  Length length = ReadLength(cx);
  if (!length.ok) return;
  if (length.ticks == 0) {
    cx.pos = afterName;  // a ramp of no time is no command
    return;
  }
  if (length.ticks < 0 || length.ticks > 0xFFFF) {
    cx.Fault(TextId::kResolutionOutOfRange);
    return;
  }
  Values values;
  if (cx.Accept(',') && !ReadValues(cx, 4, Signs::kAllowed, values)) return;
  for (int i = 0; i < 4; ++i) {
    int32_t value = values.at[i].value;
    if (i == 0 ? value != 0 : !InRange(value, 0, kMaxDataValue)) {
      cx.FaultValue(TextId::kVarcValueOutOfRange, i);
      return;
    }
  }
  uint32_t ticks = static_cast<uint32_t>(length.ticks);
  cx.out.Event<EventCode::kControllerRamp>(
      {EventWriter::Low(ticks), EventWriter::High(ticks), 0, static_cast<uint8_t>(values.at[1].value),
       static_cast<uint8_t>(values.at[2].value), static_cast<uint8_t>(values.at[3].value)});
}

// Detune in steps of `unit` (128 for @dtn, 1 for @dts); @dt divides by 4 instead.
void Detune(ParseContext& cx, int32_t multiply, int32_t divide) {
  SingleValue(cx, Signs::kAllowed, -kNumberCap, kNumberCap, TextId::kDetuneOutOfRange, [&](int32_t n) {
    int32_t detune = n * multiply / divide;
    if (!InRange(detune, -kMaxDetune, kMaxDetune)) {
      cx.Fault(TextId::kDetuneOutOfRange);
      return;
    }
    uint32_t value = static_cast<uint32_t>(detune + kDetuneCentre);
    cx.out.Event<EventCode::kDetune>({EventWriter::Low(value), EventWriter::High(value)});
  });
}

void Pan(ParseContext& cx, uint8_t value) { cx.out.Event<EventCode::kPan>({value}); }

// '@com"text"': the text as written, in CP932 bytes.
void Com(ParseContext& cx) {
  if (cx.PeekRaw() != '"') return;
  size_t close = cx.unit.text.Find('"', cx.pos + 1);
  if (close == CondensedText::npos) {
    cx.Fault(TextId::kNotUnderstood);
    return;
  }
  const std::string text = cx.unit.text.Substr(cx.pos + 1, close - cx.pos - 1);
  cx.pos = close + 1;
  if (text.size() > kMaxCommentLength) {
    cx.Fault(TextId::kCommentTooLong);
    return;
  }
  cx.out.Comment(text);
}

void KeySignature(ParseContext& cx) { ParseKeySignature(cx); }

using Handler = void (*)(ParseContext&);

struct AtCommand {
  std::string_view name;
  Handler handler;
};

// In matching order: a name stands before every shorter name that is its prefix.
constexpr AtCommand kAtCommands[] = {
    {"label", ParseLabel},
    {"noout", ParseNoOutput},
    {"jump", ParseJump},
    {"cont", Cont},
    {"lfov", Lfov},
    {"varc", Varc},
    {"hold", Hold},
    {"xasm", [](ParseContext& cx) { cx.state.skipRest = true; }},
    {"xtrn", [](ParseContext& cx) { ParseOrnament(cx, OrnamentKind::kXtrn); }},
    {"xmor", [](ParseContext& cx) { ParseOrnament(cx, OrnamentKind::kXmor); }},
    {"xcad", [](ParseContext& cx) { ParseOrnament(cx, OrnamentKind::kXcad); }},
    {"xidm", [](ParseContext& cx) { ParseOrnament(cx, OrnamentKind::kXidm); }},
    {"trn", [](ParseContext& cx) { ParseOrnament(cx, OrnamentKind::kTrn); }},
    {"mor", [](ParseContext& cx) { ParseOrnament(cx, OrnamentKind::kMor); }},
    {"cad", [](ParseContext& cx) { ParseOrnament(cx, OrnamentKind::kCad); }},
    {"idm", [](ParseContext& cx) { ParseOrnament(cx, OrnamentKind::kIdm); }},
    {"tri", [](ParseContext& cx) { ParseOrnament(cx, OrnamentKind::kTri); }},
    {"trs", ParseOrnamentLength},
    {"cfr", Cfr},
    {"rev", Rev},
    {"sos", Sos},
    {"eqd", [](ParseContext& cx) { cx.out.Event<EventCode::kChannelFlag>({kToneNamesSecond}); }},
    {"eqn", [](ParseContext& cx) { cx.out.Event<EventCode::kChannelFlag>({kToneNamesFirst}); }},
    {"com", Com},
    {"vol",
     [](ParseContext& cx) {
       SingleValue(cx, Signs::kNone, 0, kMaxDataValue, TextId::kTrackVolumeOutOfRange,
                   [&](int32_t v) { cx.out.Event<EventCode::kTrackVolume>({static_cast<uint8_t>(v)}); });
     }},
    {"pan",
     [](ParseContext& cx) {
       SingleValue(cx, Signs::kAllowed, -63, 63, TextId::kPanOutOfRange,
                   [&](int32_t v) { Pan(cx, static_cast<uint8_t>(v + midi::kPanCentre)); });
     }},
    {"dtn", [](ParseContext& cx) { Detune(cx, 128, 1); }},
    {"dts", [](ParseContext& cx) { Detune(cx, 1, 1); }},
    {"dt", [](ParseContext& cx) { Detune(cx, 1, 4); }},
    {"si", [](ParseContext& cx) { cx.state.slurMode = true; }},
    {"so", [](ParseContext& cx) { cx.state.slurMode = false; }},
    {"ql", [](ParseContext& cx) { cx.state.upperCaseLetters = true; }},
    {"qx", [](ParseContext& cx) { cx.state.upperCaseLetters = false; }},
    {"ch",
     [](ParseContext& cx) {
       SingleValue(cx, Signs::kNone, 1, 16, TextId::kChannelOutOfRange,
                   [&](int32_t v) { cx.out.Event<EventCode::kChannel>({static_cast<uint8_t>(v - 1)}); });
     }},
    {"kd",
     [](ParseContext& cx) {
       SingleValue(cx, Signs::kNone, 1, 6, TextId::kTrackTagOutOfRange,
                   [&](int32_t v) { cx.out.Event<EventCode::kTrackTag>({static_cast<uint8_t>(v)}); });
     }},
    {"km", [](ParseContext& cx) { cx.out.Event<EventCode::kTrackTag>({0}); }},
    {"lm", [](ParseContext& cx) { Pan(cx, 32); }},
    {"rm", [](ParseContext& cx) { Pan(cx, 96); }},
    {"v",
     [](ParseContext& cx) {
       SingleValue(cx, Signs::kNone, 0, kMaxDataValue, TextId::kVelocityOutOfRange,
                   [&](int32_t v) { cx.out.Event<EventCode::kVelocity>({static_cast<uint8_t>(v)}); });
     }},
    {"_", KeySignature},
    {"l", [](ParseContext& cx) { Pan(cx, 1); }},
    {"m", [](ParseContext& cx) { Pan(cx, midi::kPanCentre); }},
    {"r", [](ParseContext& cx) { Pan(cx, 127); }},
    {"h", ParseSystemExclusive},
    {"+", [](ParseContext& cx) { ParseAccidentalCommand(cx, '+'); }},
    {"#", [](ParseContext& cx) { ParseAccidentalCommand(cx, '#'); }},
    {"-", [](ParseContext& cx) { ParseAccidentalCommand(cx, '-'); }},
    {"%", [](ParseContext& cx) { ParseAccidentalCommand(cx, '%'); }},
};

// True when the text at the read position starts with `name`, ignoring letter case.
bool NameAt(const ParseContext& cx, std::string_view name) {
  for (size_t i = 0; i < name.size(); ++i) {
    char c = cx.PeekRaw(i);
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != name[i]) return false;
  }
  return true;
}

}  // namespace

bool ParseAtCommand(ParseContext& cx) {
  if (cx.AtDigit()) {
    ParseTone(cx);
    return true;
  }
  for (const AtCommand& command : kAtCommands) {
    if (!NameAt(cx, command.name)) continue;
    cx.pos += command.name.size();
    command.handler(cx);
    return true;
  }
  return false;
}

size_t MeasureAtCommand(CompileUnit& unit, TrackState& state, size_t at) {
  const TrackState savedState = state;
  const ToneMap savedTones = unit.toneMap;
  const Diagnostics savedDiagnostics = unit.diagnostics;
  const size_t savedSize = unit.track.size();
  ParseContext cx(unit, state, at);
  size_t consumed = ParseAtCommand(cx) ? cx.pos - at : 0;
  state = savedState;
  unit.toneMap = savedTones;
  unit.diagnostics = savedDiagnostics;
  unit.TruncateTrack(savedSize);
  return consumed;
}

}  // namespace tsy
