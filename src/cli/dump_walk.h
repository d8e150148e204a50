#pragma once
// tsy dump's walk through a track stream, shared by its text listing
// (dump_command.cpp) and its JSON document (dump_json.cpp): every event in
// stream order with the tick at which it is reached and its bytes.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "core/compiler/source_map.h"

namespace tsy::cli {

struct WalkedEvent {
  enum class Kind {
    kNote,       // a full note event (a rest too)
    kChordNote,  // a chord note after the first: its note number alone
    kEvent,      // an event code with its operands
    kEnd,        // the terminator, or the first byte that is no event
    kCutOff,     // an event that the end of the image cuts off
    kNoEnd,      // the image ended before the stream did (no bytes)
  };
  Kind kind;
  uint32_t tick;  // in the written stream: chords and repeats are not expanded
  size_t offset;  // in the image
  std::span<const uint8_t> bytes;
};

// Walks the stream that starts at `offset` in `image`, up to its end.
void WalkTrack(std::span<const uint8_t> image, uint32_t offset, const std::function<void(const WalkedEvent&)>& visit);

// "o4c+" for note 61, "r" for a rest.
std::string NoteName(uint8_t note);
// "attack", "release", "slurred": the flags a note event carries.
std::vector<const char*> NoteFlagWords(uint8_t flags);
// Ticks of a full note event; a length byte of 0 counts as 1, as the engine reads it.
uint32_t NoteTicks(std::span<const uint8_t> event);

// The listing of `image` (read from `path`) as one JSON document: the header,
// then every track with its events: tick, offset, bytes, name, operand
// values and, when `sourceMap` is given (the image was compiled from
// `source`), the source line and column each came from.
std::string DumpJson(const std::string& path, std::span<const uint8_t> image, const SourceMap* sourceMap,
                     const std::string& source);

// The source beside the object file `path` (the same name ending in .mus)
// when it compiles to exactly `image`, with its source map put in
// `sourceMap`; empty when there is none or it compiles to something else.
std::string SourceOfImage(const std::string& path, std::span<const uint8_t> image, SourceMap& sourceMap);

}  // namespace tsy::cli
