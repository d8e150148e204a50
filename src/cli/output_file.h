#pragma once
// Writing a result file so that a failed write never destroys a good file:
// the bytes go to a temporary file beside the target, which is then renamed
// over it.

#include <cstdint>
#include <span>
#include <string>

namespace tsy::cli {

// Writes `bytes` to `path` through a temporary file. On failure returns
// false with the reason in `reason`; the old file, if any, is untouched and
// no temporary file is left behind.
bool WriteFileReplacing(const std::string& path, std::span<const uint8_t> bytes, std::string& reason);

// True when `a` and `b` name the same existing file.
bool SameFile(const std::string& a, const std::string& b);

}  // namespace tsy::cli
