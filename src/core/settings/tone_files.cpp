#include "core/settings/tone_files.h"

#include <cerrno>
#include <filesystem>
#include <mutex>
#include <string_view>
#include <utility>

#include "platform/install_folders.h"
#include "platform/text_codec.h"
#include "platform/whole_file.h"

namespace tsy {
namespace {

constexpr size_t kMaxLineChars = 4096;  // the line reader's buffer; longer lines are split
constexpr int kMaxToneValue = 127;

// The bytes as CP932: a UTF-8 file (with a byte-order mark, or valid UTF-8
// holding multi-byte characters) is converted.
std::string AsCp932(std::string_view bytes) {
  constexpr std::string_view kBom = "\xEF\xBB\xBF";
  if (bytes.starts_with(kBom)) return Utf8ToCp932(bytes.substr(kBom.size()));
  if (LooksLikeUtf8(bytes)) return Utf8ToCp932(bytes);
  return std::string(bytes);
}

// The lines as the line reader returns them, without their line feeds: a
// line ends at a line feed, at the end of the text, or after 4,096
// characters. An empty line does not end the file.
std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  size_t start = 0;
  while (start < text.size()) {
    const size_t feed = text.find('\n', start);
    if (feed != std::string_view::npos && feed - start <= kMaxLineChars) {
      lines.push_back(text.substr(start, feed - start));
      start = feed + 1;
    } else {
      lines.push_back(text.substr(start, kMaxLineChars));
      start += kMaxLineChars;
    }
  }
  return lines;
}

// The name field: from the start of the line to the first "," or the line's end.
std::string_view NameField(std::string_view line) { return line.substr(0, line.find_first_of(",\r")); }

// The name field without its tabs, cut to 80 bytes without splitting a
// double-byte character.
std::string EntryName(std::string_view field) {
  std::string name;
  for (size_t i = 0; i < field.size(); ++i) {
    if (field[i] == '\t') continue;
    const bool pair = IsCp932LeadByte(static_cast<unsigned char>(field[i])) && i + 1 < field.size();
    const size_t width = pair ? 2 : 1;
    if (name.size() + width > ToneList::kNameChars) break;
    name.append(field.substr(i, width));
    i += width - 1;
  }
  return name;
}

void SkipBlanks(std::string_view text, size_t& pos) {
  while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t')) ++pos;
}

// numbers -> [number] {"," [number]}, at most three: program, bank MSB, bank
// LSB. A number not written or outside 0..127 is 0; any other character ends
// the numbers.
void ReadNumbers(std::string_view text, uint8_t* values) {
  size_t pos = 0;
  for (int field = 0; field < 3; ++field) {
    SkipBlanks(text, pos);
    int value = 0;
    for (; pos < text.size() && text[pos] >= '0' && text[pos] <= '9'; ++pos)
      if (value <= kMaxToneValue) value = value * 10 + (text[pos] - '0');
    SkipBlanks(text, pos);
    values[field] = static_cast<uint8_t>(value <= kMaxToneValue ? value : 0);
    if (pos >= text.size() || text[pos] != ',') return;
    ++pos;
  }
}

// The lists in place. Only a pointer is taken or swapped under the lock; the
// lists themselves are never changed once in place.
struct CurrentLists {
  std::mutex lock;
  std::shared_ptr<const ToneLists> lists = std::make_shared<const ToneLists>();
};

CurrentLists& Current() {
  static CurrentLists current;
  return current;
}

}  // namespace

ToneList ReadToneFile(const std::string& path, FileResult* result) {
  std::string bytes;
  const FileResult read = ReadRegularFile(path, kLargestToneFile, bytes);
  if (result) *result = read;
  return read.ok() ? ParseToneFile(bytes) : ToneList{};
}

ToneList ParseToneFile(std::string_view bytes) {
  const std::string text = AsCp932(bytes);
  const std::vector<std::string_view> lines = SplitLines(text);

  // The count takes every line that does not start with ";". A line with a
  // ";" later in its name is a comment too, so its entry stays empty at the end.
  ToneList list;
  for (std::string_view line : lines)
    if (line.empty() || line.front() != ';') ++list.count;
  list.names.assign(static_cast<size_t>(list.count) * ToneList::kNameStride, '\0');
  list.values.assign(static_cast<size_t>(list.count) * 3, 0);

  int entry = 0;
  for (std::string_view line : lines) {
    const std::string_view field = NameField(line);
    if (field.find(';') != std::string_view::npos) continue;
    const std::string name = EntryName(field);
    name.copy(&list.names[static_cast<size_t>(entry) * ToneList::kNameStride], name.size());
    if (field.size() < line.size() && line[field.size()] == ',')
      ReadNumbers(line.substr(field.size() + 1), &list.values[static_cast<size_t>(entry) * 3]);
    ++entry;
  }
  return list;
}

std::string ToneFileToRead(const std::string& named, const std::string& sharedFolder) {
  namespace fs = std::filesystem;
  const fs::path name(named);
  std::error_code error;
  if (named.empty() || name.has_parent_path() || sharedFolder.empty() || fs::exists(name, error)) return named;
  const fs::path shared = fs::path(sharedFolder) / name;
  return fs::exists(shared, error) ? shared.string() : named;
}

std::vector<ToneFileFault> LoadToneFiles(const Settings& settings) {
  const std::string sharedFolder = SharedDataFolder(ExecutableFolder());
  auto lists = std::make_shared<ToneLists>();
  std::vector<ToneFileFault> faults;
  for (auto [named, list] : {std::pair{&settings.tone1, &lists->eqn}, std::pair{&settings.tone2, &lists->eqd}}) {
    ToneFileFault fault{ToneFileToRead(*named, sharedFolder), {}};
    *list = ReadToneFile(fault.path, &fault.result);
    const bool missing = fault.result.status == FileStatus::kCannotOpen && fault.result.error == ENOENT;
    if (!fault.result.ok() && !missing) faults.push_back(std::move(fault));
  }
  // Readers holding the old lists keep them until they let go; the old lists
  // are freed outside the lock.
  std::shared_ptr<const ToneLists> old = std::move(lists);
  {
    std::lock_guard<std::mutex> guard(Current().lock);
    Current().lists.swap(old);
  }
  return faults;
}

std::shared_ptr<const ToneLists> CurrentToneLists() {
  std::lock_guard<std::mutex> guard(Current().lock);
  return Current().lists;
}

}  // namespace tsy
