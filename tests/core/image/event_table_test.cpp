// The event table: every event's size as a reader finds it, the table's
// rows and operands, and how a reader tells chord members from full notes.
#include "core/image/event_reader.h"

#include <gtest/gtest.h>

#include "hex_bytes.h"

namespace tsy::test {
namespace {

size_t SizeOf(const Bytes& event, bool member = false) { return EventSize(event.data(), event.size(), member); }

TEST(EventSize, EveryCodeAndRule) {
  const struct {
    const char* event;
    size_t size;
  } cases[] = {
      {"30 03 07 00 30", 5},
      {"30 03 07 01 C0 30", 6},
      {"B0 07 64", 3},
      {"B3 60 00 00 07 00 7F", 7},
      {"B5 30 00 04", 4},
      {"C0 05", 2},
      {"C1 7F", 2},
      {"C2 64", 2},
      {"C3 00 05", 3},
      {"C3 01 FB", 3},
      {"C3 0C", 2},  // a selector other than 0 and 1: code and selector only
      {"C4 01 FF", 3},
      {"C4 F4", 2},
      {"C5 40", 2},
      {"C6 00 20", 3},
      {"C7 7F", 2},
      {"E0 0F", 2},
      {"E1 06", 2},
      {"E8 01 00 01", 4},
      {"E9 01 03", 3},
      {"EA 01", 2},
      {"EB 01", 2},
      {"EE", 1},
      {"EF", 1},
      {"F0 78 00", 3},
      {"F8 80", 2},
      {"FA 61 62 00", 4},
      {"FA 00", 2},
      {"FC 01", 2},
      {"FD", 1},
      {"FE 02 F0 F7", 4},
  };
  for (const auto& c : cases) EXPECT_EQ(SizeOf(Hex(c.event)), c.size) << c.event;
  EXPECT_EQ(SizeOf(Hex("37"), true), 1u);  // a chord member
}

TEST(EventSize, ZeroForTheEndAndForCutEvents) {
  for (const char* event :
       {"FF FF FF 2E", "80", "B1 00", "30 03 07 01 C0", "FA 61 62", "FE 03 F0 F7", "C4", "F0 78", ""})
    EXPECT_EQ(SizeOf(Hex(event)), 0u) << event;
}

TEST(EventTable, NamesAreUniqueAndEveryRowIsFound) {
  for (const EventInfo& row : kEventTable) {
    EXPECT_EQ(FindEvent(static_cast<uint8_t>(row.code)), &row);
    for (const EventInfo& other : kEventTable) {
      if (&other != &row) {
        EXPECT_NE(row.name, other.name);
      }
    }
  }
  EXPECT_EQ(FindEvent(0xFF), nullptr);
}

TEST(EventTable, OperandCountsAreTheWritersRule) {
  // What the compiler's writer may give each kind of event after its code.
  EXPECT_TRUE(TakesOperandBytes(EventCode::kTempo, 2));
  EXPECT_FALSE(TakesOperandBytes(EventCode::kTempo, 1));
  EXPECT_TRUE(TakesOperandBytes(EventCode::kControllerRamp, 6));
  EXPECT_TRUE(TakesOperandBytes(EventCode::kBarLine, 0));
  EXPECT_FALSE(TakesOperandBytes(EventCode::kBarLine, 1));
  // A selector event: selector and value, or the octave mark alone.
  EXPECT_TRUE(TakesOperandBytes(EventCode::kOffset, 2));
  EXPECT_TRUE(TakesOperandBytes(EventCode::kOffset, 1));
  EXPECT_FALSE(TakesOperandBytes(EventCode::kOffset, 0));
  // Text and counted events have writers of their own.
  EXPECT_FALSE(TakesOperandBytes(EventCode::kComment, 1));
  EXPECT_FALSE(TakesOperandBytes(EventCode::kSystemExclusive, 1));
}

TEST(EventTable, OperandsReadAsTheirTypesSay) {
  const Bytes ramp = Hex("B3 60 01 00 07 64 50");
  const EventInfo& info = EventOf(EventCode::kControllerRamp);
  std::vector<int32_t> values;
  size_t at = 1;
  for (const Operand& operand : OperandsOf(info)) {
    values.push_back(OperandValue(operand.type, &ramp[at]));
    at += OperandWidth(operand.type);
  }
  EXPECT_EQ(values, (std::vector<int32_t>{0x160, 0, 7, 100, 80}));
  EXPECT_EQ(at, ramp.size());

  const struct {
    OperandType type;
    const char* bytes;
    int32_t value;
  } cases[] = {
      {OperandType::kS8, "FE", -2},
      {OperandType::kS8, "7F", 127},
      {OperandType::kU8, "FE", 254},
      {OperandType::kU16, "78 00", 120},
      {OperandType::kCentred16, "01 00", -8191},
      {OperandType::kCentred16, "FF 3F", 8191},
      {OperandType::kCentred16, "00 20", 0},
  };
  for (const auto& c : cases) EXPECT_EQ(OperandValue(c.type, Hex(c.bytes).data()), c.value) << c.bytes;
}

TEST(ChordReader, MembersFollowALinkAfterTheFirstNote) {
  // c4/e/g is FD, c in full, FD, e, g; the note after the chord is full again.
  ChordReader reader;
  std::vector<bool> members;
  for (uint8_t code : {0xFD, 0x30, 0xFD, 0x34, 0x37, 0x30}) {
    if (code == 0xFD) {
      reader.OnChordLink();
      continue;
    }
    members.push_back(reader.NextNoteIsMember());
    reader.OnNote();
  }
  EXPECT_EQ(members, (std::vector<bool>{false, true, true, false}));
}

}  // namespace
}  // namespace tsy::test
