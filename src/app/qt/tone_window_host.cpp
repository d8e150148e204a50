// The display's engine headers come before Qt's, whose `slots` macro they must not meet.
#include "display/qt/tone_window_widget.h"

#include "app/qt/tone_window_host.h"

#include "app/qt/main_window.h"

#include <QPointer>

#include "core/engine/play_controls.h"
#include "core/settings/settings.h"
#include "midiout/message_delivery.h"

namespace tsy {
namespace {

// What the logic asks of the program: the open window (if any), the main
// window, the output and the play controls. Lives as long as the logic.
class QtToneHost : public ToneWindowHost {
 public:
  void SendShort(MessageWord message) override { tsy::SendShort(message); }
  void Play(PlayControl control) override {
    switch (control) {
      case PlayControl::kPlayFromStart: PlayFromStart(); break;
      case PlayControl::kHalt: Halt(); break;
      case PlayControl::kFadeOut: FadeOut(); break;
      case PlayControl::kResume: Resume(); break;
    }
  }
  void RepaintTone() override {
    if (window) window->RepaintNow();
  }
  // The main window's track display, which then shows what the engine holds now.
  void RepaintMain() override {
    if (auto* main = dynamic_cast<MainWindow*>(mainWindow.data())) main->RepaintDisplay();
  }
  void Close() override {
    if (window) window->close();
  }
  void ActivateNextWindow() override {
    if (!mainWindow) return;
    mainWindow->raise();
    mainWindow->activateWindow();
  }
  bool AutoJump() override { return settings && settings->toneAutoJump != 0; }
  std::shared_ptr<const ToneLists> Lists() override { return CurrentToneLists(); }

  QPointer<ToneWindowWidget> window;
  QPointer<QWidget> mainWindow;
  Settings* settings = nullptr;
};

QtToneHost& Host() {
  static QtToneHost host;
  return host;
}

ToneWindow& Logic() {
  static ToneWindow logic(Host(), GetState());
  return logic;
}

}  // namespace

void OpenToneWindow(QWidget& mainWindow, Settings& settings) {
  QtToneHost& host = Host();
  if (host.window) {
    host.window->raise();
    host.window->activateWindow();
    return;
  }
  host.mainWindow = &mainWindow;
  host.settings = &settings;
  auto* window = new ToneWindowWidget(mainWindow, settings, Logic());
  host.window = window;
  window->show();
  window->activateWindow();
}

void RepaintToneWindow() {
  if (Host().window) Host().window->update();
}

}  // namespace tsy
