#include "display/qt/qt_canvas.h"

#include <QFontDatabase>
#include <QString>

#include "platform/text_codec.h"

namespace tsy {
namespace {

constexpr const char* kFontFile = "/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf";
constexpr const char* kFontFamily = "IPAGothic";
constexpr int kFontPixels = 12;

QColor ToQColor(Colour colour) { return QColor((colour >> 16) & 0xFF, (colour >> 8) & 0xFF, colour & 0xFF); }

// CP932 bytes as a QString; plain ASCII, the usual case, skips the converter.
QString ToQString(std::string_view text) {
  for (unsigned char byte : text) {
    if (byte >= 0x80) {
      const std::string utf8 = Cp932ToUtf8(text);
      return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
    }
  }
  return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

const QFont& DisplayFont() {
  static const QFont font = [] {
    // The font file is used when present; the family name also finds an
    // installed IPAGothic, and otherwise Qt's fixed-pitch fallback is taken.
    const int id = QFontDatabase::addApplicationFont(kFontFile);
    const QStringList families = QFontDatabase::applicationFontFamilies(id);
    QFont f(families.isEmpty() ? QString(kFontFamily) : families.first());
    f.setPixelSize(kFontPixels);
    f.setStyleHint(QFont::Monospace);
    f.setFixedPitch(true);
    f.setStyleStrategy(QFont::NoAntialias);
    f.setHintingPreference(QFont::PreferFullHinting);
    f.setKerning(false);
    return f;
  }();
  return font;
}

// An off-screen picture: a canvas that owns its image. The image sits in a
// base that is built before the canvas starts painting on it.
struct OwnedImage {
  QImage image;
};
class QtCanvas::Picture : private OwnedImage, public QtCanvas {
 public:
  explicit Picture(QImage picture) : OwnedImage{std::move(picture)}, QtCanvas(image) {}
};

QtCanvas::QtCanvas(QImage& image) : image_(image) {
  painter_.begin(&image_);
  painter_.setRenderHint(QPainter::Antialiasing, false);
  painter_.setRenderHint(QPainter::TextAntialiasing, false);
  painter_.setFont(DisplayFont());
  ascent_ = painter_.fontMetrics().ascent();
}

QtCanvas::~QtCanvas() { painter_.end(); }

void QtCanvas::FillRect(int x, int y, int width, int height, Colour colour) {
  painter_.fillRect(x, y, width, height, ToQColor(colour));
}

void QtCanvas::Text(int x, int y, std::string_view text, Colour fore, std::optional<Colour> back) {
  if (text.empty()) return;
  if (back) {
    FillRect(x, y, kCellWidth * static_cast<int>(text.size()), kCellHeight, *back);
  }
  painter_.setPen(ToQColor(fore));
  painter_.drawText(x, y + ascent_, ToQString(text));
}

void QtCanvas::Line(int x0, int y0, int x1, int y1, Colour colour) {
  painter_.setPen(QPen(ToQColor(colour), 0));
  painter_.drawLine(x0, y0, x1, y1);
}

std::unique_ptr<Canvas> QtCanvas::MakePicture(int width, int height) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(Qt::black);
  return std::make_unique<Picture>(std::move(image));
}

void QtCanvas::Copy(const Canvas& picture, int x, int y, int width, int height) {
  const auto& from = static_cast<const QtCanvas&>(picture);
  painter_.drawImage(QPoint(x, y), from.image_, QRect(0, 0, width, height));
}

}  // namespace tsy
