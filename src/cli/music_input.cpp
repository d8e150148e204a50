#include "cli/music_input.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "cli/compile_report.h"
#include "core/compiler/compile_driver.h"
#include "core/compiler/source_reader.h"
#include "core/engine/engine_state.h"
#include "core/engine/load_image.h"

namespace tsy::cli {
namespace {

constexpr uint8_t kOldestPlayedVersion = 17;  // older images load but never play

bool IsSourcePath(const std::string& path) {
  std::string ending = std::filesystem::path(path).extension().string();
  std::transform(ending.begin(), ending.end(), ending.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return ending == ".mus";
}

// The image of `path`: compiled from a source, or the bytes of an object file.
bool ReadImage(const std::string& path, std::vector<uint8_t>& image) {
  if (IsSourcePath(path)) {
    CompileResult result = CompileFile(path);
    if (!result.opened) {
      PrintCannotOpen(path, result.readError);
      return false;
    }
    PrintDiagnostics(path, result);
    image = std::move(result.image);
    return true;
  }
  std::string bytes;
  if (const int error = ReadSourceFile(path, bytes); error != 0) {
    PrintCannotOpen(path, error);
    return false;
  }
  if (bytes.size() < kImageHeaderSize || std::memcmp(bytes.data(), "EMD1", 4) != 0) {
    std::fprintf(stderr, "tsy: %s is neither a source (.mus) nor an object image\n", path.c_str());
    return false;
  }
  if (bytes.size() > kObjectBufferSize) {
    std::fprintf(stderr, "tsy: %s is too large for an object image (%zu bytes, at most %zu)\n", path.c_str(),
                 bytes.size(), kObjectBufferSize);
    return false;
  }
  image.assign(bytes.begin(), bytes.end());
  return true;
}

bool HasTrack(const std::vector<uint8_t>& image) {
  if (image.size() < kImageHeaderSize) return false;  // a source that compiled to nothing
  for (int k = 1; k <= kTrackCount; ++k)
    if (ImageTrackOffset(image.data(), k) != 0) return true;
  return false;
}

}  // namespace

bool ReadMusic(const std::string& path, std::vector<uint8_t>& objectBuffer) {
  std::vector<uint8_t> image;
  if (!ReadImage(path, image)) return false;
  if (!HasTrack(image)) {
    std::fprintf(stderr, "tsy: %s holds no track to play\n", path.c_str());
    return false;
  }
  const uint8_t version = image[kVersionField];
  if (version < kOldestPlayedVersion || version > kImageFormatVersion) {
    std::fprintf(stderr, "tsy: %s has image version %d, which is not played (%d..%d)\n", path.c_str(), version,
                 kOldestPlayedVersion, kImageFormatVersion);
    return false;
  }
  objectBuffer.assign(kObjectBufferSize, 0);
  std::copy_n(image.begin(), std::min(image.size(), objectBuffer.size()), objectBuffer.begin());
  return true;
}

void LoadMusic(const std::vector<uint8_t>& objectBuffer) { LoadImage(objectBuffer.data(), objectBuffer.size()); }

}  // namespace tsy::cli
