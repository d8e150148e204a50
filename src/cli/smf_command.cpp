// tsy smf SRC [-o OUT.mid]: the desktop program's ExportSMF0, for scripts. The
// music is rendered through the engine without a device.
#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "cli/arguments.h"
#include "cli/commands.h"
#include "cli/compile_report.h"
#include "cli/output_file.h"
#include "core/compiler/compile_driver.h"
#include "core/engine/engine_call.h"
#include "core/engine/load_image.h"
#include "core/smf/export_smf.h"
#include "resources/string_table.h"

namespace tsy::cli {
namespace {

constexpr const char* kSmfHelp =
    "usage: tsy smf SRC [-o OUT.mid]\n"
    "Renders a source (.mus, compiled first) or an object image (.emd) through the\n"
    "engine into a Standard MIDI File of format 0 (default: SRC with the extension\n"
    ".mid) and prints where the music ends, as bars.ticks (192 ticks to a bar).\n"
    "Exit: 0 written; 1 the source raised a diagnostic (the tracks before it are\n"
    "exported); 2 a file cannot be read or written, or is no playable image;\n"
    "3 there is nothing to export.\n";

constexpr const char* kNothingToExport = "保存するデータがありません";
constexpr int kMinPlayedVersion = 17;

enum Exit { kExported = 0, kDiagnostic = 1, kFileFault = 2, kNothing = 3 };

bool IsSourcePath(const std::string& path) {
  std::string ending = std::filesystem::path(path).extension().string();
  std::transform(ending.begin(), ending.end(), ending.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return ending == ".mus";
}

std::string DefaultSmfPath(const std::string& source) {
  return std::filesystem::path(source).replace_extension(".mid").string();
}

// The image of `path`: compiled from a source, or the bytes of an object
// file. Returns false after saying why; `diagnostic` tells of a compile fault.
bool ReadImage(const std::string& path, std::vector<uint8_t>& image, bool& diagnostic) {
  if (IsSourcePath(path)) {
    CompileResult result = CompileFile(path);
    if (!result.opened) {
      PrintCannotOpen(path, result.readError);
      return false;
    }
    PrintDiagnostics(path, result);
    diagnostic = !result.errorFree();
    image = std::move(result.image);
    return true;
  }
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    PrintCannotOpen(path, errno);
    return false;
  }
  image.assign(std::istreambuf_iterator<char>(in), {});
  if (image.size() < kImageHeaderSize || std::memcmp(image.data(), "EMD1", 4) != 0) {
    std::fprintf(stderr, "tsy: %s is neither a source (.mus) nor an object image\n", path.c_str());
    return false;
  }
  if (image.size() >= kObjectBufferSize) {
    std::fprintf(stderr, "tsy: %s is too large for an object image (%zu bytes)\n", path.c_str(), image.size());
    return false;
  }
  return true;
}

bool HasTrack(const std::vector<uint8_t>& image) {
  if (image.size() < kImageHeaderSize) return false;  // a source that compiled to nothing
  for (int k = 1; k <= kTrackCount; ++k)
    if (ImageTrackOffset(image.data(), k) != 0) return true;
  return false;
}

// Hands the image to the engine through an object buffer, as the shell does.
bool LoadIntoEngine(const std::string& path, const std::vector<uint8_t>& image) {
  std::vector<uint8_t> objectBuffer(kObjectBufferSize, 0);
  std::copy(image.begin(), image.end(), objectBuffer.begin());
  const uint8_t version = objectBuffer[kVersionField];
  if (LoadImage(objectBuffer.data(), objectBuffer.size()) == 0) {
    std::fprintf(stderr, "tsy: %s is not an object image\n", path.c_str());
    return false;
  }
  if (version < kMinPlayedVersion || version > kImageFormatVersion) {
    std::fprintf(stderr, "tsy: %s has image version %d, which is not played (%d..%d)\n", path.c_str(), version,
                 kMinPlayedVersion, kImageFormatVersion);
    return false;
  }
  return true;
}

int Export(const std::string& output) {
  const SmfExport result = ExportSmf(output);
  switch (result.outcome) {
    case SmfOutcome::kWritten:
      std::printf("%s\n", result.EndPosition().c_str());
      return kExported;
    case SmfOutcome::kCannotCreate:
      std::fprintf(stderr, "%s: %s (%s)\n", LoadText(1001), output.c_str(), result.reason.c_str());
      return kFileFault;
    case SmfOutcome::kWriteFailed:
      std::fprintf(stderr, "tsy: cannot write %s (%s)\n", output.c_str(), result.reason.c_str());
      return kFileFault;
    case SmfOutcome::kNoImage:
      break;
  }
  std::fprintf(stderr, "%s\n", kNothingToExport);
  return kNothing;
}

}  // namespace

int RunSmf(int argc, char** argv, int first) {
  std::optional<Arguments> args = ParseArguments(argc, argv, first, {"-o"});
  if (!args) return kFileFault;
  if (args->help) {
    std::fputs(kSmfHelp, stdout);
    return kExported;
  }
  if (args->positional.size() != 1) {
    std::fputs(kSmfHelp, stderr);
    return kFileFault;
  }
  const std::string source = args->positional[0];
  const std::string output = args->Option("-o").value_or(DefaultSmfPath(source));
  if (SameFile(source, output)) {
    std::fprintf(stderr, "tsy: the MIDI file %s would overwrite its source\n", output.c_str());
    return kFileFault;
  }

  std::vector<uint8_t> image;
  bool diagnostic = false;
  if (!ReadImage(source, image, diagnostic)) return kFileFault;
  if (!HasTrack(image)) {
    std::fprintf(stderr, "%s\n", kNothingToExport);
    return kNothing;
  }
  if (!LoadIntoEngine(source, image)) return kFileFault;
  const int exit = Export(output);
  return exit == kExported && diagnostic ? kDiagnostic : exit;
}

}  // namespace tsy::cli
