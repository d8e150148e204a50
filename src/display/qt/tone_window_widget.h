#pragma once
// The Tone window on Qt: a tool window owned by the main window, fixed in
// size, that shows and drives the Tone window logic (display/tone_window.h).
// The logic's state outlives it.

#include "display/refresh_thread.h"
#include "display/tone_window.h"

#include <QImage>
#include <QWidget>
#include <memory>

namespace tsy {

struct Settings;

class ToneWindowWidget : public QWidget {
 public:
  // Opens centred on `mainWindow` unless `settings` holds a position, which
  // it keeps when it moves; `settings` also gives ExitCheck and the refresh
  // period. Deletes itself when closed.
  ToneWindowWidget(QWidget& mainWindow, Settings& settings, ToneWindow& logic);
  ~ToneWindowWidget() override;

  // Paints at once what the engine holds now, as a key's change asks,
  // whether or not the play thread runs.
  void RepaintNow();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  bool focusNextPrevChild(bool next) override;  // Tab is a command here

 private:
  void PlaceBesideMainWindow();
  void ShowPopup(const QPoint& globalPosition);
  void KeepPosition();

  QWidget& mainWindow_;
  Settings& settings_;
  ToneWindow& logic_;
  std::unique_ptr<EngineState> copy_;  // the engine state each paint reads
  QImage frame_;
  RefreshThread refresh_;
};

}  // namespace tsy
