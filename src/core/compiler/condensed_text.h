#pragma once
// The condensed source as the track passes read it: CP932 bytes, each with
// the number of the source character it came from. Substitution letters are
// expanded in place, and the text keeps every expansion for the later passes.
// To keep expansion linear in the text it produces, the text is held with a
// gap behind the last replacement: a replacement moves only the bytes between
// it and the one before, never the whole rest of the text.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/text_codec.h"

namespace tsy {

class CondensedText {
 public:
  static constexpr size_t npos = std::string::npos;

  CondensedText() = default;
  // `origins` holds the source character number of every byte of `bytes`.
  CondensedText(std::string bytes, std::vector<uint32_t> origins);

  size_t size() const { return bytes_.size() - GapSize(); }
  char operator[](size_t index) const { return bytes_[Physical(index)]; }
  // The number of the source character that the byte at `index` came from.
  uint32_t OriginAt(size_t index) const { return origins_[Physical(index)]; }
  // Overwrites one byte: the block's case folding, which later passes see.
  void Set(size_t index, char c) { bytes_[Physical(index)] = c; }

  // The index of the first `c` at or after `from`, or npos.
  size_t Find(char c, size_t from) const;
  // True when the text at `index` starts with `word`.
  bool HasAt(size_t index, std::string_view word) const;
  // Up to `count` bytes from `index`, copied.
  std::string Substr(size_t index, size_t count) const;
  // How many bytes the character at `index` takes: 2 for a CP932 lead byte
  // with a byte after it, else 1.
  size_t CharacterWidth(size_t index) const {
    return IsCp932LeadByte(static_cast<unsigned char>((*this)[index])) && index + 1 < size() ? 2 : 1;
  }

  // Replaces the `count` bytes at `index` by `insertion`, every inserted
  // byte carrying source character `origin`.
  void Replace(size_t index, size_t count, std::string_view insertion, uint32_t origin);

  // The length the source condensed to, before any replacement.
  size_t condensedSize() const { return condensedSize_; }
  // Bytes moved so far to make room for replacements (gap moves and growth):
  // what shows that expansion stays linear in the text it produces.
  size_t moved() const { return moved_; }

 private:
  size_t GapSize() const { return gapEnd_ - gapStart_; }
  size_t Physical(size_t index) const { return index < gapStart_ ? index : index + GapSize(); }
  // Puts the gap's start at text index `to`.
  void MoveGap(size_t to);
  // Makes the gap hold at least `needed` bytes.
  void Widen(size_t needed);

  std::string bytes_;              // the text is [0, gapStart_) followed by [gapEnd_, end)
  std::vector<uint32_t> origins_;  // in step with bytes_
  size_t gapStart_ = 0;
  size_t gapEnd_ = 0;
  size_t condensedSize_ = 0;
  size_t moved_ = 0;
};

}  // namespace tsy
