#pragma once
// What a track of the loaded music is called outside the program: its first
// comment (@com) when it has one, else its number. Format-1 files name their
// tracks so, and the audio render names its stems so.

#include <cstdint>
#include <optional>
#include <string>

#include "core/image/event_table.h"

namespace tsy {

// The first event of `code` in the stream at `stream` (inside the engine's
// copy of the image), or nullptr when the stream holds none.
const uint8_t* FirstEventOf(const uint8_t* stream, EventCode code);

// The text of the first comment of track k (1..48) of `image`, CP932 as the
// source wrote it, or nothing when the track has no stream or no comment.
std::optional<std::string> FirstComment(const uint8_t* image, int k);

// "Track 07" for k = 7, or the track's first comment.
std::string SmfTrackName(const uint8_t* image, int k);

}  // namespace tsy
