#include "core/compiler/letter_commands.h"

#include "core/image/event_table.h"

namespace tsy {
namespace {

constexpr int32_t kMinTempo = 12;
constexpr int32_t kMaxTempo = 992;
constexpr int32_t kVelocitySteps = 15;  // 'v' 0..15 spreads over 0..127

// What differs between 'v' and 'u'.
struct Control {
  uint8_t selector;  // of the relative and offset events
  int32_t maxValue;  // of the plain form
  TextId fault;      // message for every range fault
};

// A signed change that must fit the event's one signed byte.
bool ReadChange(ParseContext& cx, const Control& control, int32_t& change) {
  Value value;
  if (!cx.ReadSigned(value)) return false;
  if (value.value < -128 || value.value > 127) {
    cx.Fault(control.fault);
    return false;
  }
  change = value.value;
  return true;
}

// The relative and offset forms shared by 'v' and 'u'; false when the plain form follows.
bool ParseSignedForms(ParseContext& cx, const Control& control) {
  int32_t change = 0;
  if (cx.Accept('=')) {
    if (cx.Peek() != '+' && cx.Peek() != '-') {
      cx.Fault(control.fault);
      return true;
    }
    if (ReadChange(cx, control, change))
      cx.out.Event<EventCode::kOffset>({control.selector, static_cast<uint8_t>(change)});
    return true;
  }
  if (cx.Peek() == '+' || cx.Peek() == '-') {
    if (ReadChange(cx, control, change))
      cx.out.Event<EventCode::kRelativeChange>({control.selector, static_cast<uint8_t>(change)});
    return true;
  }
  return false;
}

// The plain form's value, or -1 after a fault.
int32_t ReadPlain(ParseContext& cx, const Control& control) {
  int32_t value = cx.ReadUnsigned().value;
  if (value > control.maxValue) {
    cx.Fault(control.fault);
    return -1;
  }
  return value;
}

}  // namespace

void ParseTempo(ParseContext& cx) {
  int32_t tempo = cx.ReadUnsigned().value;
  if (tempo < kMinTempo || tempo > kMaxTempo) {
    cx.Fault(TextId::kTempoOutOfRange);
    return;
  }
  cx.out.Event<EventCode::kTempo>({EventWriter::Low(tempo), EventWriter::High(tempo)});
}

void ParseVelocity(ParseContext& cx) {
  const Control control{kSelectVelocity, kVelocitySteps, TextId::kVelocityOutOfRange};
  if (ParseSignedForms(cx, control)) return;
  int32_t step = ReadPlain(cx, control);
  if (step >= 0) cx.out.Event<EventCode::kVelocity>({static_cast<uint8_t>(step * 127 / kVelocitySteps)});
}

void ParseExpression(ParseContext& cx) {
  const Control control{kSelectExpression, 127, TextId::kExpressionOutOfRange};
  if (ParseSignedForms(cx, control)) return;
  int32_t value = ReadPlain(cx, control);
  if (value >= 0) cx.out.Event<EventCode::kExpression>({static_cast<uint8_t>(value)});
}

}  // namespace tsy
