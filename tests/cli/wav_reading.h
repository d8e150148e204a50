#pragma once
// Reads back the 16-bit PCM WAV files that tsy writes: the format fields and
// how loud the sound is.

#include <cmath>
#include <cstdint>
#include <string>

namespace tsy::cli {

struct WavSummary {
  bool valid = false;  // RIFF/WAVE with a PCM "fmt " chunk and a "data" chunk
  int channels = 0;
  int sampleRate = 0;
  int bitsPerSample = 0;
  double seconds = 0;
  double rms = 0;  // root mean square of every sample, in 16-bit units
};

inline uint32_t Little(const std::string& bytes, size_t at, int size) {
  uint32_t value = 0;
  for (int i = 0; i < size; ++i) value |= uint32_t(uint8_t(bytes[at + i])) << (8 * i);
  return value;
}

// Expects the plain 44-byte header that tsy and FluidSynth write.
inline WavSummary SummariseWav(const std::string& bytes) {
  WavSummary w;
  if (bytes.size() < 44 || bytes.compare(0, 4, "RIFF") != 0 || bytes.compare(8, 8, "WAVEfmt ") != 0 ||
      Little(bytes, 20, 2) != 1 || bytes.compare(36, 4, "data") != 0)
    return w;
  w.channels = static_cast<int>(Little(bytes, 22, 2));
  w.sampleRate = static_cast<int>(Little(bytes, 24, 4));
  w.bitsPerSample = static_cast<int>(Little(bytes, 34, 2));
  const size_t dataBytes = Little(bytes, 40, 4);
  if (w.bitsPerSample != 16 || w.channels == 0 || w.sampleRate == 0 || 44 + dataBytes > bytes.size()) return w;
  w.valid = true;
  const size_t samples = dataBytes / 2;
  double sum = 0;
  for (size_t i = 0; i < samples; ++i) {
    const double s = static_cast<int16_t>(Little(bytes, 44 + 2 * i, 2));
    sum += s * s;
  }
  w.seconds = static_cast<double>(samples) / w.channels / w.sampleRate;
  w.rms = samples ? std::sqrt(sum / samples) : 0;
  return w;
}

}  // namespace tsy::cli
