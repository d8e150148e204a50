#pragma once
// The object image: a 403-byte header with the table of 48 tracks, followed
// by the event streams of the tracks that have content. The writer builds it
// track by track; the reader checks an image from outside before anyone
// follows its offsets.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

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

// A fresh image: the zero header with the magic and the format version.
std::vector<uint8_t> NewImage();

// Appends the stream of track `track` (1..48): `events` followed by the
// stream terminator (event_codes.h), and records its offset and its length in ticks in the header.
void AppendTrackStream(std::vector<uint8_t>& image, int track, std::span<const uint8_t> events, uint32_t ticks);

// Completes the header before the image is handed on: legacy length 0, the
// directives' flags and the final image length.
void FinishImage(std::vector<uint8_t>& image, uint8_t flags);

// The header of an image, as read from its bytes.
struct ImageHeader {
  uint32_t trackOffset[kTrackCount] = {};  // index track − 1; 0 = no stream
  uint32_t trackTicks[kTrackCount] = {};   // index track − 1
  uint16_t legacyLength = 0;
  uint8_t flags = 0;
  uint8_t version = 0;
  uint32_t imageLength = 0;
};

enum class ImageFault {
  kNone,
  kTooShort,      // fewer bytes than a header
  kBadMagic,      // the first four bytes are not "EMD1"
  kTrackOutside,  // a track offset points into the header or past the bytes given
};

// Reads the header of `bytes` and checks that every track offset lies
// within them, behind the header. On kTrackOutside, `badTrack` names the
// first such track (1..48).
ImageFault ReadImageHeader(std::span<const uint8_t> bytes, ImageHeader& header, int& badTrack);

// Whether the engine plays an image of this format version.
constexpr bool IsPlayableVersion(uint8_t version) {
  return version >= kOldestPlayableVersion && version <= kImageFormatVersion;
}

// Little-endian fields, as every multi-byte integer of an image is stored.
inline uint16_t ReadU16(const uint8_t* at) { return static_cast<uint16_t>(at[0] | at[1] << 8); }
inline uint32_t ReadU32(const uint8_t* at) {
  return uint32_t{at[0]} | uint32_t{at[1]} << 8 | uint32_t{at[2]} << 16 | uint32_t{at[3]} << 24;
}

}  // namespace tsy
