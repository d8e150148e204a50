// LoadImage: what it copies, what it refuses, and that a foreign image is never read beyond.
#include <gtest/gtest.h>

#include "test_image.h"

namespace tsy::test {
namespace {

TEST(LoadImage, RefusesAWrongMagicAndForgetsThePreviousImage) {
  ASSERT_TRUE(LoadFresh(BuildImage({{1, Note(60, 48)}})));
  Bytes bad = BuildImage({{1, Note(60, 48)}});
  bad[3] = '2';
  Bytes buffer(kObjectBufferSize, 0);
  std::copy(bad.begin(), bad.end(), buffer.begin());
  EXPECT_FALSE(LoadImage(buffer.data(), buffer.size()).ok());
  EXPECT_EQ(CurrentImage(), nullptr);
  EXPECT_EQ(GetState().trackPos[0], nullptr);
  EXPECT_FALSE(LoadImage(buffer.data(), 100).ok()) << "shorter than a header";
}

TEST(LoadImage, PlaysVersions17To23Only) {
  struct Case {
    uint8_t version;
    bool tracksSet;
    int firstPass;
  };
  const Case cases[] = {{16, false, -1}, {17, true, 1}, {23, true, 1}, {24, false, -1}};
  for (const Case& c : cases) {
    ASSERT_TRUE(LoadFresh(BuildImage({{1, Note(60, 48)}}, 0, c.version))) << int{c.version};
    EXPECT_EQ(GetState().trackPos[0] != nullptr, c.tracksSet) << int{c.version};
    EXPECT_EQ(GetState().imageVersion, c.version);
    MessageWord words[kMessageCapacity];
    EXPECT_EQ(TrackPass(0, words, nullptr), c.firstPass) << int{c.version};
  }
  EXPECT_EQ(CurrentImage(), nullptr) << "a newer image leaves the engine without one";
}

TEST(LoadImage, SetsTrackStartsFromTheHeader) {
  ASSERT_TRUE(LoadFresh(BuildImage({{2, Note(60, 48)}, {5, Note(62, 48)}})));
  const uint8_t* image = CurrentImage();
  const EngineState& s = GetState();
  EXPECT_EQ(s.trackStart[0], nullptr);
  EXPECT_EQ(s.trackStart[1].load(), image + 403);
  EXPECT_EQ(s.trackStart[4].load(), image + 403 + 9);
  EXPECT_EQ(s.trackPos[4].load(), s.trackStart[4].load());
}

TEST(LoadImage, TakesTheStatedLengthAndNothingBeyondIt) {
  // A track whose offset lies beyond the image length is absent, although the
  // object buffer holds bytes there.
  Bytes image = BuildImage({{1, Note(60, 48)}});
  const uint32_t outside = static_cast<uint32_t>(image.size()) + 50;
  WriteU32(&image[TrackOffsetEntry(2)], outside);
  Bytes buffer(kObjectBufferSize, 0);
  std::copy(image.begin(), image.end(), buffer.begin());
  const Bytes note = Note(62, 48);
  std::copy(note.begin(), note.end(), buffer.begin() + outside);
  ClearEngineState();
  ASSERT_TRUE(LoadImage(buffer.data(), buffer.size()).ok());
  EXPECT_NE(GetState().trackPos[0], nullptr);
  EXPECT_EQ(GetState().trackPos[1], nullptr);

  // With neither length field the whole buffer is the image.
  std::fill(buffer.begin() + kImageLengthField, buffer.begin() + kImageLengthField + 4, 0);
  ASSERT_TRUE(LoadImage(buffer.data(), buffer.size()).ok());
  EXPECT_NE(GetState().trackPos[1], nullptr);
}

TEST(LoadImage, OffsetsFarOutsideTheBufferAreAbsentTracks) {
  Bytes image = BuildImage({{1, Note(60, 48)}});
  image[kTrackOffsetTable + 3] = 0xFF;  // track 1 at 0xFF000193
  ASSERT_TRUE(LoadFresh(image));
  EXPECT_EQ(GetState().trackPos[0], nullptr);
}

}  // namespace
}  // namespace tsy::test
