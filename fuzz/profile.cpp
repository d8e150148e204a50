// The settings file may hold anything: reading any bytes and writing a key
// must keep every line that was there and find the key written.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/profile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  tsy::Profile profile = tsy::Profile::Parse(text);
  profile.ReadInt("System", "DispRate", 24);
  profile.WriteString("System", "DispRate", "60");
  if (profile.ReadString("system", "disprate", "") != "60") std::abort();
  return 0;
}
