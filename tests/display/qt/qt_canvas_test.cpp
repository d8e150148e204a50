// The Qt canvas keeps text in its cells: half-width characters 6 pixels,
// full-width 12, drawn without anti-aliasing in the display font.

#include <gtest/gtest.h>

#include "qt_app.h"

#include <QApplication>
#include <QFontInfo>
#include <QImage>

#include "display/qt/qt_canvas.h"

namespace tsy {
namespace {

class QtCanvasTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { test::App(); }

  QtCanvasTest() : image_(64, 24, QImage::Format_RGB32) { image_.fill(Qt::black); }

  // Columns [from, to) of row band [0, 12) that hold a pixel other than black.
  bool InkBetween(int from, int to) const {
    for (int y = 0; y < 12; ++y)
      for (int x = from; x < to; ++x)
        if (image_.pixel(x, y) != qRgb(0, 0, 0)) return true;
    return false;
  }

  QImage image_;
};

TEST_F(QtCanvasTest, UsesTheIpaGothicFont) {
  EXPECT_TRUE(QFontInfo(DisplayFont()).family().contains("IPA")) << QFontInfo(DisplayFont()).family().toStdString();
}

TEST_F(QtCanvasTest, HalfWidthTextStaysInSixPixelCellsWithoutGreys) {
  {
    QtCanvas canvas(image_);
    canvas.Text(0, 0, "M", 0xFFFFFF);
    canvas.Text(12, 0, "W", 0xFFFFFF);
  }
  EXPECT_TRUE(InkBetween(0, 6));
  EXPECT_FALSE(InkBetween(6, 12));
  EXPECT_TRUE(InkBetween(12, 18));
  EXPECT_FALSE(InkBetween(18, 64));
  for (int y = 0; y < image_.height(); ++y)
    for (int x = 0; x < image_.width(); ++x) {
      const QRgb p = image_.pixel(x, y);
      ASSERT_TRUE(p == qRgb(0, 0, 0) || p == qRgb(255, 255, 255)) << x << "," << y;
    }
}

TEST_F(QtCanvasTest, FullWidthCharacterTakesTwoCells) {
  {
    QtCanvas canvas(image_);
    canvas.Text(0, 0,
                "\x82\xa0"
                "A",
                0xFFFFFF);  // HIRAGANA A, then a half-width A
  }
  EXPECT_TRUE(InkBetween(6, 12));   // the right half of the wide character
  EXPECT_TRUE(InkBetween(12, 18));  // the A in the third cell
  EXPECT_FALSE(InkBetween(18, 64));
}

TEST_F(QtCanvasTest, OpaqueTextFillsItsCellsAndCopiesKeepTheirSize) {
  {
    QtCanvas canvas(image_);
    canvas.Text(0, 12, "  ", 0x000000, 0xFFFF00);
    auto picture = canvas.MakePicture(20, 12);
    picture->FillRect(0, 0, 20, 12, 0x0000FF);
    canvas.Copy(*picture, 30, 0, 10, 12);
    canvas.Line(50, 0, 50, 3, 0xFF0000);
  }
  EXPECT_EQ(image_.pixel(11, 23), qRgb(255, 255, 0));
  EXPECT_EQ(image_.pixel(12, 23), qRgb(0, 0, 0));
  EXPECT_EQ(image_.pixel(39, 11), qRgb(0, 0, 255));
  EXPECT_EQ(image_.pixel(40, 0), qRgb(0, 0, 0));
  EXPECT_EQ(image_.pixel(50, 3), qRgb(255, 0, 0));
}

}  // namespace
}  // namespace tsy
