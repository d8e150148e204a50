#pragma once
// Bytes written as text in tests: "30 03 07 00 30", spaces between, every
// byte in hexadecimal.

#include <cstdint>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace tsy::test {

using Bytes = std::vector<uint8_t>;

inline Bytes Hex(std::string_view text) {
  Bytes bytes;
  std::istringstream in{std::string(text)};
  unsigned value = 0;
  while (in >> std::hex >> value) bytes.push_back(static_cast<uint8_t>(value));
  return bytes;
}

}  // namespace tsy::test
