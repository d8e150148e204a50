// The source band below the keyboards: the selected track's line and column
// and its source line, cut to fit without splitting a double-byte character.
#include "display/source_line_panel.h"

#include <gtest/gtest.h>

#include <memory>

#include "display/recording_canvas.h"

namespace tsy {
namespace {

TEST(SourceLinePanel, ShowsLineColumnAndTheTextCutToFit) {
  EXPECT_EQ(SourceLineText({12, 5, "1[ o4 cdef\tgab ]"}, 100), "L.12 C.5  1[ o4 cdef gab ]");
  EXPECT_EQ(SourceLineText({3, 1, "cdefgab"}, 14), "L.3 C.1  cdefg");
  // "ド" is two bytes in CP932: a cell short of it, it is left out whole.
  const std::string doremi = "\x83\x68\x83\x8c";
  EXPECT_EQ(SourceLineText({3, 1, doremi}, 11), "L.3 C.1  \x83\x68");
  EXPECT_EQ(SourceLineText({3, 1, doremi}, 12), "L.3 C.1  \x83\x68");
}

TEST(SourceLinePanel, DrawsTheSelectedTracksLineAndClearsTheBandOtherwise) {
  auto state = std::make_unique<EngineState>();
  RecordingCanvas window;
  int asked = -1;
  const SourceLineLookup lookup = [&](const EngineState&, int track) {
    asked = track;
    return track == 2 ? PlayingSourceLine{7, 3, "c4 d4"} : PlayingSourceLine{};
  };
  DrawSourceLine(window, *state, 2, lookup);
  EXPECT_EQ(asked, 2);
  const RecordingCanvas::TextRun* run = window.TextAt(kSourceLinePlace.x, kSourceLinePlace.y);
  ASSERT_NE(run, nullptr);
  EXPECT_EQ(run->text, "L.7 C.3  c4 d4");

  RecordingCanvas blank;
  DrawSourceLine(blank, *state, 5, lookup);
  EXPECT_EQ(blank.TextAt(kSourceLinePlace.x, kSourceLinePlace.y), nullptr) << "nothing known: the band stays black";
  DrawSourceLine(blank, *state, 2, {});
  EXPECT_EQ(blank.TextAt(kSourceLinePlace.x, kSourceLinePlace.y), nullptr);
}

}  // namespace
}  // namespace tsy
