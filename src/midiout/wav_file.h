#pragma once
// A 16-bit PCM WAV file written as it grows: into a temporary file beside the
// target, renamed into place only when it is complete, so that no half-written
// file ever carries the target's name.

#include <cstdint>
#include <cstdio>
#include <string>

namespace tsy {

class WavWriter {
 public:
  ~WavWriter();  // an unfinished file is removed

  // Starts the temporary file. False (errno set) when it cannot be created.
  bool Open(const std::string& path, int sampleRate, int channels);
  // Appends `frames` frames of interleaved samples.
  bool Write(const int16_t* samples, size_t frames);
  // Completes the header and renames the file into place.
  bool Finish();

  size_t frames() const { return frames_; }

 private:
  bool WriteHeader();

  std::string path_;
  std::string temporaryPath_;
  FILE* file_ = nullptr;
  int sampleRate_ = 0;
  int channels_ = 0;
  size_t frames_ = 0;
  bool ok_ = true;
};

}  // namespace tsy
