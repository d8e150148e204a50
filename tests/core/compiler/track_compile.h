#pragma once
// Compiles a track body through the whole compiler ("1[" body "]") and hands
// back what a reader of the image sees of track 1: its event bytes, its length
// in ticks, and the diagnostics raised.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/compiler/compile_driver.h"
#include "core/image/image_layout.h"
#include "hex_bytes.h"
#include "platform/text_codec.h"
#include "source_position_printer.h"
#include "text_id_printer.h"

namespace tsy::test {

constexpr TextId kNoFault{};

struct CompiledTrack {
  Bytes events;         // track 1 without its terminator; empty after a fault
  uint32_t ticks = 0;   // track 1's length in the header
  TextId fault{};       // the first diagnostic's, kNoFault when none
  SourcePosition at;    // where it was raised
  std::string message;  // its text in UTF-8, without the line prefix
};

// Track `track`'s events in an image, without the terminator; empty when it has no stream.
inline Bytes TrackEvents(const CompileResult& r, int track) {
  const uint8_t* header = r.image.data();
  uint32_t offset = ImageTrackOffset(header, track);
  if (offset == 0) return {};
  uint32_t end = static_cast<uint32_t>(r.image.size());
  for (int k = track + 1; k <= kTrackCount; ++k)
    if (uint32_t next = ImageTrackOffset(header, k); next != 0) {
      end = next;
      break;
    }
  return Bytes(r.image.begin() + offset, r.image.begin() + end - 4);
}

// Compiles `prelude` (top-level text such as substitution registrations) and then "1[" body "]".
inline CompiledTrack CompileTrack(std::string_view body, std::string_view prelude = "") {
  CompileResult r = CompileSource(std::string(prelude) + "1[" + std::string(body) + "]");
  CompiledTrack out;
  if (!r.diagnostics.empty()) {
    out.fault = r.diagnostics.front().id;
    out.at = r.diagnostics.front().at;
    out.message = Cp932ToUtf8(r.diagnostics.front().text);
  }
  out.ticks = ImageTrackLength(r.image.data(), 1);
  out.events = TrackEvents(r, 1);
  return out;
}

// A golden case: a track body, the events it must compile to and its length.
struct Golden {
  const char* body;
  const char* events;  // hexadecimal, as for Hex()
  uint32_t ticks;
};

// A fault case: a track body and the message it must stop with.
struct FaultCase {
  const char* body;
  TextId fault;
  const char* message = nullptr;  // checked when given (UTF-8)
};

template <size_t N>
void ExpectGolden(const Golden (&cases)[N]) {
  for (const Golden& c : cases) {
    CompiledTrack t = CompileTrack(c.body);
    EXPECT_EQ(t.fault, kNoFault) << c.body << ": " << t.message;
    EXPECT_EQ(t.events, Hex(c.events)) << c.body;
    EXPECT_EQ(t.ticks, c.ticks) << c.body;
  }
}

template <size_t N>
void ExpectFaults(const FaultCase (&cases)[N]) {
  for (const FaultCase& c : cases) {
    CompiledTrack t = CompileTrack(c.body);
    EXPECT_EQ(t.fault, c.fault) << c.body << ": " << t.message;
    if (c.message) {
      EXPECT_EQ(t.message, c.message) << c.body;
    }
    EXPECT_TRUE(t.events.empty()) << c.body << ": a failing track has no stream";
  }
}

}  // namespace tsy::test
