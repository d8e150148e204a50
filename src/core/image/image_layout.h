#pragma once
// The object image's container, defined once for its writer (the compiler)
// and its readers (the engine, the SMF writer, the shell and tsy): a 403-byte
// header with the table of 48 tracks, followed by the event streams of the
// tracks that have content. Every multi-byte integer is little-endian.

#include <cstddef>
#include <cstdint>

namespace tsy {

constexpr int kTrackCount = 48;
constexpr size_t kImageHeaderSize = 403;
constexpr size_t kObjectBufferSize = 16383;     // the shell's fixed object buffer: the largest image
constexpr uint8_t kImageFormatVersion = 23;     // written by this compiler
constexpr uint8_t kOldestPlayableVersion = 17;  // images of 17..23 are played
constexpr char kImageMagic[4] = {'E', 'M', 'D', '1'};

// Header fields: byte offsets from the start of the image.
constexpr size_t kTrackOffsetTable = 4;     // 48 × u32: the entry of track k lies at 4 × k
constexpr size_t kTrackLengthTable = 196;   // 48 × u32 ticks: the entry of track k lies at 192 + 4 × k
constexpr size_t kLegacyLengthField = 388;  // u16; always 0 in images written here
constexpr size_t kFlagsField = 390;         // u8, the kImageFlag bits
constexpr size_t kVersionField = 391;       // u8
constexpr size_t kImageLengthField = 392;   // u32, header included

// Flag bits of the header.
constexpr uint8_t kImageFlagOwnInit = 0x01;    // "%myinitspace": no reset, no initial controllers
constexpr uint8_t kImageFlagCopyright = 0x02;  // "%copyright" appeared; written, never read

// Where the entries of track `track` (1..48) lie in the header: its stream's
// offset from the start of the image (0: no stream) and its length in ticks.
constexpr size_t TrackOffsetEntry(int track) { return kTrackOffsetTable + 4 * static_cast<size_t>(track - 1); }
constexpr size_t TrackLengthEntry(int track) { return kTrackLengthTable + 4 * static_cast<size_t>(track - 1); }

// Whether the engine plays an image of this format version.
constexpr bool IsPlayableVersion(uint8_t version) {
  return version >= kOldestPlayableVersion && version <= kImageFormatVersion;
}

// Little-endian fields, as every multi-byte integer of an image is stored.
constexpr uint16_t ReadU16(const uint8_t* at) { return static_cast<uint16_t>(at[0] | at[1] << 8); }
constexpr uint32_t ReadU32(const uint8_t* at) {
  return uint32_t{at[0]} | uint32_t{at[1]} << 8 | uint32_t{at[2]} << 16 | uint32_t{at[3]} << 24;
}
inline void WriteU16(uint8_t* at, uint16_t value) {
  at[0] = static_cast<uint8_t>(value);
  at[1] = static_cast<uint8_t>(value >> 8);
}
inline void WriteU32(uint8_t* at, uint32_t value) {
  for (int i = 0; i < 4; ++i) at[i] = static_cast<uint8_t>(value >> (8 * i));
}

// Track `track`'s (1..48) entries in the header at `image`.
inline uint32_t ImageTrackOffset(const uint8_t* image, int track) { return ReadU32(image + TrackOffsetEntry(track)); }
inline uint32_t ImageTrackLength(const uint8_t* image, int track) { return ReadU32(image + TrackLengthEntry(track)); }

}  // namespace tsy
