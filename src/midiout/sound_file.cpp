#include "midiout/sound_file.h"

#include <sndfile.h>
#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <filesystem>
#include <iterator>

#include "midiout/wav_file.h"
#include "platform/replacing_file.h"

namespace tsy {
namespace {

constexpr SoundFormatInfo kFormats[] = {
    // WAV states its sizes up front on a pipe (the render's length is known).
    {SoundFormat::kWav, "wav", ".wav", 0, kLargestWav, 0, true},
    {SoundFormat::kRf64, "rf64", ".rf64", SF_FORMAT_RF64 | SF_FORMAT_PCM_16, 0, 0, false},
    {SoundFormat::kW64, "w64", ".w64", SF_FORMAT_W64 | SF_FORMAT_PCM_16, 0, 0, false},
    // A FLAC stream leaves its length unstated; Ogg pages need none.
    {SoundFormat::kFlac, "flac", ".flac", SF_FORMAT_FLAC | SF_FORMAT_PCM_16, 0, 0, true},
    {SoundFormat::kOgg, "ogg", ".ogg", SF_FORMAT_OGG | SF_FORMAT_VORBIS, 0, 0, true},
    {SoundFormat::kOpus, "opus", ".opus", SF_FORMAT_OGG | SF_FORMAT_OPUS, 0, 48000, true},  // Opus codes at 48 kHz
};

constexpr uint64_t kWavHeaderBytes = 44;

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

// libsndfile's virtual file over a ReplacingFile: the encoder writes at a
// position it keeps; a stream takes only bytes that continue where it stands.
class EncodedFile : public SoundWriter {
 public:
  EncodedFile(const std::string& path, bool stream) : file_(path), stream_(stream) {}
  ~EncodedFile() override {
    if (sound_) sf_close(sound_);
  }
  EncodedFile(const EncodedFile&) = delete;
  EncodedFile& operator=(const EncodedFile&) = delete;

  FileResult Open(const SoundFormatInfo& format, int rate, int channels) {
    if (FileResult created = file_.Create(); !created.ok()) return created;
    SF_INFO info{};
    info.samplerate = rate;
    info.channels = channels;
    info.format = format.sndfileFormat;
    static SF_VIRTUAL_IO io = {Length, Seek, Read, Put, Tell};
    sound_ = sf_open_virtual(&io, SFM_WRITE, &info, this);
    if (!sound_) return {FileStatus::kCannotWrite, failed_ ? failed_ : EINVAL};
    return {};
  }

  bool Write(const int16_t* samples, size_t frames) override {
    const auto n = static_cast<sf_count_t>(frames);
    if (!failed_ && sf_writef_short(sound_, samples, n) != n) failed_ = failed_ ? failed_ : EIO;
    return !failed_;
  }

  FileResult Finish() override {
    if (sf_close(sound_) != 0 && !failed_) failed_ = EIO;
    sound_ = nullptr;
    if (failed_) return {FileStatus::kCannotWrite, failed_};
    return file_.Commit();
  }

 private:
  static EncodedFile& Of(void* user) { return *static_cast<EncodedFile*>(user); }
  static sf_count_t Length(void* user) { return Of(user).length_; }
  static sf_count_t Tell(void* user) { return Of(user).position_; }
  static sf_count_t Read(void*, sf_count_t, void*) { return 0; }  // a render never reads back
  static sf_count_t Seek(sf_count_t offset, int whence, void* user) {
    EncodedFile& f = Of(user);
    const sf_count_t base = whence == SEEK_CUR ? f.position_ : whence == SEEK_END ? f.length_ : 0;
    if (base + offset < 0 || (f.stream_ && base + offset != f.position_)) return -1;
    f.position_ = base + offset;
    return f.position_;
  }
  static sf_count_t Put(const void* bytes, sf_count_t count, void* user) {
    EncodedFile& f = Of(user);
    const std::span data(static_cast<const uint8_t*>(bytes), static_cast<size_t>(count));
    if (f.stream_ && f.position_ != f.length_) {
      f.failed_ = ESPIPE;
      return 0;
    }
    if (f.stream_) f.file_.Write(data);
    else f.file_.WriteAt(static_cast<size_t>(f.position_), data);
    if (f.file_.failed()) {
      f.failed_ = EIO;
      return 0;
    }
    f.position_ += count;
    f.length_ = std::max(f.length_, f.position_);
    return count;
  }

  ReplacingFile file_;
  bool stream_;
  SNDFILE* sound_ = nullptr;
  sf_count_t position_ = 0;
  sf_count_t length_ = 0;
  int failed_ = 0;  // the errno of the first failure
};

}  // namespace

std::span<const SoundFormatInfo> SoundFormats() { return kFormats; }

const SoundFormatInfo* FindSoundFormat(std::string_view name) {
  const auto* it = std::find_if(std::begin(kFormats), std::end(kFormats),
                                [&](const SoundFormatInfo& f) { return Lower(std::string(name)) == f.name; });
  return it == std::end(kFormats) ? nullptr : it;
}

const SoundFormatInfo* SoundFormatOfPath(const std::string& path) {
  const std::string extension = Lower(std::filesystem::path(path).extension().string());
  const auto* it = std::find_if(std::begin(kFormats), std::end(kFormats),
                                [&](const SoundFormatInfo& f) { return extension == f.extension; });
  return it == std::end(kFormats) ? nullptr : it;
}

bool IsRenderRate(int rate) {
  return std::find(std::begin(kRenderRates), std::end(kRenderRates), rate) != std::end(kRenderRates);
}

bool IsStreamTarget(const std::string& path) {
  struct stat target;
  return ::stat(path.c_str(), &target) == 0 && !S_ISREG(target.st_mode) && !S_ISDIR(target.st_mode);
}

uint64_t PcmFileBytes(const SoundFormatInfo& format, uint64_t frames, int channels) {
  const uint64_t data = frames * static_cast<uint64_t>(channels) * 2;
  return format.format == SoundFormat::kWav ? kWavHeaderBytes + data : data;
}

FileResult OpenSoundFile(const std::string& path, const SoundFormatInfo& format, int rate, int channels,
                         size_t statedFrames, std::unique_ptr<SoundWriter>& writer) {
  if (format.format == SoundFormat::kWav) {
    auto wav = std::make_unique<WavWriter>();
    FileResult opened = wav->Open(path, rate, channels, statedFrames);
    if (opened.ok()) writer = std::move(wav);
    return opened;
  }
  auto encoded = std::make_unique<EncodedFile>(path, IsStreamTarget(path));
  FileResult opened = encoded->Open(format, rate, channels);
  if (opened.ok()) writer = std::move(encoded);
  return opened;
}

}  // namespace tsy
