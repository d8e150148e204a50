#include "midiout/wav_file.h"

#include <unistd.h>

#include <algorithm>
#include <cstring>

namespace tsy {
namespace {

constexpr uint32_t kHeaderBytes = 44;  // RIFF header + "fmt " chunk + "data" chunk head

void PutLittle(uint8_t* at, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) at[i] = static_cast<uint8_t>(value >> (8 * i));
}

}  // namespace

WavWriter::~WavWriter() {
  if (!file_) return;
  std::fclose(file_);
  std::remove(temporaryPath_.c_str());
}

bool WavWriter::Open(const std::string& path, int sampleRate, int channels) {
  path_ = path;
  temporaryPath_ = path + ".tmp" + std::to_string(getpid());
  sampleRate_ = sampleRate;
  channels_ = channels;
  file_ = std::fopen(temporaryPath_.c_str(), "wb");
  return file_ && WriteHeader();  // sizes stay 0 until Finish
}

bool WavWriter::Write(const int16_t* samples, size_t frames) {
  const size_t count = frames * channels_;
  uint8_t bytes[2 * 1024];
  for (size_t done = 0; done < count;) {
    const size_t n = std::min(count - done, sizeof bytes / 2);
    for (size_t i = 0; i < n; ++i) PutLittle(bytes + 2 * i, static_cast<uint16_t>(samples[done + i]), 2);
    ok_ = ok_ && std::fwrite(bytes, 2, n, file_) == n;
    done += n;
  }
  frames_ += frames;
  return ok_;
}

bool WavWriter::WriteHeader() {
  const uint32_t dataBytes = static_cast<uint32_t>(frames_ * channels_ * 2);
  uint8_t h[kHeaderBytes] = {};
  std::memcpy(h, "RIFF", 4);
  PutLittle(h + 4, kHeaderBytes - 8 + dataBytes, 4);
  std::memcpy(h + 8, "WAVEfmt ", 8);
  PutLittle(h + 16, 16, 4);                          // fmt chunk size
  PutLittle(h + 20, 1, 2);                           // PCM
  PutLittle(h + 22, channels_, 2);
  PutLittle(h + 24, sampleRate_, 4);
  PutLittle(h + 28, sampleRate_ * channels_ * 2, 4);  // bytes per second
  PutLittle(h + 32, channels_ * 2, 2);                // bytes per frame
  PutLittle(h + 34, 16, 2);                           // bits per sample
  std::memcpy(h + 36, "data", 4);
  PutLittle(h + 40, dataBytes, 4);
  return std::fseek(file_, 0, SEEK_SET) == 0 && std::fwrite(h, 1, kHeaderBytes, file_) == kHeaderBytes &&
         std::fseek(file_, 0, SEEK_END) == 0;
}

bool WavWriter::Finish() {
  ok_ = ok_ && WriteHeader();
  ok_ = (std::fclose(file_) == 0) && ok_;
  file_ = nullptr;
  if (ok_ && std::rename(temporaryPath_.c_str(), path_.c_str()) == 0) return true;
  std::remove(temporaryPath_.c_str());
  return false;
}

}  // namespace tsy
