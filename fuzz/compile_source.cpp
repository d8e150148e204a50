// A source may hold anything: compiling any bytes must end, and must yield an
// image that fits the object buffer and reads back with every track inside it,
// diagnostics that name a line and column, and a source map whose events lie
// inside their own track's stream, in stream order, never going back in the
// source.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "core/compiler/compile_driver.h"
#include "core/compiler/compile_unit.h"
#include "core/image/image_header.h"

namespace {

bool Before(const tsy::SourcePosition& a, const tsy::SourcePosition& b) {
  return a.line < b.line || (a.line == b.line && a.column < b.column);
}

// Track `track`'s events lie in its stream, ascending and in source order.
bool MapFits(const tsy::CompileResult& result, const tsy::ImageHeader& header, int track) {
  const auto events = result.sourceMap.Events(track);
  const uint32_t start = header.trackOffset[track - 1];
  if (start == 0) return events.empty();
  if (events.empty() || events.front().offset != start) return false;
  uint32_t end = static_cast<uint32_t>(result.image.size());
  for (int k = track + 1; k <= tsy::kTrackCount; ++k)
    if (header.trackOffset[k - 1] != 0) {
      end = header.trackOffset[k - 1];
      break;
    }
  for (size_t i = 0; i < events.size(); ++i) {
    if (events[i].offset >= end || events[i].at.line == 0 || events[i].at.column == 0) return false;
    if (i > 0 && (events[i].offset <= events[i - 1].offset || Before(events[i].at, events[i - 1].at))) return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view source(reinterpret_cast<const char*>(data), size);
  tsy::CompileResult result = tsy::CompileSource(source);
  if (result.image.size() < tsy::kImageHeaderSize || result.image.size() > tsy::kObjectBufferSize) std::abort();
  if (result.messageText.size() > tsy::Diagnostics::kMaxTextBytes) std::abort();
  tsy::ImageHeader header;
  int badTrack = 0;
  if (tsy::ReadImageHeader(result.image, header, badTrack) != tsy::ImageFault::kNone) std::abort();
  if (header.imageLength != result.image.size()) std::abort();
  for (const tsy::DiagnosticRecord& d : result.diagnostics)
    if (d.at.line == 0 || d.at.column == 0 || d.track < 1 || d.track > tsy::kTrackCount) std::abort();
  for (int track = 1; track <= tsy::kTrackCount; ++track)
    if (!MapFits(result, header, track)) std::abort();
  return 0;
}
