#pragma once
// A 16-bit PCM WAV file written as it grows: into a temporary file beside the
// target, renamed into place only when it is complete, so that no half-written
// file ever carries the target's name.

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "platform/replacing_file.h"

namespace tsy {

class WavWriter {
 public:
  // Starts the temporary file; kCannotWrite, with the reason, when it cannot be created.
  FileResult Open(const std::string& path, int sampleRate, int channels);
  // Appends `frames` frames of interleaved samples.
  bool Write(const int16_t* samples, size_t frames);
  // Completes the header and renames the file into place. kCannotWrite, with
  // the reason, when any write failed; an unfinished file is never left behind.
  FileResult Finish();

  size_t frames() const { return frames_; }

 private:
  static constexpr size_t kHeaderBytes = 44;  // RIFF header + "fmt " chunk + "data" chunk head

  // The header for the frames written so far.
  std::array<uint8_t, kHeaderBytes> Header() const;

  std::unique_ptr<ReplacingFile> file_;
  int sampleRate_ = 0;
  int channels_ = 0;
  size_t frames_ = 0;
};

}  // namespace tsy
