#include "core/compiler/image_writer.h"

#include <gtest/gtest.h>

#include <vector>

#include "core/image/image_header.h"

namespace tsy {
namespace {

uint32_t OffsetOf(const std::vector<uint8_t>& image, int track) { return ImageTrackOffset(image.data(), track); }
uint32_t TicksOf(const std::vector<uint8_t>& image, int track) { return ImageTrackLength(image.data(), track); }

TEST(ImageWriter, EmptyImageIsABareHeader) {
  std::vector<uint8_t> image = NewImage();
  FinishImage(image, 0);
  ASSERT_EQ(image.size(), 403u);
  EXPECT_EQ(std::string(image.begin(), image.begin() + 4), "EMD1");
  EXPECT_EQ(image[391], 23);
  EXPECT_EQ(ReadU32(&image[392]), 403u);
  for (int track = 1; track <= 48; ++track) EXPECT_EQ(OffsetOf(image, track), 0u);
  for (size_t i = 396; i < 403; ++i) EXPECT_EQ(image[i], 0) << i;
}

TEST(ImageWriter, StreamsFollowTheHeaderInTrackOrder) {
  std::vector<uint8_t> image = NewImage();
  const std::vector<uint8_t> two = {0x30, 0x03, 0x07, 0x00, 0x30};
  const std::vector<uint8_t> five = {0xF0, 0x78, 0x00};
  AppendTrackStream(image, 2, two, 48);
  AppendTrackStream(image, 5, five, 0);
  FinishImage(image, kImageFlagOwnInit | kImageFlagCopyright);

  EXPECT_EQ(OffsetOf(image, 2), 403u);
  EXPECT_EQ(TicksOf(image, 2), 48u);
  EXPECT_EQ(OffsetOf(image, 5), 403u + 5 + 4);
  EXPECT_EQ(TicksOf(image, 5), 0u);  // a stream without notes has no length
  for (int track : {1, 3, 4, 6, 48}) EXPECT_EQ(OffsetOf(image, track), 0u) << track;
  // Track 1's entries sit right after the magic; track 48's end the tables.
  EXPECT_EQ(ReadU32(&image[4 + 4]), 403u);
  EXPECT_EQ(ReadU32(&image[196 + 4]), 48u);

  const std::vector<uint8_t> streams(image.begin() + 403, image.end());
  EXPECT_EQ(streams, (std::vector<uint8_t>{0x30, 0x03, 0x07, 0x00, 0x30, 0xFF, 0xFF, 0xFF, 0x2E, 0xF0, 0x78, 0x00, 0xFF,
                                           0xFF, 0xFF, 0x2E}));
  EXPECT_EQ(image[390], 0x03);
  EXPECT_EQ(ReadU16(&image[388]), 0u);
  EXPECT_EQ(ReadU32(&image[392]), image.size());
}

TEST(ImageWriter, ItsHeaderReadsBackAsWritten) {
  std::vector<uint8_t> image = NewImage();
  AppendTrackStream(image, 48, std::vector<uint8_t>{0xEF}, 192);
  FinishImage(image, kImageFlagOwnInit);
  ImageHeader header;
  int bad = 0;
  ASSERT_EQ(ReadImageHeader(image, header, bad), ImageFault::kNone);
  EXPECT_EQ(header.trackOffset[47], 403u);
  EXPECT_EQ(header.trackTicks[47], 192u);
  EXPECT_EQ(header.flags, kImageFlagOwnInit);
  EXPECT_EQ(header.version, 23);
  EXPECT_EQ(header.imageLength, 408u);
}

}  // namespace
}  // namespace tsy
