#pragma once
// The track status display in the main window: a child widget that fills
// the client area, never takes focus and lets every mouse and key event
// through to the main window. Its refresh thread paints into a frame off the
// UI thread and asks for the frame to be shown; the UI thread's own paints
// (a command's repaint, an expose) paint afresh.

#include "display/refresh_thread.h"
#include "display/track_display.h"

#include <QImage>
#include <QWidget>
#include <functional>
#include <mutex>

namespace tsy {

class TrackDisplayWidget : public QWidget {
 public:
  // `view` is called on the UI thread only, at every paint there.
  TrackDisplayWidget(QWidget* parent, std::function<TrackDisplayView()> view);
  ~TrackDisplayWidget() override;

  // Starts the refresh thread; `periodMs` gives the refresh period.
  void StartRefresh(std::function<int()> periodMs);
  // Paints at once what the engine holds now, as a command's change asks,
  // whether or not the play thread runs.
  void RepaintNow();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void PaintFrame(const TrackDisplayView& view);  // with frameMutex_ held

  std::function<TrackDisplayView()> view_;
  TrackDisplay display_;
  std::mutex frameMutex_;      // guards the members below
  QImage frame_;               // what the window shows
  TrackDisplayView lastView_;  // the view the refresh thread paints with
  bool frameFresh_ = false;    // the refresh thread painted since the last show
  RefreshThread refresh_;
};

}  // namespace tsy
