#pragma once
// The one QApplication of the window tests (QT_QPA_PLATFORM=offscreen).

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <functional>

namespace tsy::test {

// Never destroyed: at exit Qt's per-thread storage is gone before static
// objects are, and an application destroyed then crashes.
inline QApplication& App() {
  static int argc = 1;
  static char name[] = "tsy_window_tests";
  static char* argv[] = {name, nullptr};
  static QApplication* app = new QApplication(argc, argv);
  return *app;
}

// Runs `look` on the modal window that the next event loop opens, then closes it.
inline void WhenModalOpens(std::function<void(QWidget&)> look) {
  QTimer::singleShot(0, [look] {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal) return;
    look(*modal);
    modal->close();
  });
}

}  // namespace tsy::test
