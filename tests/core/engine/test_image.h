#pragma once
// Test helpers: object images built from hand-written track streams, and the
// engine driven tick by tick with its messages as readable text.

#include <cstdint>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "core/engine/engine_call.h"
#include "core/engine/load_image.h"

namespace tsy::test {

using Bytes = std::vector<uint8_t>;

// An image of the given tracks (1..48 -> events without the terminator).
// Each stream gets the terminator unless `terminate` is false.
inline Bytes BuildImage(const std::map<int, Bytes>& tracks, uint8_t flags = 0, uint8_t version = 23,
                        bool terminate = true) {
  Bytes image(kImageHeaderSize, 0);
  image[0] = 'E', image[1] = 'M', image[2] = 'D', image[3] = '1';
  for (const auto& [track, events] : tracks) {
    WriteU32(&image[TrackOffsetEntry(track)], static_cast<uint32_t>(image.size()));
    image.insert(image.end(), events.begin(), events.end());
    if (terminate) image.insert(image.end(), {0xFF, 0xFF, 0xFF, 0x2E});
  }
  image[kFlagsField] = flags;
  image[kVersionField] = version;
  WriteU32(&image[kImageLengthField], static_cast<uint32_t>(image.size()));
  return image;
}

inline void SetTrackLength(Bytes& image, int track, uint32_t ticks) {
  WriteU32(&image[TrackLengthEntry(track)], ticks);
}

// A note event: note, flags, gate, one length byte.
inline Bytes Note(uint8_t note, uint8_t ticks, uint8_t gate = 8, uint8_t flags = 3) {
  return {note, flags, gate, 0, ticks};
}

inline Bytes Join(std::initializer_list<Bytes> parts) {
  Bytes all;
  for (const Bytes& p : parts) all.insert(all.end(), p.begin(), p.end());
  return all;
}

// Loads `image` into a freshly cleared engine, as the shell's object buffer
// would hold it; true when LoadImage took it.
inline bool LoadFresh(const Bytes& image) {
  ClearEngineState();
  RequestStop();
  SetPlayClock(0);
  Bytes buffer(kObjectBufferSize, 0);
  std::copy(image.begin(), image.end(), buffer.begin());
  return LoadImage(buffer.data(), buffer.size()).ok();
}

// One message as text: short messages as hex bytes ("90 3C 6E"), slot words
// as "sysex:" or "meta:" and the slot's bytes.
inline std::string Describe(MessageWord w, const MessageSlots* slots) {
  char text[8];
  std::string out;
  auto hex = [&](uint8_t b) {
    std::snprintf(text, sizeof text, out.empty() || out.back() == ':' ? "%02X" : " %02X", b);
    out += text;
  };
  if (IsShortMessage(w)) {
    hex(WordStatus(w));
    hex(WordData1(w));
    if ((WordStatus(w) & 0xE0) != 0xC0) hex(WordData2(w));
    return out;
  }
  out = IsMetaWord(w) ? "meta:" : "sysex:";
  for (int i = 0; i < WordLength(w); ++i) hex((*slots)[WordSlot(w)][i]);
  return out;
}

// Runs the passes of all 48 tracks at `tick`; returns the messages of every
// track, each prefixed with "tN " (N = track row).
inline std::vector<std::string> RunTick(uint32_t tick, bool withSlots = true) {
  GetState().tick = tick;
  GetState().barTick = tick % 192;
  static MessageWord words[kMessageCapacity];
  static MessageSlots slots;
  std::vector<std::string> out;
  for (int t = 0; t < 48; ++t) {
    int n = TrackPass(t, words, withSlots ? &slots : nullptr);
    for (int i = 0; i < n; ++i) out.push_back("t" + std::to_string(t) + " " + Describe(words[i], &slots));
  }
  return out;
}

// Runs ticks first..last and returns "tick: message" lines.
inline std::vector<std::string> RunTicks(uint32_t first, uint32_t last) {
  std::vector<std::string> out;
  for (uint32_t k = first; k <= last; ++k)
    for (const std::string& m : RunTick(k)) out.push_back(std::to_string(k) + ": " + m);
  return out;
}

}  // namespace tsy::test
