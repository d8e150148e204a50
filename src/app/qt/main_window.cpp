// The display's engine headers come before Qt's, whose `slots` macro they must not meet.
#include "display/qt/track_display_widget.h"

#include "app/qt/main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include "app/playing_source.h"
#include "core/settings/settings.h"
#include "display/qt/column_menu.h"
#include "midiout/output_opening.h"
#include "platform/qt/key_map.h"
#include "platform/text_codec.h"
#include "resources/window_texts.h"

namespace tsy {
namespace {

// The view the shell's state asks of the track display: its scroll, cursor,
// modes and version texts, with the open output's name.
TrackDisplayView TrackDisplayViewOf(const ShellState& state) {
  TrackDisplayView view;
  view.trackScroll = state.trackScroll;
  view.cursorRow = state.cursorRow;
  view.dispMode = state.dispMode;
  view.modeEq = state.modeEq != 0;
  view.texts.versionText = Utf8ToCp932(state.versionText);
  view.texts.legalText = Utf8ToCp932(state.legalText);
  view.texts.portName = Utf8ToCp932(OpenOutputName());
  view.texts.audioDriver = OpenAudioDriver();
  view.sourceLine = PlayingSourceLookup();
  return view;
}

bool HasColumns(const MenuItem& popup) {
  for (const MenuItem& item : popup.items)
    if (item.newColumn) return true;
  return false;
}

// The items of a pop-up laid out in columns; a chosen one stores its id in `chosen`.
std::vector<ColumnMenuItem> ColumnItems(const MenuItem& popup, int& chosen) {
  std::vector<ColumnMenuItem> items;
  items.reserve(popup.items.size());
  for (const MenuItem& item : popup.items)
    items.push_back(
        {QString::fromStdString(item.text), item.checked, item.newColumn, [&chosen, id = item.id] { chosen = id; }});
  return items;
}

// Fills `menu` from the menu model; chosen items report their ids.
void AddItems(QMenu& menu, const std::vector<MenuItem>& items, QMenu& top, int& chosen) {
  for (const MenuItem& item : items) {
    switch (item.kind) {
      case MenuItem::kSeparator: menu.addSeparator(); break;
      case MenuItem::kPopup: {
        QMenu* popup = menu.addMenu(QString::fromStdString(item.text));
        if (HasColumns(item)) AddColumns(*popup, ColumnItems(item, chosen), top);
        else AddItems(*popup, item.items, top, chosen);
        break;
      }
      case MenuItem::kCommand: {
        QAction* action = menu.addAction(QString::fromStdString(item.text));
        action->setData(item.id);
        action->setCheckable(item.checked);
        action->setChecked(item.checked);
        break;
      }
    }
  }
}

}  // namespace

MainWindow::MainWindow(Settings& settings, CoreBinder bindCore) : settings_(settings), host_(*this, settings) {
  setObjectName(kMainWindowClass);
  setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                 Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint);
  setWindowTitle(kProgramCaption);
  setFixedSize(kMainWindowWidth, kMainWindowHeight);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setFocusPolicy(Qt::StrongFocus);
  if (settings.windowLeft != kPositionUnset && settings.windowTop != kPositionUnset)
    move(settings.windowLeft, settings.windowTop);
  shell_ = std::make_unique<Shell>(host_, bindCore(host_, settings), settings);
  display_ = new TrackDisplayWidget(this, [this] { return TrackDisplayViewOf(shell_->state()); });
  sourceSaves_ = new SourceSaveWatch(
      this, [this] { return shell_->state().currentFile; }, [this] { shell_->SourceSaved(); });
  shell_->KeepWindowPosition(pos().x(), pos().y());
  shell_->Start();
}

MainWindow::~MainWindow() { delete display_; }

// The display is painted itself: repainting the window would leave the
// child that covers it alone.
void MainWindow::RepaintDisplay() { display_->RepaintNow(); }

// The refresh thread runs until the display, a child, is destroyed: after this
// window's own members, so it holds the settings record rather than `this`.
void MainWindow::StartDisplayRefresh() {
  display_->StartRefresh([&settings = settings_] { return int(settings.refreshPeriod); });
}

void MainWindow::keyPressEvent(QKeyEvent* event) {
  // Keys with Alt are the window system's (Alt+F4 and the like), not commands.
  if (event->modifiers() & Qt::AltModifier) return QWidget::keyPressEvent(event);
  if (int key = VirtualKeyFor(*event, CurrentKeyboardLayout())) shell_->KeyDown(key);
}

void MainWindow::keyReleaseEvent(QKeyEvent* event) {
  if (event->isAutoRepeat()) return;
  if (int key = VirtualKeyFor(*event, CurrentKeyboardLayout())) shell_->KeyUp(key);
}

void MainWindow::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::RightButton) ShowMainMenu(event->globalPosition().toPoint());
  if (event->button() == Qt::MiddleButton) shell_->MiddleButtonDown();
}

void MainWindow::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) shell_->LeftDoubleClick();
}

void MainWindow::wheelEvent(QWheelEvent* event) { shell_->Wheel(event->angleDelta().y()); }

void MainWindow::ShowMainMenu(const QPoint& globalPosition) {
  QMenu menu(this);
  int chosen = 0;
  AddItems(menu, shell_->MenuToOpen(), menu, chosen);
  if (QAction* action = menu.exec(globalPosition)) chosen = action->data().toInt();
  if (chosen) shell_->MenuChosen(chosen);
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (destroyed_) return event->accept();
  if (!shell_->CloseRequested()) return event->ignore();
  CloseWithoutAsking();
  event->accept();
}

void MainWindow::CloseWithoutAsking() {
  if (destroyed_) return;
  if (!isMinimized()) shell_->KeepWindowPosition(pos().x(), pos().y());
  destroyed_ = true;
  shell_->Destroyed();
  QApplication::quit();  // also ends an open box's loop; the Tone window goes with the main window
}

void MainWindow::moveEvent(QMoveEvent* event) {
  if (!isMinimized()) shell_->KeepWindowPosition(pos().x(), pos().y());
  QWidget::moveEvent(event);
}

void MainWindow::changeEvent(QEvent* event) {
  if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
    Qt::KeyboardModifiers held = QGuiApplication::queryKeyboardModifiers();
    shell_->Activated(held & Qt::ShiftModifier, held & Qt::ControlModifier);
  }
  QWidget::changeEvent(event);
}

void MainWindow::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), Qt::black);
}

bool MainWindow::focusNextPrevChild(bool) { return false; }

}  // namespace tsy
