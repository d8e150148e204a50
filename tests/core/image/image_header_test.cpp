// Reading an image's header from outside bytes: what it takes and what it refuses.
#include "core/image/image_header.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace tsy {
namespace {

// A bare header with the magic, version 23, and one stream byte behind it.
std::vector<uint8_t> BareImage() {
  std::vector<uint8_t> image(kImageHeaderSize + 1, 0);
  std::memcpy(image.data(), kImageMagic, sizeof kImageMagic);
  image[kVersionField] = kImageFormatVersion;
  WriteU32(&image[kImageLengthField], static_cast<uint32_t>(image.size()));
  return image;
}

TEST(ImageHeader, ReadsEveryFieldAtItsOffset) {
  std::vector<uint8_t> image = BareImage();
  WriteU32(&image[TrackOffsetEntry(48)], 403);
  WriteU32(&image[TrackLengthEntry(48)], 192);
  WriteU32(&image[TrackLengthEntry(1)], 7);  // a length without a stream
  WriteU16(&image[kLegacyLengthField], 9);
  image[kFlagsField] = kImageFlagOwnInit;
  ImageHeader header;
  int bad = 0;
  ASSERT_EQ(ReadImageHeader(image, header, bad), ImageFault::kNone);
  // Track k's entries lie at 4 × k and 192 + 4 × k.
  EXPECT_EQ(TrackOffsetEntry(1), 4u);
  EXPECT_EQ(TrackLengthEntry(48), 384u);
  EXPECT_EQ(header.trackOffset[47], 403u);
  EXPECT_EQ(header.trackTicks[47], 192u);
  EXPECT_EQ(header.trackOffset[0], 0u);
  EXPECT_EQ(header.trackTicks[0], 7u);
  EXPECT_EQ(header.legacyLength, 9);
  EXPECT_EQ(header.flags, kImageFlagOwnInit);
  EXPECT_EQ(header.version, 23);
  EXPECT_EQ(header.imageLength, 404u);
}

TEST(ImageHeader, RefusesWhatIsNoImage) {
  std::vector<uint8_t> image = BareImage();
  ImageHeader header;
  int bad = 0;
  EXPECT_EQ(ReadImageHeader(std::span(image).first(402), header, bad), ImageFault::kTooShort);

  image[3] = '0';
  EXPECT_EQ(ReadImageHeader(image, header, bad), ImageFault::kBadMagic);
  image[3] = '1';

  // Offsets past the bytes, or into the header, name their track.
  WriteU32(&image[TrackOffsetEntry(7)], 255);
  EXPECT_EQ(ReadImageHeader(image, header, bad), ImageFault::kTrackOutside);
  EXPECT_EQ(bad, 7);
  WriteU32(&image[TrackOffsetEntry(7)], 0);
  WriteU32(&image[TrackOffsetEntry(3)], 404);  // one past the last byte
  EXPECT_EQ(ReadImageHeader(image, header, bad), ImageFault::kTrackOutside);
  EXPECT_EQ(bad, 3);
}

TEST(ImageHeader, PlaysVersionsSeventeenToTwentyThree) {
  EXPECT_FALSE(IsPlayableVersion(16));
  EXPECT_TRUE(IsPlayableVersion(17));
  EXPECT_TRUE(IsPlayableVersion(23));
  EXPECT_FALSE(IsPlayableVersion(24));
}

}  // namespace
}  // namespace tsy
