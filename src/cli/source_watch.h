#pragma once
// tsy play --watch: the source is compiled again as soon as it changes on
// disk. A clean compile takes over from the music playing at the next bar
// line (play_thread.h); a compile that raises a diagnostic is reported as
// FILE:LINE:COLUMN: text on stderr and the music playing goes on. The
// watch is on the source's folder, so that editors that save by writing
// another file and renaming it over the source are seen as well.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/compiler/source_map.h"

namespace tsy::cli {

class SourceWatch {
 public:
  SourceWatch() = default;
  SourceWatch(const SourceWatch&) = delete;
  SourceWatch& operator=(const SourceWatch&) = delete;
  ~SourceWatch();

  // Starts watching `source`, whose image `playing` (the object buffer the
  // engine was loaded from) and map are what plays now, as image generation
  // `generation`. False after saying why on stderr.
  bool Start(const std::string& source, const std::vector<uint8_t>& playing, SourceMap map, uint32_t generation);

  // Without waiting: reads the folder's news, compiles the source when it
  // was written, and hands a clean new image to the play thread once no
  // other waits for its turn.
  void Poll();

  // The map of the image that a copy of the engine state with
  // `imageGeneration` shows; null when the watch does not know it.
  const SourceMap* MapFor(uint32_t generation) const;

 private:
  struct Image {
    std::vector<uint8_t> buffer;  // the object buffer handed to the engine
    SourceMap map;
    uint32_t generation = 0;
  };

  bool SourceChanged();
  void Compile();
  void HandOver();

  std::string source_;
  std::string name_;  // the source's file name in its folder
  int fd_ = -1;       // the inotify descriptor
  Image playing_;
  std::optional<Image> handedOver_;  // with the play thread, waiting for the bar line
  std::optional<Image> next_;        // compiled while another waited
};

}  // namespace tsy::cli
