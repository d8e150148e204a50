#include "display/qt/tone_window_widget.h"

#include <QActionGroup>
#include <QCloseEvent>
#include <QMenu>
#include <QMessageBox>
#include <QPainter>
#include <algorithm>

#include "core/engine/state_snapshot.h"
#include "core/settings/settings.h"
#include "display/current_state.h"
#include "display/qt/column_menu.h"
#include "display/qt/qt_canvas.h"
#include "platform/qt/key_map.h"
#include "platform/text_codec.h"
#include "platform/virtual_keys.h"
#include "resources/window_texts.h"

namespace tsy {
namespace {

// Half the Tone window's outer size: it opens centred on the main window.
constexpr int kHalfWidth = 243;
constexpr int kHalfHeight = 126;

// A menu text from the program's CP932, with "&" kept as a plain character.
QString MenuText(const std::string& cp932) { return QString::fromStdString(Cp932ToUtf8(cp932)).replace('&', "&&"); }

}  // namespace

ToneWindowWidget::ToneWindowWidget(QWidget& mainWindow, Settings& settings, ToneWindow& logic)
    : QWidget(&mainWindow, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      mainWindow_(mainWindow),
      settings_(settings),
      logic_(logic),
      copy_(std::make_unique<EngineState>()),
      frame_(kToneClientWidth, kToneClientHeight, QImage::Format_RGB32) {
  DisplayFont();
  setObjectName(kToneWindowClass);
  setWindowTitle(kToneWindowTitle);
  setAttribute(Qt::WA_DeleteOnClose);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setFocusPolicy(Qt::StrongFocus);
  setFixedSize(kToneClientWidth, kToneClientHeight);
  frame_.fill(Qt::black);
  PlaceBesideMainWindow();
  logic_.Opened();
  // The refresh thread starts once the window is up, as a posted step. It
  // only asks for repaints: painting stays on the window's own thread,
  // which is also the one that changes the logic's state.
  QMetaObject::invokeMethod(
      this,
      [this] {
        refresh_.Start([this] { return std::max(1, int{settings_.refreshPeriod}); },
                       [this] {
                         QMetaObject::invokeMethod(
                             this, [this] { update(); }, Qt::QueuedConnection);
                       });
      },
      Qt::QueuedConnection);
}

ToneWindowWidget::~ToneWindowWidget() {
  refresh_.Stop();
  logic_.Closing();
  KeepPosition();
}

// The stored position, or centred on the main window when none is stored.
void ToneWindowWidget::PlaceBesideMainWindow() {
  int left = settings_.toneWindowLeft, top = settings_.toneWindowTop;
  const QPoint centre = mainWindow_.frameGeometry().center();
  if (left == kPositionUnset) left = centre.x() - kHalfWidth;
  if (top == kPositionUnset) top = centre.y() - kHalfHeight;
  move(left, top);
}

void ToneWindowWidget::KeepPosition() {
  settings_.toneWindowLeft = frameGeometry().left();
  settings_.toneWindowTop = frameGeometry().top();
}

void ToneWindowWidget::RepaintNow() {
  PublishCurrentState();
  repaint();
}

void ToneWindowWidget::paintEvent(QPaintEvent*) {
  ReadEngineState(*copy_);
  {
    QtCanvas canvas(frame_);
    logic_.Paint(canvas, *copy_);
  }
  QPainter painter(this);
  painter.drawImage(0, 0, frame_);
}

void ToneWindowWidget::keyPressEvent(QKeyEvent* event) {
  const int key = VirtualKeyFor(*event, CurrentKeyboardLayout());
  if (key == 0) return;
  logic_.KeyDown(key, (event->modifiers() & Qt::KeypadModifier) != 0);
}

void ToneWindowWidget::keyReleaseEvent(QKeyEvent* event) {
  if (event->isAutoRepeat()) return;  // a held key is still down
  const int key = VirtualKeyFor(*event, CurrentKeyboardLayout());
  if (key != 0) logic_.KeyUp(key);
}

void ToneWindowWidget::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::RightButton) {
    ShowPopup(event->globalPosition().toPoint());
  } else if (event->button() == Qt::MiddleButton) {
    const QPoint at = event->position().toPoint();
    logic_.MiddleClick(at.x(), at.y());
  }
}

void ToneWindowWidget::wheelEvent(QWheelEvent* event) {
  const int delta = event->angleDelta().y();
  if (delta == 0) return;
  const QPoint at = event->position().toPoint();
  logic_.Wheel(at.x(), at.y(), delta);
}

void ToneWindowWidget::closeEvent(QCloseEvent* event) {
  if (settings_.toneExitCheck != 0) {
    const auto answer =
        QMessageBox::question(this, kProgramCaption, kToneCloseQuestion, QMessageBox::Yes | QMessageBox::No);
    if (answer != QMessageBox::Yes) {
      event->ignore();
      return;
    }
  }
  event->accept();
}

void ToneWindowWidget::moveEvent(QMoveEvent*) { KeepPosition(); }

bool ToneWindowWidget::focusNextPrevChild(bool) { return false; }

// The popup "POPUP2": play controls, the channel and tone submenus (built
// anew each time from the state now), Exit.
void ToneWindowWidget::ShowPopup(const QPoint& globalPosition) {
  QMenu menu(this);
  auto key = [this](int code) { return [this, code] { logic_.KeyDown(code, true); }; };
  menu.addAction(kToneMenuPlay, this, key(vk::Numpad(1)));
  menu.addAction(kToneMenuHaltPlay, this, key(vk::Numpad(2)));
  menu.addAction(kToneMenuFadeOut, this, key(vk::Numpad(3)));
  menu.addAction(kToneMenuReplay, this, key(vk::Numpad(4)));

  // Two columns, the second from "9" on.
  std::vector<ColumnMenuItem> channels;
  channels.reserve(kChannelCount);
  for (int c = 0; c < kChannelCount; ++c)
    channels.push_back({QString::number(c + 1), c == logic_.channel(), c == kChannelCount / 2,
                        [this, c] { logic_.ChooseChannel(c); }});
  AddColumns(*menu.addMenu(kToneMenuChannel), channels, menu);

  QMenu* tones = menu.addMenu(kToneMenuTone);
  tones->addAction(kToneMenuToneJump, this, [this] { logic_.KeyDown(vk::kTab, false); });
  tones->addSeparator();
  const auto lists = CurrentToneLists();
  const ToneList& list = ToneWindow::UsesSecondList(GetState(), logic_.channel()) ? lists->eqd : lists->eqn;
  for (int i = 0; i < list.count; ++i) {
    const QString text =
        MenuText(list.name(i)) + QString("\t(%1,%2,%3)").arg(list.program(i)).arg(list.bankMsb(i)).arg(list.bankLsb(i));
    tones->addAction(text, this, [this, i] { logic_.ChooseTone(i); });
  }

  menu.addAction(kToneMenuExit, this, [this] { close(); });
  menu.exec(globalPosition);
}

}  // namespace tsy
