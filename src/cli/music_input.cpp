#include "cli/music_input.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <span>

#include "cli/compile_report.h"
#include "core/compiler/compile_driver.h"
#include "core/engine/load_image.h"
#include "core/image/image_file.h"
#include "core/image/image_header.h"

namespace tsy::cli {
namespace {

// Says on stderr why `bytes`, read from `path`, is no object image; true when it is one.
bool CheckObjectBytes(const std::string& path, std::span<const uint8_t> bytes) {
  const char* name = path.c_str();
  ImageHeader header;
  int badTrack = 0;
  switch (ReadImageHeader(bytes, header, badTrack)) {
    case ImageFault::kNone: return true;
    case ImageFault::kTooShort:
      std::fprintf(stderr, "tsy: %s is not an object image: %zu bytes, shorter than the %zu-byte header\n", name,
                   bytes.size(), kImageHeaderSize);
      return false;
    case ImageFault::kBadMagic:
      std::fprintf(stderr, "tsy: %s is not an object image: it does not start with \"EMD1\"\n", name);
      return false;
    case ImageFault::kTrackOutside:
      std::fprintf(stderr, "tsy: %s is not an object image: track %d's offset %u lies outside 403..%zu\n", name,
                   badTrack, header.trackOffset[badTrack - 1], bytes.size() - 1);
      return false;
  }
  return false;
}

}  // namespace

bool IsSourcePath(const std::string& path) {
  std::string ending = std::filesystem::path(path).extension().string();
  std::transform(ending.begin(), ending.end(), ending.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return ending == ".mus";
}

bool ReadImage(const std::string& path, std::vector<uint8_t>& image, bool* diagnostic, SourceMap* sourceMap) {
  if (IsSourcePath(path)) {
    CompileResult result = CompileFile(path);
    if (!result.opened) {
      PrintCannotOpen(path, result.readError);
      return false;
    }
    PrintDiagnostics(path, result);
    if (diagnostic) *diagnostic = !result.errorFree();
    if (sourceMap) *sourceMap = std::move(result.sourceMap);
    image = std::move(result.image);
    return true;
  }
  const FileResult read = ReadImageFile(path, ImageFileLimit::kBuffer, image);
  if (read.status == FileStatus::kTooLarge) {
    std::fprintf(stderr, "tsy: %s is not an object image: more than %zu bytes\n", path.c_str(), kObjectBufferSize);
    return false;
  }
  if (!read.ok()) {
    PrintCannotOpen(path, read.error);
    return false;
  }
  return CheckObjectBytes(path, image);
}

bool HasTrack(const std::vector<uint8_t>& image) {
  if (image.size() < kImageHeaderSize) return false;  // a source that compiled to nothing
  for (int k = 1; k <= kTrackCount; ++k)
    if (ImageTrackOffset(image.data(), k) != 0) return true;
  return false;
}

bool CheckPlayedVersion(const std::string& path, const std::vector<uint8_t>& image) {
  const uint8_t version = image[kVersionField];
  if (IsPlayableVersion(version)) return true;
  std::fprintf(stderr, "tsy: %s has image version %d, which is not played (%d..%d)\n", path.c_str(), version,
               kOldestPlayableVersion, kImageFormatVersion);
  return false;
}

bool ReadMusic(const std::string& path, std::vector<uint8_t>& objectBuffer, SourceMap* map) {
  std::vector<uint8_t> image;
  if (!ReadImage(path, image, nullptr, map)) return false;
  if (!HasTrack(image)) {
    std::fprintf(stderr, "tsy: %s holds no track to play\n", path.c_str());
    return false;
  }
  if (!CheckPlayedVersion(path, image)) return false;
  objectBuffer.assign(kObjectBufferSize, 0);
  std::copy(image.begin(), image.end(), objectBuffer.begin());
  return true;
}

void LoadMusic(const std::vector<uint8_t>& objectBuffer) { LoadImage(objectBuffer.data(), objectBuffer.size()); }

void PrintTooLong(const std::string& path, const RenderLength& length, double limitSeconds, const char* option) {
  std::fprintf(stderr,
               "tsy: %s could play for up to %s (%lld ticks at tempo %d), longer than the limit of %s; nothing was "
               "written%s%s%s\n",
               path.c_str(), ClockText(length.seconds).c_str(), static_cast<long long>(length.ticks), length.tempo,
               ClockText(limitSeconds).c_str(), option ? " (" : "", option ? option : "",
               option ? " sets the limit)" : "");
}

}  // namespace tsy::cli
