#pragma once
// Reading a file whole, up to a limit: every reader of files the user names
// (sources, object images, settings, tone files) goes through here.

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

// The same for files that only a plain file may stand for (settings, tone
// lists): a pipe, a device or a socket, also behind a link, is refused
// without waiting for it (kNotRegular), and a file larger than `largest` is
// refused by its size (kTooLarge) before any byte is read.
FileResult ReadRegularFile(const std::string& path, size_t largest, std::string& bytes);

}  // namespace tsy
