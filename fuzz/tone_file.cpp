// Tone definition files come from the user: any bytes must give a list whose
// names are terminated and within their slots.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "core/settings/tone_files.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const tsy::ToneList list = tsy::ParseToneFile(std::string_view(reinterpret_cast<const char*>(data), size));
  for (int i = 0; i < list.count; ++i) {
    if (std::strlen(list.name(i)) > tsy::ToneList::kNameChars) std::abort();
    if (list.program(i) > 127 || list.bankMsb(i) > 127 || list.bankLsb(i) > 127) std::abort();
  }
  return 0;
}
