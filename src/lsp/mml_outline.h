#pragma once
// A source's structure as the compiler's top level reads it, for editors:
// the track blocks with their track lists, the substitution registrations,
// and the way between places in the condensed text (the characters the
// compiler reads, comments and white space gone) and positions in the file.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/compiler/source_reader.h"

namespace tsy::lsp {

// One block "LIST[...]": indices into the condensed text.
struct TrackBlock {
  size_t first = 0;  // the track list's first character, or the "[" when it has none
  size_t open = 0;   // the "["
  size_t close = 0;  // the "]", or the text's size when the block is not closed
  std::string list;  // the track list as written ("1,3-5"), empty for none
  int segments = 1;  // parts separated by "|" outside quotes
};

// One registration "$x[body]".
struct Registration {
  char letter = 'a';  // folded to lower case
  size_t first = 0;   // the "$"
  size_t close = 0;   // the "]", or the text's size when the body is not closed
  std::string body;   // CP932, as written
};

class MmlOutline {
 public:
  // `cp932` is the source as the compiler reads it (SourceToCp932).
  explicit MmlOutline(std::string_view cp932);

  const CondensedText& text() const { return source_.text; }
  const std::vector<TrackBlock>& blocks() const { return blocks_; }
  const std::vector<Registration>& registrations() const { return registrations_; }

  // The position of the character at condensed index `index`.
  SourcePosition PositionOf(size_t index) const;
  // The position just after the character at `index`.
  SourcePosition EndOf(size_t index) const;
  // The condensed index of the character at `at`; none where the compiler
  // reads nothing (white space, comments, past the end).
  std::optional<size_t> IndexAt(SourcePosition at) const;

  // The block whose characters between its brackets hold `index`.
  const TrackBlock* BlockHolding(size_t index) const;
  // The registration of `letter` (any case) that stands last before `index`:
  // the one a letter at `index` expands, as the passes read the text in order.
  const Registration* RegistrationBefore(char letter, size_t index) const;

 private:
  void Scan();
  size_t ScanBlock(size_t open, std::string list, size_t first);
  size_t ScanRegistration(size_t dollar);
  size_t SkipDirective(size_t percent) const;

  CondensedSource source_;
  std::vector<TrackBlock> blocks_;
  std::vector<Registration> registrations_;
};

}  // namespace tsy::lsp
