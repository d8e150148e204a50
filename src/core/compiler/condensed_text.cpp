#include "core/compiler/condensed_text.h"

#include <algorithm>

namespace tsy {
namespace {

// Moves `length` elements of `buffer` from `from` to `to` (the ranges may overlap).
template <typename Buffer>
void MoveWithin(Buffer& buffer, size_t from, size_t to, size_t length) {
  auto first = buffer.begin() + static_cast<ptrdiff_t>(from);
  auto last = first + static_cast<ptrdiff_t>(length);
  if (to < from) std::copy(first, last, buffer.begin() + static_cast<ptrdiff_t>(to));
  else std::copy_backward(first, last, buffer.begin() + static_cast<ptrdiff_t>(to + length));
}

// `buffer` with its gap [gapStart, gapEnd) widened by `extra` elements.
template <typename Buffer>
void WidenGap(Buffer& buffer, size_t gapStart, size_t gapEnd, size_t extra) {
  Buffer wider(buffer.size() + extra, typename Buffer::value_type{});
  std::copy(buffer.begin(), buffer.begin() + static_cast<ptrdiff_t>(gapStart), wider.begin());
  std::copy(buffer.begin() + static_cast<ptrdiff_t>(gapEnd), buffer.end(),
            wider.begin() + static_cast<ptrdiff_t>(gapEnd + extra));
  buffer = std::move(wider);
}

}  // namespace

CondensedText::CondensedText(std::string bytes, std::vector<uint32_t> origins)
    : bytes_(std::move(bytes)),
      origins_(std::move(origins)),
      gapStart_(bytes_.size()),
      gapEnd_(bytes_.size()),
      condensedSize_(bytes_.size()) {}

size_t CondensedText::Find(char c, size_t from) const {
  const std::string_view all(bytes_);
  if (from < gapStart_) {
    size_t at = all.substr(0, gapStart_).find(c, from);
    if (at != npos) return at;
    from = gapStart_;
  }
  size_t at = all.find(c, from + GapSize());
  return at == npos ? npos : at - GapSize();
}

bool CondensedText::HasAt(size_t index, std::string_view word) const {
  if (index > size() || size() - index < word.size()) return false;
  for (size_t i = 0; i < word.size(); ++i)
    if ((*this)[index + i] != word[i]) return false;
  return true;
}

std::string CondensedText::Substr(size_t index, size_t count) const {
  std::string out;
  for (size_t i = index; i < size() && i - index < count; ++i) out.push_back((*this)[i]);
  return out;
}

void CondensedText::Replace(size_t index, size_t count, std::string_view insertion, uint32_t origin) {
  MoveGap(index);
  gapEnd_ += count;  // the replaced bytes join the gap
  if (GapSize() < insertion.size()) Widen(insertion.size());
  std::copy(insertion.begin(), insertion.end(), bytes_.begin() + static_cast<ptrdiff_t>(gapStart_));
  std::fill_n(origins_.begin() + static_cast<ptrdiff_t>(gapStart_), insertion.size(), origin);
  gapStart_ += insertion.size();  // the gap stays behind the insertion, where the next one is expected
}

void CondensedText::MoveGap(size_t to) {
  if (to == gapStart_) return;
  if (GapSize() == 0) {
    gapStart_ = gapEnd_ = to;
    return;
  }
  if (to < gapStart_) {
    const size_t length = gapStart_ - to;
    MoveWithin(bytes_, to, gapEnd_ - length, length);
    MoveWithin(origins_, to, gapEnd_ - length, length);
    gapStart_ -= length;
    gapEnd_ -= length;
    moved_ += length;
  } else {
    const size_t length = to - gapStart_;
    MoveWithin(bytes_, gapEnd_, gapStart_, length);
    MoveWithin(origins_, gapEnd_, gapStart_, length);
    gapStart_ += length;
    gapEnd_ += length;
    moved_ += length;
  }
}

void CondensedText::Widen(size_t needed) {
  // Half the text again on top of what is needed: growth stays geometric.
  const size_t extra = needed - GapSize() + size() / 2 + 64;
  WidenGap(bytes_, gapStart_, gapEnd_, extra);
  WidenGap(origins_, gapStart_, gapEnd_, extra);
  gapEnd_ += extra;
  moved_ += size();
}

}  // namespace tsy
