// The SMF writer's bytes where the export itself rarely reaches: gaps too
// long for one delta time, and a sink that fails.
#include "core/smf/smf_writer.h"

#include <gtest/gtest.h>

#include <string>

#include "../engine/test_image.h"

namespace tsy::test {
namespace {

// The track's events after the 22 bytes of header and track chunk head.
Bytes TrackEvents(const MemorySink& sink) { return Bytes(sink.bytes.begin() + 22, sink.bytes.end()); }

uint32_t TrackLengthField(const MemorySink& sink) {
  return uint32_t{sink.bytes[18]} << 24 | sink.bytes[19] << 16 | sink.bytes[20] << 8 | sink.bytes[21];
}

TEST(SmfWriter, AGapLongerThanADeltaTimeHoldsIsCarriedByNoOpEvents) {
  const MessageWord noteOn = ShortMessage(0x90, 60, 100);
  MemorySink longest;
  SmfWriter atTheLimit(0, longest);
  atTheLimit.ShortMessage(0, kLongestDelta, noteOn);
  ASSERT_TRUE(atTheLimit.Finish());
  EXPECT_EQ(TrackEvents(longest), (Bytes{0xFF, 0xFF, 0xFF, 0x7F, 0x90, 60, 100, 0x00, 0xFF, 0x2F, 0x00}));

  MemorySink split;
  SmfWriter beyond(-192, split);
  beyond.ShortMessage(0, 2 * int64_t{kLongestDelta} + 5 - 192, noteOn);
  ASSERT_TRUE(beyond.Finish());
  const Bytes expected = {0xFF, 0xFF, 0xFF, 0x7F, 0xFF, 0x01, 0x00,  // empty text event
                          0xFF, 0xFF, 0xFF, 0x7F, 0xFF, 0x01, 0x00,  // and another
                          0x05, 0x90, 60,   100,  0x00, 0xFF, 0x2F, 0x00};
  EXPECT_EQ(TrackEvents(split), expected);
  EXPECT_EQ(TrackLengthField(split), expected.size());
}

// A sink that takes nothing, like a full disk.
class FullSink : public SmfSink {
 public:
  bool Append(std::span<const uint8_t>) override {
    ++calls;
    return false;
  }
  bool Overwrite(size_t, std::span<const uint8_t>) override { return false; }
  int calls = 0;
};

TEST(SmfWriter, AFailedSinkStopsTheWriter) {
  FullSink sink;
  SmfWriter writer(0, sink);
  const uint8_t sysex[100] = {0xF0};
  for (int tick = 0; writer.ok() && tick < 100000; ++tick) writer.SysEx(0, tick, sysex, sizeof sysex);
  EXPECT_FALSE(writer.ok()) << "the first block fails, and the render is told";
  EXPECT_FALSE(writer.Finish());
  EXPECT_EQ(sink.calls, 1);
}

}  // namespace
}  // namespace tsy::test
