#pragma once
// A 16-bit PCM WAV file written as it grows: into a temporary file beside the
// target, renamed into place only when it is complete, so that no half-written
// file ever carries the target's name. A pipe gets its sizes up front.

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "midiout/sound_file.h"
#include "platform/replacing_file.h"

namespace tsy {

class WavWriter : public SoundWriter {
 public:
  // Starts the temporary file; kCannotWrite, with the reason, when it cannot
  // be created. With `statedFrames` (not 0) the header states that many
  // frames at once and is never revisited: what a pipe needs.
  FileResult Open(const std::string& path, int sampleRate, int channels, size_t statedFrames = 0);
  bool Write(const int16_t* samples, size_t frames) override;
  // Completes the header and renames the file into place; a stated header
  // must have got exactly its frames.
  FileResult Finish() override;

  size_t frames() const { return frames_; }

 private:
  static constexpr size_t kHeaderBytes = 44;  // RIFF header + "fmt " chunk + "data" chunk head

  // The header for `frames` frames.
  std::array<uint8_t, kHeaderBytes> Header(size_t frames) const;

  std::unique_ptr<ReplacingFile> file_;
  int sampleRate_ = 0;
  int channels_ = 0;
  size_t frames_ = 0;
  size_t statedFrames_ = 0;
};

}  // namespace tsy
