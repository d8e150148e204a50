#pragma once
// Substitution letters: "$x[body]" registers a body for the letter x, and
// inside a block where upper-case letters are substitution letters (after
// "@ql") the letter X with its argument list is replaced by the body.

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "core/compiler/compile_unit.h"

namespace tsy {

class SubstitutionTable {
 public:
  static constexpr size_t kMaxBodyLength = 1022;  // a body of 1,023 characters or more: kSubstitutionTooLong
  static constexpr size_t kMaxArguments = 255;
  static constexpr size_t kMaxArgumentLength = 63;  // longer arguments are cut to this

  // At the start of every pass: no letter is registered, bodies stay.
  void ClearRegistrations() { registered_.fill(false); }

  // Registers `body` (as written) for `letter` (a–z or A–Z).
  void Register(char letter, std::string_view body);

  // Replaces the upper-case letter at `index` of unit.text, and the argument
  // list after it, by the letter's body: its letters folded to lower case and
  // every "\n" replaced by argument n. The inserted characters carry the
  // letter's line. Raises kSubstitutionNotFound and changes nothing when the letter has no
  // registered body; returns whether it expanded.
  bool Expand(CompileUnit& unit, size_t index) const;

 private:
  std::array<std::string, 26> bodies_;
  std::array<bool, 26> registered_{};
};

// How many bytes the character at `index` of CP932 `text` takes: 2 for a
// lead byte with a byte after it, else 1.
size_t CharacterWidth(std::string_view text, size_t index);

}  // namespace tsy
