#include "cli/source_watch.h"

#include <sys/inotify.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "cli/compile_report.h"
#include "cli/music_input.h"
#include "core/compiler/compile_driver.h"
#include "core/engine/play_thread.h"

namespace tsy::cli {
namespace {

// A save is complete when the file written is closed, or when a file
// written elsewhere is renamed into its place.
constexpr uint32_t kSaveEvents = IN_CLOSE_WRITE | IN_MOVED_TO;

}  // namespace

SourceWatch::~SourceWatch() {
  if (fd_ >= 0) close(fd_);
}

bool SourceWatch::Start(const std::string& source, const std::vector<uint8_t>& playing, SourceMap map,
                        uint32_t generation) {
  const std::filesystem::path path(source);
  const std::string folder = path.has_parent_path() ? path.parent_path().string() : ".";
  source_ = source;
  name_ = path.filename().string();
  playing_ = {playing, std::move(map), generation};
  fd_ = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
  if (fd_ < 0 || inotify_add_watch(fd_, folder.c_str(), kSaveEvents) < 0) {
    std::fprintf(stderr, "tsy: cannot watch %s for changes (%s)\n", folder.c_str(), std::strerror(errno));
    return false;
  }
  return true;
}

void SourceWatch::Poll() {
  if (handedOver_ && !TakeoverPending()) {
    playing_ = std::move(*handedOver_);
    handedOver_.reset();
  }
  if (SourceChanged()) Compile();
  if (next_ && !handedOver_) HandOver();
}

// True when the news since the last look hold a save of the source.
bool SourceWatch::SourceChanged() {
  alignas(inotify_event) std::array<char, 4096> news;
  bool changed = false;
  for (;;) {
    const ssize_t length = read(fd_, news.data(), news.size());
    if (length <= 0) return changed;
    for (ssize_t at = 0; at < length;) {
      const auto* event = reinterpret_cast<const inotify_event*>(news.data() + at);
      if (event->len > 0 && name_ == event->name) changed = true;
      at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
    }
  }
}

void SourceWatch::Compile() {
  CompileResult result = CompileFile(source_);
  if (!result.opened) PrintCannotOpen(source_, result.readError);
  PrintDiagnostics(source_, result);
  const bool playable = result.opened && result.errorFree() && HasTrack(result.image);
  if (result.opened && result.errorFree() && !playable)
    std::fprintf(stderr, "tsy: %s holds no track to play\n", source_.c_str());
  if (!playable) {
    std::fprintf(stderr, "tsy: %s: the music playing goes on\n", source_.c_str());
    return;
  }
  Image image;
  image.buffer.assign(kObjectBufferSize, 0);
  std::copy(result.image.begin(), result.image.end(), image.buffer.begin());
  image.map = std::move(result.sourceMap);
  const Image& latest = handedOver_ ? *handedOver_ : playing_;
  if (image.buffer == latest.buffer) return;  // saved without a change: nothing to take over
  next_ = std::move(image);
}

void SourceWatch::HandOver() {
  next_->generation = playing_.generation + 1;
  if (!RequestTakeover(next_->buffer.data(), next_->buffer.size())) return;
  handedOver_ = std::move(next_);
  next_.reset();
}

const SourceMap* SourceWatch::MapFor(uint32_t generation) const {
  if (handedOver_ && handedOver_->generation == generation) return &handedOver_->map;
  if (playing_.generation == generation) return &playing_.map;
  return nullptr;
}

}  // namespace tsy::cli
