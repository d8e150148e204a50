#pragma once
// Where the track display puts things in the main window's client area, and
// the off-screen pictures its panels are drawn in. Pixels throughout.

#include <array>

namespace tsy {

struct Place {
  int x, y, width, height;
};

// The off-screen pictures, made on first use; panels of the same kind share one.
enum class Picture { kTrackList, kLine, kBeat, kKeyboard, kMeter, kCount };

// ORDER Picture
constexpr std::array<Place, static_cast<size_t>(Picture::kCount)> kPictureSizes = {{
    {0, 0, 300, 192},  // track list: 16 rows of 50 cells
    {0, 0, 504, 12},   // line: comment, version, tempo, position, standards, device
    {0, 0, 32, 32},    // beat indicator
    {0, 0, 441, 24},   // keyboard: 63 white keys of 7 pixels
    {0, 0, 16, 80},    // meter: 16 segments and a label
}};

// The panels and where each is copied; only its own size is copied, so a
// panel shorter than its picture shows just its left part.
constexpr Place kTrackListPlace = {16, 16, 300, 192};
constexpr Place kCommentPlace = {16, 224, 504, 12};
constexpr Place kImageVersionPlace = {593, 212, 30, 12};
constexpr Place kTempoPlace = {593, 224, 30, 12};
constexpr Place kPositionPlace = {569, 236, 54, 12};
constexpr Place kStandardsPlace = {557, 248, 66, 12};
constexpr Place kDevicePlace = {16, 248, 504, 12};
constexpr Place kBeatPlace = {524, 214, 32, 32};

constexpr int kKeyboardCount = 6;  // numbered 1..6, as trackTag names them
constexpr Place KeyboardPlace(int k) { return {176, 244 + 28 * k, 441, 24}; }

constexpr int kMeterCount = 16;  // numbered 0..15
constexpr Place MeterPlace(int k) { return {328 + 18 * k, 16, 16, 80}; }

// Texts drawn straight onto the window.
constexpr int kVersionHeaderRight = 620;  // the header ends here
constexpr int kVersionHeaderY = 2;
constexpr int kKeyHelpX = 16;
constexpr int kKeyHelpY = 268;  // line i at kKeyHelpY + 12 i

}  // namespace tsy
