// tessaly32: the desktop program. Takes no command-line arguments.
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QWidget window;
  window.setWindowTitle("Tessaly32");
  window.setFixedSize(640, 480);
  window.setStyleSheet("background: black");
  window.show();
  return app.exec();
}
