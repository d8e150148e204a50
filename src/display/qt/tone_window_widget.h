#pragma once
// The Tone window on Qt: a tool window owned by the main window, fixed in
// size, that shows and drives the Tone window logic (display/tone_window.h).
// Only one exists at a time; the logic's state outlives it.

#include "display/refresh_thread.h"
#include "display/tone_window.h"

#include <QImage>
#include <QWidget>
#include <memory>

namespace tsy {

struct Settings;

// Opens the Tone window beside `mainWindow`, or brings it to the front when
// it is open. `settings` gives its position, AutoJump, ExitCheck and the
// refresh period, and keeps its position when it closes.
void OpenToneWindow(QWidget& mainWindow, Settings& settings);

// Repaints the Tone window if it is open (the tone lists were reloaded).
void RepaintToneWindow();

class ToneWindowWidget : public QWidget {
 public:
  ToneWindowWidget(QWidget& mainWindow, Settings& settings, ToneWindow& logic);
  ~ToneWindowWidget() override;

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
