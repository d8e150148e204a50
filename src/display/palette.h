#pragma once
// The main window's drawing colours, shared by the track display and the Tone
// window: a palette of 16 colours by index and the three plain brushes.

#include <array>

#include "display/canvas.h"

namespace tsy {

// ORDER PALETTE: indices are used as numbers (a keyboard k lights in palette k).
constexpr std::array<Colour, 16> kPalette = {
    0x000000,  // 0 black
    0x0000FF,  // 1 blue
    0xFF0000,  // 2 red
    0xFF00FF,  // 3 magenta
    0x00FF00,  // 4 green
    0x00FFFF,  // 5 cyan
    0xFFFF00,  // 6 yellow
    0xCCCCCC,  // 7 light grey
    0x777777,  // 8 grey
    0x0000C0,  // 9 dark blue
    0xC00000,  // 10 dark red
    0xC000C0,  // 11 dark magenta
    0x00C000,  // 12 dark green
    0x00C0C0,  // 13 dark cyan
    0xC0C000,  // 14 dark yellow
    0xFFFFFF,  // 15 white
};

constexpr Colour kBlack = kPalette[0];
constexpr Colour kBlue = kPalette[1];
constexpr Colour kRed = kPalette[2];
constexpr Colour kGreen = kPalette[4];
constexpr Colour kCyan = kPalette[5];
constexpr Colour kYellow = kPalette[6];
constexpr Colour kWhite = kPalette[15];
constexpr Colour kGrey = 0x777777;  // the grey brush: keyboard ground

}  // namespace tsy
