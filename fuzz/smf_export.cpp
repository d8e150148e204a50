// The SMF export of any image: loading any bytes and rendering them must end,
// and must give a file that an SMF reader can walk event by event, from the
// header to the one end-of-track event that closes the track chunk.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "core/engine/engine_call.h"
#include "core/engine/load_image.h"
#include "core/image/image_layout.h"
#include "core/smf/export_smf.h"
#include "image_input.h"
#include "smf_walk.h"

namespace {

// A looping song renders for twice its header length, which a file may set
// to years of music; one input is kept to about a minute of it.
constexpr uint32_t kLongestFuzzedTrack = 20000;  // ticks

void ClampTrackLengths(std::vector<uint8_t>& image) {
  for (int k = 1; k <= tsy::kTrackCount; ++k) {
    uint8_t* field = &image[tsy::TrackLengthEntry(k)];
    tsy::WriteU32(field, std::min(tsy::ReadU32(field), kLongestFuzzedTrack));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tsy;
  std::vector<uint8_t> buffer = fuzz::ImageBuffer(data, size);
  ClampTrackLengths(buffer);
  ClearEngineState();
  if (!LoadImage(buffer.data(), buffer.size()).ok() || !CurrentImage()) return 0;  // as ExportSmf asks
  uint32_t endTick = 0;
  uint64_t ticks = 0;
  if (!fuzz::WalkFile(RenderSmf(endTick), ticks)) std::abort();
  return 0;
}
