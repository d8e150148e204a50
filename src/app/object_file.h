#pragma once
// Object images on disk (.emd files): reading one into the shell's object
// buffer and writing the buffer's image out again.

#include <cstdint>
#include <string>

#include "core/image/image_layout.h"
#include "platform/file_result.h"

namespace tsy {

// Reads the file at `path` into `buffer` (kObjectBufferSize long) from its
// first byte when the file is smaller than the buffer; a file of 16,383 bytes
// or more is kTooLarge and not read. Bytes beyond the file's length keep what
// they held.
FileResult ReadObjectFile(const std::string& path, uint8_t* buffer);

// True when `path` names an object image: its extension is .emd, or (for
// any other name but .mus) its first bytes are the "EMD1" magic, as the
// desktop's file type says; a file from a file manager may bear any name.
bool IsObjectFile(const std::string& path);

// The image length that the header in `buffer` gives, or 0 when the buffer
// holds no image: no "EMD1" magic, or a length outside 403..16,383.
uint32_t ImageLengthOf(const uint8_t* buffer);

// Writes `length` bytes of `image` to `path` through a temporary file in the
// same folder that is renamed into place, so a failed write leaves an older
// file as it was.
FileResult WriteObjectFile(const std::string& path, const uint8_t* image, size_t length);

}  // namespace tsy
