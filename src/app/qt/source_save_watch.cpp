#include "app/qt/source_save_watch.h"

#include <QDateTime>
#include <QFileInfo>

namespace tsy {
namespace {

constexpr int kLookPeriodMs = 100;  // a save is heard well within a bar at any usual tempo

}  // namespace

SourceSaveWatch::SourceSaveWatch(QObject* parent, std::function<std::string()> currentFile, std::function<void()> saved)
    : QObject(parent), currentFile_(std::move(currentFile)), saved_(std::move(saved)) {
  connect(&timer_, &QTimer::timeout, this, &SourceSaveWatch::Look);
  timer_.start(kLookPeriodMs);
}

void SourceSaveWatch::Look() {
  const std::string file = currentFile_();
  const QFileInfo info(QString::fromStdString(file));
  const qint64 modified = info.exists() ? info.lastModified().toMSecsSinceEpoch() : -1;
  const qint64 size = info.exists() ? info.size() : -1;
  const bool changed = file == file_ && modified >= 0 && (modified != modified_ || size != size_);
  file_ = file;
  modified_ = modified;
  size_ = size;
  if (changed) saved_();
}

}  // namespace tsy
