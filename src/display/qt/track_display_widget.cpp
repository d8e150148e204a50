#include "display/qt/track_display_widget.h"

#include <QPainter>
#include <chrono>

#include "display/current_state.h"
#include "display/qt/qt_canvas.h"

namespace tsy {
namespace {

uint32_t WallClockMs() {
  using namespace std::chrono;
  return static_cast<uint32_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

bool SameView(const TrackDisplayView& a, const TrackDisplayView& b) {
  return a.trackScroll == b.trackScroll && a.cursorRow == b.cursorRow && a.dispMode == b.dispMode &&
         a.modeEq == b.modeEq && a.texts.versionText == b.texts.versionText && a.texts.legalText == b.texts.legalText &&
         a.texts.portName == b.texts.portName;
}

}  // namespace

TrackDisplayWidget::TrackDisplayWidget(QWidget* parent, std::function<TrackDisplayView()> view)
    : QWidget(parent), view_(std::move(view)) {
  DisplayFont();  // loaded here, on the UI thread, before any paint
  setFocusPolicy(Qt::NoFocus);
  setAttribute(Qt::WA_TransparentForMouseEvents);
  setAttribute(Qt::WA_OpaquePaintEvent);
  if (parent) setGeometry(parent->rect());
  frame_ = QImage(size().expandedTo(QSize(1, 1)), QImage::Format_RGB32);
  frame_.fill(Qt::black);
}

TrackDisplayWidget::~TrackDisplayWidget() { refresh_.Stop(); }

void TrackDisplayWidget::StartRefresh(std::function<int()> periodMs) {
  refresh_.Start(std::move(periodMs), [this] {
    {
      std::lock_guard lock(frameMutex_);
      PaintFrame(lastView_);
      frameFresh_ = true;
    }
    QMetaObject::invokeMethod(
        this, [this] { update(); }, Qt::QueuedConnection);
  });
}

void TrackDisplayWidget::RepaintNow() {
  PublishCurrentState();
  {
    std::lock_guard lock(frameMutex_);
    frameFresh_ = false;  // a frame of the refresh thread may predate the command
  }
  repaint();
}

void TrackDisplayWidget::PaintFrame(const TrackDisplayView& view) {
  QtCanvas canvas(frame_);
  display_.Paint(canvas, view, WallClockMs());
}

void TrackDisplayWidget::paintEvent(QPaintEvent*) {
  const TrackDisplayView view = view_();
  std::lock_guard lock(frameMutex_);
  // A frame the refresh thread just made for the same view is shown as it
  // is; anything else (a command changed the view, an expose) paints anew.
  if (!frameFresh_ || !SameView(view, lastView_)) {
    lastView_ = view;
    PaintFrame(view);
  }
  frameFresh_ = false;
  QPainter painter(this);
  painter.drawImage(0, 0, frame_);
}

void TrackDisplayWidget::resizeEvent(QResizeEvent*) {
  std::lock_guard lock(frameMutex_);
  QImage frame(size().expandedTo(QSize(1, 1)), QImage::Format_RGB32);
  frame.fill(Qt::black);
  frame_ = frame;
}

}  // namespace tsy
