// Object images made by hand or damaged on the way: tsy either refuses them,
// naming the file and the fault and leaving the old output as it was, or
// exports a MIDI file that is whole, however odd the streams are.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "tsy_run.h"

namespace tsy::cli {
namespace {

namespace fs = std::filesystem;
using Bytes = std::string;

const Bytes kNote = {0x3C, 0x03, 0x07, 0x00, 0x30};  // o4c, a quarter note
const Bytes kEnd = {'\xFF', '\xFF', '\xFF', 0x2E};

void PutU32(Bytes& image, size_t at, uint32_t value) { std::memcpy(&image[at], &value, 4); }

// An image with `stream` as track 1, 48 ticks long.
Bytes Image(const Bytes& stream, uint8_t version = 23) {
  Bytes image(403, '\0');
  std::memcpy(image.data(), "EMD1", 4);
  image[391] = static_cast<char>(version);
  PutU32(image, 4, 403);
  PutU32(image, 196, 48);
  image += stream;
  PutU32(image, 392, static_cast<uint32_t>(image.size()));
  return image;
}

// True when the track chunk's length field covers exactly the rest of the
// file and the last event is the end of track.
bool WholeMidiFile(const Bytes& file) {
  if (file.size() < 26 || file.compare(0, 4, "MThd") != 0 || file.compare(14, 4, "MTrk") != 0) return false;
  const auto* p = reinterpret_cast<const uint8_t*>(&file[18]);
  const uint32_t length = uint32_t(p[0]) << 24 | p[1] << 16 | p[2] << 8 | p[3];
  return length == file.size() - 22 && file.compare(file.size() - 4, 4, Bytes{0, '\xFF', 0x2F, 0}) == 0;
}

TEST(TsyBadInput, DamagedImagesAreRefusedWithTheirFaultOrExportedWhole) {
  const ScratchFolder folder;
  Bytes outside = Image(kNote + kEnd);
  PutU32(outside, 8, 60000);  // track 2 far beyond the end
  Bytes giantSysEx = {'\xFE', '\xFF', '\xF0'};
  giantSysEx += Bytes(252, 0x41) + "\xF7";
  struct Case {
    const char* name;
    Bytes image;
    const char* refusal;  // the start of the message after "tsy: NAME ", or null: exported
  } const cases[] = {
      {"magic.emd", "EMD2" + Image(kNote + kEnd).substr(4), "is not an object image"},
      {"version16.emd", Image(kNote + kEnd, 16), "has image version 16"},
      {"version24.emd", Image(kNote + kEnd, 24), "has image version 24"},
      {"outside.emd", outside, "is not an object image"},
      {"short.emd", Image(kNote + kEnd).substr(0, 200), "is not an object image"},
      {"cut-note.emd", Image(kNote + kNote.substr(0, 3)), nullptr},
      {"cut-sysex.emd", Image(kNote + "\xFE\xFF\xF0\x41"), nullptr},
      {"giant-sysex.emd", Image(giantSysEx + kNote + kEnd), nullptr},
      {"giant-comment.emd", Image("\xFA" + Bytes(5000, 'x')), nullptr},
  };
  for (const Case& c : cases) {
    WriteFile(folder / c.name, c.image);
    WriteFile(folder / "out.mid", "a good file from before");
    const TsyRun run = RunTsy(folder, std::string("smf ") + c.name + " -o out.mid");
    const Bytes written = ReadFile(folder / "out.mid");
    if (c.refusal) {
      EXPECT_EQ(run.exitCode, 2) << c.name;
      EXPECT_EQ(run.err.rfind(std::string("tsy: ") + c.name + " " + c.refusal, 0), 0u) << c.name << ": " << run.err;
      EXPECT_EQ(written, "a good file from before") << c.name;
    } else {
      EXPECT_EQ(run.exitCode, 0) << c.name << ": " << run.err;
      EXPECT_TRUE(WholeMidiFile(written)) << c.name;
    }
  }
  EXPECT_EQ(folder.Entries(), std::ssize(cases) + 1);  // no temporary file left behind
}

// A virtual-memory limit cannot be set under a sanitizer, which reserves its
// shadow memory at start; there the sanitizer's own allocation limit serves.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr const char* kMemoryLimit =
    "export ASAN_OPTIONS=$ASAN_OPTIONS:max_allocation_size_mb=1000 "
    "TSAN_OPTIONS=$TSAN_OPTIONS:max_allocation_size_mb=1000; ";
#else
constexpr const char* kMemoryLimit = "ulimit -v 1000000; ";
#endif

// Reading stops past the largest image or source; the memory limit turns a
// reader that would go on for ever into a quick failure.
TEST(TsyBadInput, AnEndlessDeviceIsReadOnlyAsFarAsAnImageOrASourceReaches) {
  const ScratchFolder folder;
  fs::create_symlink("/dev/zero", folder / "endless.mus");
  struct Case {
    const char* arguments;
    const char* message;
  } const cases[] = {
      {"dump /dev/zero", "tsy: /dev/zero is not an object image: more than 16383 bytes\n"},
      {"compile endless.mus -o out.emd", "ファイルを開けません: endless.mus (File too large)\n"},
  };
  for (const Case& c : cases) {
    const TsyRun run = RunTsy(folder, c.arguments, kMemoryLimit);
    EXPECT_EQ(run.exitCode, 2) << c.arguments;
    EXPECT_EQ(run.err, c.message);
  }
  EXPECT_FALSE(fs::exists(folder / "out.emd"));
}

TEST(TsyBadInput, SourcesThatCannotBeReadKeepTheOldImage) {
  const ScratchFolder folder;
  fs::create_directory(folder / "folder.mus");
  struct Case {
    const char* source;
    const char* message;
  } const cases[] = {
      {"folder.mus", "ファイルを開けません: folder.mus (Is a directory)"},
      {"missing.mus", "ファイルを開けません: missing.mus (No such file or directory)"},
  };
  for (const Case& c : cases) {
    WriteFile(folder / "out.emd", "a good image from before");
    const TsyRun run = RunTsy(folder, std::string("compile ") + c.source + " -o out.emd");
    EXPECT_EQ(run.exitCode, 2) << c.source;
    EXPECT_EQ(run.err, std::string(c.message) + "\n");
    EXPECT_EQ(ReadFile(folder / "out.emd"), "a good image from before") << c.source;
  }
}

}  // namespace
}  // namespace tsy::cli
