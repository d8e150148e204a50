#include "app/qt/about_box.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

#include "resources/window_texts.h"

namespace tsy {
namespace {

constexpr int kBannerWidth = 280;  // pixels
constexpr int kBannerHeight = 64;

// The banner: the program's name on a dark band with a row of meter bars, in
// the colours of the track display.
QPixmap Banner() {
  QPixmap banner(kBannerWidth, kBannerHeight);
  QPainter painter(&banner);
  QLinearGradient band(0, 0, 0, kBannerHeight);
  band.setColorAt(0, QColor(0x00, 0x00, 0x40));
  band.setColorAt(1, Qt::black);
  painter.fillRect(banner.rect(), band);
  for (int i = 0; i < 16; ++i) {
    int height = 8 + (i * 7919 % 13) * 3;
    painter.fillRect(kBannerWidth - 16 * 7 - 8 + i * 7, kBannerHeight - 6 - height, 5, height,
                     i % 2 ? QColor(0x00, 0xC0, 0xC0) : QColor(0x00, 0xFF, 0x00));
  }
  QFont font = painter.font();
  font.setPixelSize(26);
  font.setBold(true);
  painter.setFont(font);
  painter.setPen(Qt::white);
  painter.drawText(QRect(12, 0, kBannerWidth, kBannerHeight), Qt::AlignVCenter, kProgramCaption);
  return banner;
}

}  // namespace

void ShowAboutBox(QWidget& owner, const QString& versionText) {
  QDialog box(&owner);
  box.setWindowTitle(kAboutTitle);
  box.setWindowModality(Qt::ApplicationModal);
  auto* layout = new QVBoxLayout(&box);
  auto* banner = new QLabel(&box);
  banner->setPixmap(Banner());
  layout->addWidget(banner);
  auto* version = new QLabel(QString(kAboutVersionFormat).replace("%s", versionText), &box);
  version->setObjectName("version");
  layout->addWidget(version);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, &box);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &box, &QDialog::accept);
  layout->addWidget(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  buttons->button(QDialogButtonBox::Ok)->setFocus();
  box.exec();
}

}  // namespace tsy
