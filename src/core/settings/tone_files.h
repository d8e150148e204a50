#pragma once
// The tone lists: named tones with the program and bank that select them, read
// from the two tone definition files (Tone1 gives the @eqn names, Tone2 the
// @eqd names). The Tone window shows one list per channel.
//
// File format, one entry per line:  name[,program[,bank MSB[,bank LSB]]]
// A line whose name holds ';' is a comment; tabs in a name are dropped;
// numbers outside 0..127 and numbers not written are 0.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/settings/settings.h"
#include "platform/file_result.h"

namespace tsy {

// The largest tone definition file read: a few MB, thousands of times a
// real one. A larger file, or one that is no plain file, gives an empty list.
constexpr size_t kLargestToneFile = size_t{4} * 1024 * 1024;

struct ToneList {
  static constexpr int kNameChars = 80;               // longer names are cut
  static constexpr int kNameStride = kNameChars + 1;  // one name with its zero byte

  int32_t count = 0;
  std::vector<char> names;      // entry i's CP932 name at i * kNameStride, zero-terminated
  std::vector<uint8_t> values;  // entry i's program, bank MSB, bank LSB at i * 3

  const char* name(int i) const { return &names[static_cast<size_t>(i) * kNameStride]; }
  uint8_t program(int i) const { return values[static_cast<size_t>(i) * 3]; }
  uint8_t bankMsb(int i) const { return values[static_cast<size_t>(i) * 3 + 1]; }
  uint8_t bankLsb(int i) const { return values[static_cast<size_t>(i) * 3 + 2]; }
};

// Both lists, replaced together.
struct ToneLists {
  ToneList eqn;  // from Tone1
  ToneList eqd;  // from Tone2
};

// Reads one tone definition file; a file that cannot be read gives an empty
// list, and `result` (when given) says why. A relative path is taken from the
// current directory. A file written in UTF-8 is converted, so the names are
// always CP932.
ToneList ReadToneFile(const std::string& path, FileResult* result = nullptr);

// The list that a tone definition file of these bytes gives.
ToneList ParseToneFile(std::string_view bytes);

// The file to read for the tone file setting `named`. A bare name (no folder)
// that the current directory does not hold is taken from `sharedFolder`, where
// an installed program keeps the example tone files, when that holds it; any
// other name is used as written.
std::string ToneFileToRead(const std::string& named, const std::string& sharedFolder);

// A tone file that exists but was not read, and why.
struct ToneFileFault {
  std::string path;
  FileResult result;
};

// Reads the files named by `Tone1` and `Tone2` (through ToneFileToRead, from
// the installation the program runs from) and puts both lists in place at
// once. The caller repaints the Tone window if it is open. Returns the files
// that exist but were not read (a missing file is no fault: its list is
// simply empty), for the caller to tell the user.
std::vector<ToneFileFault> LoadToneFiles(const Settings& settings);

// The lists in place now (empty before the first load). Safe from any thread;
// the lists stay valid while the caller holds the pointer, even across a reload.
std::shared_ptr<const ToneLists> CurrentToneLists();

}  // namespace tsy
