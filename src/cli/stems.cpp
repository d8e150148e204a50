#include "cli/stems.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <optional>
#include <set>

#include "core/image/image_layout.h"
#include "core/midi/midi_bytes.h"
#include "core/smf/track_names.h"
#include "platform/text_codec.h"

namespace tsy::cli {
namespace {

constexpr size_t kLongestName = 100;            // bytes, well inside any folder's name limit
constexpr const char* kUnsafe = "/\\:*?\"<>|";  // separators here or elsewhere, and shell-hostile marks
constexpr uint8_t kNoteMessages = 0xE0;         // mask: note-off and note-on share the top three bits

bool IsNote(const TimedMessage& m) { return (m.bytes[0] & kNoteMessages) == midi::kNoteOff; }

}  // namespace

std::string FileNameOf(const std::string& name) {
  std::string safe;
  for (char c : name) safe += (static_cast<unsigned char>(c) < 0x20 || c == 0x7F || std::strchr(kUnsafe, c)) ? '_' : c;
  const size_t first = safe.find_first_not_of(". ");
  const size_t last = safe.find_last_not_of(". ");
  safe = first == std::string::npos ? "" : safe.substr(first, last - first + 1);
  if (safe.size() > kLongestName) {
    size_t keep = kLongestName;
    while (keep > 0 && (static_cast<unsigned char>(safe[keep]) & 0xC0) == 0x80) --keep;  // inside a UTF-8 character
    safe.resize(keep);
  }
  return safe;
}

std::vector<Stem> PlanStems(const uint8_t* image, const std::vector<TimedMessage>& music, const std::string& folder,
                            const char* extension) {
  std::set<int> sounding;  // chunks with a note-on
  for (const TimedMessage& m : music)
    if (IsNote(m) && (m.bytes[0] & 0xF0) == midi::kNoteOn && m.bytes.size() > 2 && m.bytes[2] > 0)
      sounding.insert(m.track);
  std::vector<Stem> stems;
  int chunk = 0;
  for (int k = 1; k <= kTrackCount; ++k) {
    if (ImageTrackOffset(image, k) == 0) continue;
    if (!sounding.contains(++chunk)) continue;
    const std::optional<std::string> comment = FirstComment(image, k);
    std::string name = comment ? FileNameOf(Cp932ToUtf8(*comment)) : "";
    char number[16];
    std::snprintf(number, sizeof number, "%02d", k);
    if (name.empty()) name = std::string("track ") + number;
    stems.push_back({chunk, (std::filesystem::path(folder) / (std::string(number) + "-" + name + extension)).string()});
  }
  return stems;
}

std::vector<TimedMessage> StemMusic(const std::vector<TimedMessage>& music, int chunk) {
  std::vector<TimedMessage> part;
  for (const TimedMessage& m : music)
    if (!IsNote(m) || m.track == chunk) part.push_back(m);
  return part;
}

bool MakeFolder(const std::string& folder) {
  std::error_code error;
  if (std::filesystem::is_directory(folder, error)) return true;
  std::filesystem::create_directories(folder, error);
  if (!error) return true;
  std::fprintf(stderr, "tsy: cannot make the folder %s (%s)\n", folder.c_str(), error.message().c_str());
  return false;
}

}  // namespace tsy::cli
