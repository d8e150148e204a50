#pragma once
// How reading or writing a file ended: the one result that every reader and
// writer of files returns, so that callers test and report a failure the
// same way wherever it happened.

#include <cstdint>
#include <string>

namespace tsy {

enum class FileStatus : uint8_t {
  kDone,
  kCannotOpen,    // the file could not be opened or read
  kTooLarge,      // larger than the reader takes: nothing of it was kept
  kWrongContent,  // the bytes are not what the reader takes (an image without its magic)
  kCannotWrite,   // creating, writing or putting the file in place failed; an older file is untouched
  kNotRegular,    // a pipe, a device or a socket where only a plain file is read
};

struct FileResult {
  FileStatus status = FileStatus::kDone;
  int error = 0;  // the errno value that says why, where the system gave one

  bool ok() const { return status == FileStatus::kDone; }
  // The system's text for `error` ("No such file or directory"), or
  // "not a regular file" for kNotRegular.
  std::string Reason() const;
};

// A failure of `status` for the reason the system left in errno (EIO where it left none).
FileResult FileFailure(FileStatus status);

}  // namespace tsy
