#pragma once
// A private-profile (INI) file: "[section]" lines, "key=value" lines and
// ";" comments. Sections and keys are found without regard to case; the first
// of several equal sections or keys is the one that counts. Writing a key
// changes only its own line (or adds one), so every other line of the file,
// comments included, is kept as it was.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_result.h"

namespace tsy {

// The largest settings file read: a few MB, far beyond any real one. A
// larger file, or one that is no plain file, is not read and not written over.
constexpr size_t kLargestProfile = size_t{4} * 1024 * 1024;

class Profile {
 public:
  // Reads the file at `path`; a missing file gives an empty profile. A file
  // that exists but cannot be read (no permission, a folder, a pipe or a
  // device, larger than kLargestProfile) gives nothing, with the reason in
  // `result`: writing over it would lose it.
  static std::optional<Profile> Load(const std::string& path, FileResult* result = nullptr);
  // The profile that a file of these bytes holds.
  static Profile Parse(std::string_view text);

  // The value of `key` in `section` without its surrounding blanks (and
  // without enclosing double quotes), or `fallback` when the key is absent.
  std::string ReadString(std::string_view section, std::string_view key, std::string_view fallback) const;

  // The value read as an integer: an optional minus sign and the decimal
  // digits that follow it; a value that does not start so reads as 0. An
  // absent key gives `fallback`.
  int32_t ReadInt(std::string_view section, std::string_view key, int32_t fallback) const;

  // Sets `key` in `section` to `value`, adding the section at the end and the
  // key after the section's last key when they are absent.
  void WriteString(std::string_view section, std::string_view key, std::string_view value);

  // Writes the profile to a new file beside `path` and renames it over `path`,
  // so that a crash leaves either the old file or the new one. Creates the
  // folder when it is missing. kCannotWrite, with the reason, when the file
  // could not be written (a read-only file is not replaced).
  FileResult Save(const std::string& path) const;

  // The file's text as Save writes it.
  std::string Text() const;

 private:
  // Index of the "[section]" line of `section`, or -1.
  int FindSection(std::string_view section) const;
  // Index of the line of `key` in the section that starts at line `sectionLine`, or -1.
  int FindKey(int sectionLine, std::string_view key) const;
  // The line that `key=value` goes to when the section has no such key yet.
  size_t InsertionPoint(int sectionLine) const;

  std::vector<std::string> lines_;  // without their line ends
  std::string lineEnd_ = "\n";      // "\r\n" when the file was written so
};

// True when a file in `directory` can be created and renamed there, which
// Profile::Save needs.
bool IsWritableDirectory(const std::string& directory);

}  // namespace tsy
