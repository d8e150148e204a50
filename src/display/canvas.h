#pragma once
// The drawing surface the displays paint on: a window's client area or an
// off-screen picture. Text is CP932 bytes laid out in fixed cells: every byte
// is one 6 x 12 pixel cell, so a double-byte character takes two cells.

#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>

namespace tsy {

using Colour = uint32_t;  // 0xRRGGBB

constexpr int kCellWidth = 6;    // pixels per CP932 byte
constexpr int kCellHeight = 12;  // pixels per text line

class Canvas {
 public:
  virtual ~Canvas() = default;

  // Fills the rectangle from (x, y), `width` x `height` pixels.
  virtual void FillRect(int x, int y, int width, int height, Colour colour) = 0;

  // Draws `text` with its first cell's top-left corner at (x, y). With a
  // `back` colour each cell is first filled with it; without, the ground shows.
  virtual void Text(int x, int y, std::string_view text, Colour fore, std::optional<Colour> back = std::nullopt) = 0;

  // A one-pixel line from (x0, y0) to (x1, y1), both ends included.
  virtual void Line(int x0, int y0, int x1, int y1, Colour colour) = 0;

  // A new off-screen picture of `width` x `height` pixels, black, that can be
  // copied onto this canvas.
  virtual std::unique_ptr<Canvas> MakePicture(int width, int height) = 0;

  // Copies the top-left `width` x `height` pixels of `picture` (made by this
  // canvas's MakePicture) to (x, y).
  virtual void Copy(const Canvas& picture, int x, int y, int width, int height) = 0;

  // Bits per pixel of the surface: pictures made for one depth are rebuilt
  // when it changes.
  virtual int depth() const = 0;
};

}  // namespace tsy
