#include "display/recording_canvas.h"

#include <algorithm>

namespace tsy {

void RecordingCanvas::FillRect(int x, int y, int width, int height, Colour colour) {
  if (x <= 0 && y <= 0 && x + width >= width_ && y + height >= height_) Clear();
  fills_.push_back({x, y, width, height, colour});
}

void RecordingCanvas::Text(int x, int y, std::string_view text, Colour fore, std::optional<Colour> back) {
  texts_.push_back({x, y, std::string(text), fore, back});
}

void RecordingCanvas::Line(int x0, int y0, int x1, int y1, Colour colour) {
  lines_.push_back({x0, y0, x1, y1, colour});
}

std::unique_ptr<Canvas> RecordingCanvas::MakePicture(int width, int height) {
  ++picturesMade_;
  auto picture = std::make_unique<RecordingCanvas>(width, height, depth_);
  picture->FillRect(0, 0, width, height, 0x000000);
  return picture;
}

void RecordingCanvas::Copy(const Canvas& picture, int x, int y, int width, int height) {
  const auto& from = static_cast<const RecordingCanvas&>(picture);
  auto inside = [&](int px, int py) { return px >= 0 && py >= 0 && px < width && py < height; };
  for (const Fill& f : from.fills_) {
    if (!inside(f.x, f.y)) continue;
    fills_.push_back({f.x + x, f.y + y, std::min(f.width, width - f.x), std::min(f.height, height - f.y), f.colour});
  }
  for (const TextRun& t : from.texts_) {
    if (inside(t.x, t.y)) texts_.push_back({t.x + x, t.y + y, t.text, t.fore, t.back});
  }
  for (const LineDrawn& l : from.lines_) {
    if (inside(l.x0, l.y0)) lines_.push_back({l.x0 + x, l.y0 + y, l.x1 + x, l.y1 + y, l.colour});
  }
}

void RecordingCanvas::Clear() {
  texts_.clear();
  fills_.clear();
  lines_.clear();
}

const RecordingCanvas::TextRun* RecordingCanvas::TextAt(int x, int y) const {
  for (auto it = texts_.rbegin(); it != texts_.rend(); ++it) {
    if (it->x == x && it->y == y) return &*it;
  }
  return nullptr;
}

std::optional<Colour> RecordingCanvas::FillColourAt(int x, int y) const {
  for (auto it = fills_.rbegin(); it != fills_.rend(); ++it) {
    if (x >= it->x && y >= it->y && x < it->x + it->width && y < it->y + it->height) {
      return it->colour;
    }
  }
  return std::nullopt;
}

}  // namespace tsy
