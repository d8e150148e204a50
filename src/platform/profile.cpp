#include "platform/profile.h"

#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <span>

#include "platform/replacing_file.h"
#include "platform/whole_file.h"

namespace tsy {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

char FoldCase(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// Names of sections and keys compare without regard to ASCII case.
bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (FoldCase(a[i]) != FoldCase(b[i])) return false;
  return true;
}

bool IsComment(std::string_view line) {
  line = Trim(line);
  return !line.empty() && line.front() == ';';
}

// The name of a "[section]" line (a missing "]" closes it at the line end);
// false when the line opens no section.
bool SectionName(std::string_view line, std::string_view& name) {
  line = Trim(line);
  if (line.empty() || line.front() != '[') return false;
  line.remove_prefix(1);
  name = Trim(line.substr(0, line.find(']')));
  return true;
}

// The key and value of a "key=value" line; false for comments and lines
// without "=".
bool KeyLine(std::string_view line, std::string_view& key, std::string_view& value) {
  if (IsComment(line)) return false;
  const size_t equals = line.find('=');
  if (equals == std::string_view::npos) return false;
  key = Trim(line.substr(0, equals));
  value = Trim(line.substr(equals + 1));
  return true;
}

std::string_view Unquoted(std::string_view value) {
  if (value.size() >= 2 && value.front() == '"' && value.back() == '"') return value.substr(1, value.size() - 2);
  return value;
}

// Leading decimal digits after an optional minus sign, wrapping at 32 bits
// as the platform's own reader does; anything else is 0.
int32_t ParseInt(std::string_view text) {
  bool negative = false;
  if (!text.empty() && text.front() == '-') {
    negative = true;
    text.remove_prefix(1);
  }
  uint32_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') break;
    value = value * 10u + static_cast<uint32_t>(c - '0');
  }
  if (negative) value = 0u - value;
  return static_cast<int32_t>(value);
}

}  // namespace

std::optional<Profile> Profile::Load(const std::string& path, FileResult* result) {
  std::string text;
  const FileResult read = ReadRegularFile(path, kLargestProfile, text);
  if (result) *result = read;
  if (read.status == FileStatus::kCannotOpen && read.error == ENOENT) {
    if (result) *result = {};
    return Profile();
  }
  if (!read.ok()) return std::nullopt;
  return Parse(text);
}

Profile Profile::Parse(std::string_view text) {
  Profile profile;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string line(text.substr(start, end - start));
    if (!line.empty() && line.back() == '\r') {
      line.pop_back();
      if (profile.lines_.empty()) profile.lineEnd_ = "\r\n";
    }
    profile.lines_.push_back(std::move(line));
    start = end + 1;
  }
  return profile;
}

int Profile::FindSection(std::string_view section) const {
  std::string_view name;
  for (size_t i = 0; i < lines_.size(); ++i)
    if (SectionName(lines_[i], name) && SameName(name, section)) return static_cast<int>(i);
  return -1;
}

int Profile::FindKey(int sectionLine, std::string_view key) const {
  std::string_view name, lineKey, value;
  for (size_t i = static_cast<size_t>(sectionLine) + 1; i < lines_.size(); ++i) {
    if (SectionName(lines_[i], name)) break;
    if (KeyLine(lines_[i], lineKey, value) && SameName(lineKey, key)) return static_cast<int>(i);
  }
  return -1;
}

size_t Profile::InsertionPoint(int sectionLine) const {
  std::string_view name, key, value;
  size_t after = static_cast<size_t>(sectionLine) + 1;
  for (size_t i = after; i < lines_.size(); ++i) {
    if (SectionName(lines_[i], name)) break;
    if (KeyLine(lines_[i], key, value)) after = i + 1;
  }
  return after;
}

std::string Profile::ReadString(std::string_view section, std::string_view key, std::string_view fallback) const {
  const int sectionLine = FindSection(section);
  if (sectionLine < 0) return std::string(fallback);
  const int keyLine = FindKey(sectionLine, key);
  if (keyLine < 0) return std::string(fallback);
  std::string_view lineKey, value;
  KeyLine(lines_[keyLine], lineKey, value);
  return std::string(Unquoted(value));
}

int32_t Profile::ReadInt(std::string_view section, std::string_view key, int32_t fallback) const {
  // Like the platform's reader, an empty value counts as an absent one.
  const std::string value = ReadString(section, key, "");
  return value.empty() ? fallback : ParseInt(value);
}

void Profile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
  int sectionLine = FindSection(section);
  if (sectionLine < 0) {
    if (!lines_.empty() && !Trim(lines_.back()).empty()) lines_.emplace_back();
    lines_.push_back("[" + std::string(section) + "]");
    sectionLine = static_cast<int>(lines_.size()) - 1;
  }
  const int keyLine = FindKey(sectionLine, key);
  if (keyLine >= 0) {
    // Keep the key as the file spells it.
    std::string_view lineKey, oldValue;
    KeyLine(lines_[keyLine], lineKey, oldValue);
    lines_[keyLine] = std::string(lineKey) + "=" + std::string(value);
    return;
  }
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(InsertionPoint(sectionLine)),
                std::string(key) + "=" + std::string(value));
}

std::string Profile::Text() const {
  std::string text;
  for (const std::string& line : lines_) text += line + lineEnd_;
  return text;
}

FileResult Profile::Save(const std::string& path) const {
  namespace fs = std::filesystem;
  std::error_code error;
  const fs::path folder = fs::path(path).parent_path();
  if (!folder.empty()) fs::create_directories(folder, error);
  const std::string text = Text();
  return WriteFileReplacing(path, std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
}

bool IsWritableDirectory(const std::string& directory) { return ::access(directory.c_str(), W_OK | X_OK) == 0; }

}  // namespace tsy
