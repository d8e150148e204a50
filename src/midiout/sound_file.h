#pragma once
// The audio files a render writes: one table of formats (the name --format
// takes, the extension that names it, how it is encoded, the largest file it
// can describe), and one writer interface that takes 16-bit frames whatever
// the format. Every file is written whole or not at all; plain WAV is
// written by WavWriter, the others through libsndfile.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "platform/file_result.h"

namespace tsy {

enum class SoundFormat : uint8_t { kWav, kRf64, kW64, kFlac, kOgg, kOpus };

// The most bytes a RIFF WAV file can describe: its sizes are 32-bit.
constexpr uint64_t kLargestWav = 0xFFFFFFFF;

struct SoundFormatInfo {
  SoundFormat format;
  const char* name;       // as --format takes it: "flac"
  const char* extension;  // the output's extension that chooses it: ".flac"
  int sndfileFormat;      // libsndfile's major and sub format; 0 for WavWriter's own WAV
  uint64_t largestFile;   // bytes a file can describe; 0 when a render can never reach it
  int onlyRate;           // the one sample rate the format takes, or 0 for any
  bool streams;           // can be written to a pipe: its header needs no completing at the end
};

// Every format, in the order the help lists them.
std::span<const SoundFormatInfo> SoundFormats();
// The format called `name` ("ogg"), or nullptr.
const SoundFormatInfo* FindSoundFormat(std::string_view name);
// The format that `path`'s extension names (any letter case), or nullptr.
const SoundFormatInfo* SoundFormatOfPath(const std::string& path);

// The sample rates a render is made at, frames per second.
constexpr int kRenderRates[] = {22050, 44100, 48000, 96000};
bool IsRenderRate(int rate);

// True when `path` is a pipe, a device or a socket: bytes written there
// cannot be revisited, so every size must be known before the first.
bool IsStreamTarget(const std::string& path);

// The size of a 16-bit PCM file of `format` holding `frames` frames of
// `channels` channels, as far as its size fields must describe it.
uint64_t PcmFileBytes(const SoundFormatInfo& format, uint64_t frames, int channels);

class SoundWriter {
 public:
  virtual ~SoundWriter() = default;
  // Appends `frames` frames of interleaved samples; false once writing failed.
  virtual bool Write(const int16_t* samples, size_t frames) = 0;
  // Completes the file and puts it in place. kCannotWrite, with the reason,
  // when any write failed; an unfinished file is never left behind.
  virtual FileResult Finish() = 0;
};

// Starts the file `path` of `format`. `statedFrames`, when not 0, is the
// number of frames that will be written, stated in the header up front (a
// stream cannot be revisited to complete it). kCannotWrite, with the reason,
// when the file cannot be created or the encoder refuses the rate.
FileResult OpenSoundFile(const std::string& path, const SoundFormatInfo& format, int rate, int channels,
                         size_t statedFrames, std::unique_ptr<SoundWriter>& writer);

}  // namespace tsy
