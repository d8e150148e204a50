#pragma once
// Reading a file whole, up to a limit: every reader of files the user names
// (sources, object images) goes through here.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/file_result.h"

namespace tsy {

// Reads the file at `path` into `bytes` when it holds at most `largest`
// bytes. Never more than one byte beyond `largest` is read, so an endless
// device (/dev/zero) is refused at once instead of filling the memory: the
// result is then kTooLarge with EFBIG. After any failure `bytes` is empty.
FileResult ReadWholeFile(const std::string& path, size_t largest, std::string& bytes);
FileResult ReadWholeFile(const std::string& path, size_t largest, std::vector<uint8_t>& bytes);

}  // namespace tsy
