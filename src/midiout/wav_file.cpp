#include "midiout/wav_file.h"

#include <algorithm>
#include <array>
#include <cerrno>

namespace tsy {
namespace {

void PutLittle(uint8_t* at, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) at[i] = static_cast<uint8_t>(value >> (8 * i));
}

// A chunk's four-letter tag (or eight, for "WAVEfmt "), without its NUL.
template <size_t N>
void PutTag(uint8_t* at, const char (&tag)[N]) {
  std::copy_n(tag, N - 1, at);
}

}  // namespace

FileResult WavWriter::Open(const std::string& path, int sampleRate, int channels, size_t statedFrames) {
  file_ = std::make_unique<ReplacingFile>(path);
  sampleRate_ = sampleRate;
  channels_ = channels;
  statedFrames_ = statedFrames;
  FileResult created = file_->Create();
  if (created.ok()) file_->Write(Header(statedFrames));  // unstated sizes stay 0 until Finish
  return created;
}

bool WavWriter::Write(const int16_t* samples, size_t frames) {
  const size_t count = frames * channels_;
  uint8_t bytes[2 * 1024];
  for (size_t done = 0; done < count;) {
    const size_t n = std::min(count - done, sizeof bytes / 2);
    for (size_t i = 0; i < n; ++i) PutLittle(bytes + 2 * i, static_cast<uint16_t>(samples[done + i]), 2);
    file_->Write(std::span(bytes, 2 * n));
    done += n;
  }
  frames_ += frames;
  return !file_->failed();
}

std::array<uint8_t, WavWriter::kHeaderBytes> WavWriter::Header(size_t frames) const {
  const uint32_t dataBytes = static_cast<uint32_t>(frames * channels_ * 2);
  std::array<uint8_t, kHeaderBytes> bytes{};
  uint8_t* h = bytes.data();
  PutTag(h, "RIFF");
  PutLittle(h + 4, kHeaderBytes - 8 + dataBytes, 4);
  PutTag(h + 8, "WAVEfmt ");
  PutLittle(h + 16, 16, 4);  // fmt chunk size
  PutLittle(h + 20, 1, 2);   // PCM
  PutLittle(h + 22, channels_, 2);
  PutLittle(h + 24, sampleRate_, 4);
  PutLittle(h + 28, sampleRate_ * channels_ * 2, 4);  // bytes per second
  PutLittle(h + 32, channels_ * 2, 2);                // bytes per frame
  PutLittle(h + 34, 16, 2);                           // bits per sample
  PutTag(h + 36, "data");
  PutLittle(h + 40, dataBytes, 4);
  return bytes;
}

FileResult WavWriter::Finish() {
  if (statedFrames_ == 0) file_->WriteAt(0, Header(frames_));
  else if (frames_ != statedFrames_) return {FileStatus::kCannotWrite, EIO};  // the header would lie
  return file_->Commit();
}

}  // namespace tsy
