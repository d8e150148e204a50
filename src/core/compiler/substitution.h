#pragma once
// Substitution letters: "$x[body]" registers a body for the letter x, and
// inside a block where upper-case letters are substitution letters (after
// "@ql") the letter X with its argument list is replaced by the body.
// Expansions stay in the text for the later passes; they may add at most
// kExpansionRoom characters to it over a compile.

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
  // Characters that expansions may add to the condensed text: 64 times what
  // an image can hold, far beyond any piece that fits, and a bound for
  // letters that stand for text writing nothing, which could otherwise grow
  // the text without end.
  static constexpr size_t kExpansionRoom = size_t{1} << 20;

  // At the start of every pass: no letter is registered, bodies stay.
  void ClearRegistrations() { registered_.fill(false); }

  // Registers `body` (as written) for `letter` (a–z or A–Z).
  void Register(char letter, std::string_view body);

  // Replaces the upper-case letter at `index` of unit.text, and the argument
  // list after it, by the letter's body: its letters folded to lower case and
  // every "\n" replaced by argument n. The inserted characters come from the
  // letter's source character. Changes nothing and returns false when the
  // letter has no registered body (kSubstitutionNotFound) or the text would
  // pass its bound (kDataOverflow, at the letter).
  bool Expand(CompileUnit& unit, size_t index) const;

 private:
  std::array<std::string, 26> bodies_;
  std::array<bool, 26> registered_{};
};

}  // namespace tsy
