#pragma once
// A canvas that draws nothing and remembers what was drawn: text runs with
// their colours, filled rectangles and lines, in window coordinates. Tests
// read a paint back from it as a person would read the screen.

#include <string>
#include <vector>

#include "display/canvas.h"

namespace tsy {

class RecordingCanvas : public Canvas {
 public:
  struct TextRun {
    int x, y;
    std::string text;  // CP932 bytes as drawn
    Colour fore;
    std::optional<Colour> back;
  };
  struct Fill {
    int x, y, width, height;
    Colour colour;
  };
  struct LineDrawn {
    int x0, y0, x1, y1;
    Colour colour;
  };

  explicit RecordingCanvas(int width = 640, int height = 480, int depth = 32)
      : width_(width), height_(height), depth_(depth) {}

  // A fill of the whole surface covers everything drawn before: those
  // records are dropped.
  void FillRect(int x, int y, int width, int height, Colour colour) override;
  void Text(int x, int y, std::string_view text, Colour fore, std::optional<Colour> back = std::nullopt) override;
  void Line(int x0, int y0, int x1, int y1, Colour colour) override;
  std::unique_ptr<Canvas> MakePicture(int width, int height) override;
  // Takes over the picture's records that start inside the copied area,
  // moved by (x, y).
  void Copy(const Canvas& picture, int x, int y, int width, int height) override;
  int depth() const override { return depth_; }

  void set_depth(int depth) { depth_ = depth; }
  void Clear();

  const std::vector<TextRun>& texts() const { return texts_; }
  const std::vector<Fill>& fills() const { return fills_; }
  const std::vector<LineDrawn>& lines() const { return lines_; }
  int picturesMade() const { return picturesMade_; }

  // The last text run drawn with its first cell at (x, y), or null.
  const TextRun* TextAt(int x, int y) const;
  // The colour of the last fill that covers pixel (x, y), or nullopt.
  std::optional<Colour> FillColourAt(int x, int y) const;

 private:
  std::vector<TextRun> texts_;
  std::vector<Fill> fills_;
  std::vector<LineDrawn> lines_;
  int width_, height_;
  int depth_;
  int picturesMade_ = 0;
};

}  // namespace tsy
