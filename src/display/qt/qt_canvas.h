#pragma once
// The Canvas on a QImage: what the track display and the Tone window paint
// into, off the UI thread if need be (QPainter on a QImage is thread-safe).
// Text uses IPAGothic at 12 pixels without anti-aliasing, whose half-width
// characters are 6 pixels and full-width ones 12, so text fits its cells.

#include <QFont>
#include <QImage>
#include <QPainter>

#include "display/canvas.h"

namespace tsy {

// Loads the display font once; call on the UI thread before the first paint.
const QFont& DisplayFont();

class QtCanvas : public Canvas {
 public:
  // Paints on `image`, which must outlive the canvas.
  explicit QtCanvas(QImage& image);
  ~QtCanvas() override;

  void FillRect(int x, int y, int width, int height, Colour colour) override;
  void Text(int x, int y, std::string_view text, Colour fore, std::optional<Colour> back = std::nullopt) override;
  void Line(int x0, int y0, int x1, int y1, Colour colour) override;
  std::unique_ptr<Canvas> MakePicture(int width, int height) override;
  void Copy(const Canvas& picture, int x, int y, int width, int height) override;
  int depth() const override { return image_.depth(); }

 private:
  class Picture;

  QImage& image_;
  QPainter painter_;
  int ascent_;
};

}  // namespace tsy
