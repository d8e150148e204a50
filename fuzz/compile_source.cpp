// A source may hold anything: compiling any bytes must end, and must yield an
// image that fits the object buffer and reads back with every track inside it.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "core/compiler/compile_driver.h"
#include "core/compiler/compile_unit.h"
#include "core/image/image_header.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view source(reinterpret_cast<const char*>(data), size);
  tsy::CompileResult result = tsy::CompileSource(source);
  if (result.image.size() < tsy::kImageHeaderSize || result.image.size() > tsy::kObjectBufferSize) std::abort();
  if (result.messageText.size() > tsy::Diagnostics::kMaxTextBytes) std::abort();
  tsy::ImageHeader header;
  int badTrack = 0;
  if (tsy::ReadImageHeader(result.image, header, badTrack) != tsy::ImageFault::kNone) std::abort();
  if (header.imageLength != result.image.size()) std::abort();
  return 0;
}
