#pragma once
// Building an object image: the header, then the stream of each track that
// has content, appended track by track (the layout is in core/image).

#include <cstdint>
#include <span>
#include <vector>

#include "core/image/image_layout.h"

namespace tsy {

// A fresh image: the zero header with the magic and the format version.
std::vector<uint8_t> NewImage();

// Appends the stream of track `track` (1..48): `events` followed by the
// stream terminator (event_table.h), and records its offset and its length in ticks in the header.
void AppendTrackStream(std::vector<uint8_t>& image, int track, std::span<const uint8_t> events, uint32_t ticks);

// Completes the header before the image is handed on: legacy length 0, the
// directives' flags and the final image length.
void FinishImage(std::vector<uint8_t>& image, uint8_t flags);

}  // namespace tsy
