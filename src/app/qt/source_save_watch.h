#pragma once
// Notices saves of the main window's current source: the file's time and
// size, looked at a few times a second, also when an editor saves by renaming
// a new file over the old one. The shell decides what a save does
// (LiveReload).

#include <QObject>
#include <QTimer>
#include <functional>
#include <string>

namespace tsy {

class SourceSaveWatch : public QObject {
 public:
  // `currentFile` names the file to watch, as it is now; `saved` runs on the
  // window's thread after each save.
  SourceSaveWatch(QObject* parent, std::function<std::string()> currentFile, std::function<void()> saved);

 private:
  void Look();

  std::function<std::string()> currentFile_;
  std::function<void()> saved_;
  QTimer timer_;
  std::string file_;     // the file seen at the last look
  qint64 modified_ = 0;  // its time (ms since the epoch) and size then; -1: not there
  qint64 size_ = -1;
};

}  // namespace tsy
