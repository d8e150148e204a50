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

#include "cli_cases.h"

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

TEST(TsyBadInput, DamagedImagesAreRefusedWithTheirFaultAndTheOldFileKept) {
  const ScratchFolder folder;
  Bytes outside = Image(kNote + kEnd);
  PutU32(outside, 8, 60000);  // track 2 far beyond the end
  WriteFile(folder / "magic.emd", "EMD2" + Image(kNote + kEnd).substr(4));
  WriteFile(folder / "version16.emd", Image(kNote + kEnd, 16));
  WriteFile(folder / "version24.emd", Image(kNote + kEnd, 24));
  WriteFile(folder / "outside.emd", outside);
  WriteFile(folder / "short.emd", Image(kNote + kEnd).substr(0, 200));
  WriteFile(folder / "out.mid", "a good file from before");
  const CliCase cases[] = {
      {"smf magic.emd -o out.mid", 2, "tsy: magic.emd is not an object image"},
      {"smf version16.emd -o out.mid", 2, "tsy: version16.emd has image version 16"},
      {"smf version24.emd -o out.mid", 2, "tsy: version24.emd has image version 24"},
      {"smf outside.emd -o out.mid", 2, "tsy: outside.emd is not an object image"},
      {"smf short.emd -o out.mid", 2, "tsy: short.emd is not an object image"},
  };
  ExpectCases(folder, cases);
  EXPECT_EQ(ReadFile(folder / "out.mid"), "a good file from before");
  EXPECT_EQ(folder.Entries(), 6) << "no temporary file left behind";
}

TEST(TsyBadInput, OddStreamsAreExportedAsAWholeMidiFile) {
  const ScratchFolder folder;
  Bytes giantSysEx = {'\xFE', '\xFF', '\xF0'};
  giantSysEx += Bytes(252, 0x41) + "\xF7";
  struct Case {
    const char* name;
    Bytes image;
  } const cases[] = {
      {"cut-note.emd", Image(kNote + kNote.substr(0, 3))},
      {"cut-sysex.emd", Image(kNote + "\xFE\xFF\xF0\x41")},
      {"giant-sysex.emd", Image(giantSysEx + kNote + kEnd)},
      {"giant-comment.emd", Image("\xFA" + Bytes(5000, 'x'))},
  };
  for (const Case& c : cases) {
    WriteFile(folder / c.name, c.image);
    const TsyRun run = RunTsy(folder, std::string("smf ") + c.name + " -o out.mid");
    EXPECT_EQ(run.exitCode, 0) << c.name << ": " << run.err;
    EXPECT_TRUE(WholeMidiFile(ReadFile(folder / "out.mid"))) << c.name;
  }
  EXPECT_EQ(folder.Entries(), std::ssize(cases) + 1) << "no temporary file left behind";
}

// A virtual-memory limit cannot be set under a sanitizer, which reserves its
// shadow memory at start; there the sanitizer's own allocation limit serves.
// Its operator new aborts instead of throwing, so running out of memory can
// only be tried without one.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr bool kUnderSanitizer = true;
constexpr const char* kMemoryLimit =
    "export ASAN_OPTIONS=$ASAN_OPTIONS:max_allocation_size_mb=1000 "
    "TSAN_OPTIONS=$TSAN_OPTIONS:max_allocation_size_mb=1000; ";
#else
constexpr bool kUnderSanitizer = false;
constexpr const char* kMemoryLimit = "ulimit -v 1000000; ";
#endif
// Too little for the 64 MB a source may hold.
constexpr const char* kTightMemoryLimit = "ulimit -v 100000; ";

// Reading stops past the largest image or source; the memory limit turns a
// reader that would go on for ever into a quick failure.
TEST(TsyBadInput, AnEndlessDeviceIsReadOnlyAsFarAsAnImageOrASourceReaches) {
  const ScratchFolder folder;
  fs::create_symlink("/dev/zero", folder / "endless.mus");
  const CliCase cases[] = {
      {"dump /dev/zero", 2, "tsy: /dev/zero is not an object image: more than 16383 bytes\n"},
      {"compile endless.mus -o out.emd", 2, "ファイルを開けません: endless.mus (File too large)\n"},
  };
  ExpectCases(folder, cases, kMemoryLimit);
  EXPECT_FALSE(fs::exists(folder / "out.emd"));
}

// Memory that runs out is told, and the command ends with exit 2 instead of
// an abort.
TEST(TsyBadInput, RunningOutOfMemoryIsToldAndEndsWithExitTwo) {
  if (kUnderSanitizer) GTEST_SKIP() << "a sanitizer's operator new aborts instead of throwing";
  const ScratchFolder folder;
  fs::create_symlink("/dev/zero", folder / "endless.mus");
  const CliCase cases[] = {{"compile endless.mus -o out.emd", 2, "tsy compile: out of memory\n"}};
  ExpectCases(folder, cases, kTightMemoryLimit);
  EXPECT_EQ(folder.Entries(), 1);
}

TEST(TsyBadInput, SourcesThatCannotBeReadKeepTheOldImage) {
  const ScratchFolder folder;
  fs::create_directory(folder / "folder.mus");
  WriteFile(folder / "out.emd", "a good image from before");
  const CliCase cases[] = {
      {"compile folder.mus -o out.emd", 2, "ファイルを開けません: folder.mus (Is a directory)\n"},
      {"compile missing.mus -o out.emd", 2, "ファイルを開けません: missing.mus (No such file or directory)\n"},
  };
  ExpectCases(folder, cases);
  EXPECT_EQ(ReadFile(folder / "out.emd"), "a good image from before");
}

}  // namespace
}  // namespace tsy::cli
