#pragma once
// The main window: 640 by 480 pixels, no sizing border, black. It turns Qt's
// key, mouse and window events into the shell's events; the track display
// fills its client area.

#include <QWidget>
#include <memory>

#include "app/qt/qt_host.h"
#include "app/qt/source_save_watch.h"
#include "app/shell.h"

namespace tsy {

struct Settings;
class TrackDisplayWidget;

constexpr int kMainWindowWidth = 640;  // pixels
constexpr int kMainWindowHeight = 480;

class MainWindow : public QWidget {
 public:
  // `core` is what the commands drive; the program passes BindCore's.
  using CoreBinder = CoreCalls (*)(ShellHost& host, Settings& settings);
  MainWindow(Settings& settings, CoreBinder bindCore);
  // The display goes first: its refresh thread and paints read the shell.
  ~MainWindow() override;

  Shell& shell() { return *shell_; }
  QtShellHost& host() { return host_; }

  // Starts the track display's refresh thread (a step of the start-up chain).
  void StartDisplayRefresh();
  // Repaints the track display at once, as a command's change asks.
  void RepaintDisplay();
  // Ends the program as closing the window does (output closed, state kept
  // for the settings), without the ExitCheck question: a signal asks it.
  void CloseWithoutAsking();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void changeEvent(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  // Tab is a command here, not a move between controls.
  bool focusNextPrevChild(bool next) override;

 private:
  void ShowMainMenu(const QPoint& globalPosition);

  Settings& settings_;
  QtShellHost host_;
  std::unique_ptr<Shell> shell_;
  TrackDisplayWidget* display_;   // fills the client area
  SourceSaveWatch* sourceSaves_;  // a child: saves of the current source reach the shell
  bool destroyed_ = false;
};

}  // namespace tsy
