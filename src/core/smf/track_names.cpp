#include "core/smf/track_names.h"

#include <cstdio>
#include <cstring>

#include "core/engine/load_image.h"
#include "core/image/event_reader.h"

namespace tsy {

const uint8_t* FirstEventOf(const uint8_t* stream, EventCode code) {
  const uint8_t* end = StreamEndInImage(stream);
  ChordReader chord;
  while (stream < end) {
    const bool isNote = stream[0] < kFirstEventCode;
    const size_t size = EventSize(stream, static_cast<size_t>(end - stream), isNote && chord.NextNoteIsMember());
    if (size == 0) return nullptr;
    if (stream[0] == static_cast<uint8_t>(code)) return stream;
    if (isNote) chord.OnNote();
    else if (stream[0] == static_cast<uint8_t>(EventCode::kChordLink)) chord.OnChordLink();
    stream += size;
  }
  return nullptr;
}

std::optional<std::string> FirstComment(const uint8_t* image, int k) {
  const uint32_t offset = ImageTrackOffset(image, k);
  if (offset == 0 || offset >= kObjectBufferSize) return std::nullopt;
  const uint8_t* comment = FirstEventOf(image + offset, EventCode::kComment);
  if (!comment) return std::nullopt;
  const char* text = reinterpret_cast<const char*>(comment + 1);  // FA text 00: EventSize found the 00
  return std::string(text, std::strlen(text));
}

std::string SmfTrackName(const uint8_t* image, int k) {
  if (std::optional<std::string> comment = FirstComment(image, k); comment && !comment->empty()) return *comment;
  char name[16];
  std::snprintf(name, sizeof name, "Track %02d", k);
  return name;
}

}  // namespace tsy
