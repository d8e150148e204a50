#pragma once
// LoadImage hands an object image to the engine: it copies the image into the
// engine's own block, checks it and sets the 48 track starts. The copy is what
// the engine plays and what the SMF writer exports. It needs no play thread;
// a caller that has one halts play first.

#include <cstddef>
#include <cstdint>

#include "core/image/image_layout.h"
#include "platform/file_result.h"

namespace tsy {

constexpr size_t kImageDataOffset = 400;  // imageData = image + this (the track display's base)

// Copies the image at the start of `buffer` (the object buffer, `size`
// bytes): the legacy length + 404 bytes when that is not 0, else the image
// length + 404 when that is not 0, else the whole buffer, never more than
// `size` or 16,383. kWrongContent when the buffer is shorter than a header or
// the magic is not "EMD1"; else done. An image of version 17..23 is then set
// up (reset, track starts); a newer one is accepted but left without tracks,
// and one below 17 is set up but its passes are refused. After a refusal the
// engine is left without an image: it never reads the replaced copy.
FileResult LoadImage(const uint8_t* buffer, size_t size);

// The end of the stream that starts at `stream` in the engine's copy: the
// next track's stream start or the end of the image, whichever comes first.
// A stream outside the copy has nothing to read: the result is `stream`.
const uint8_t* StreamEndInImage(const uint8_t* stream);

}  // namespace tsy
