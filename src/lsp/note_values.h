#pragma once
// A length in ticks as a musician reads it: as MML writes it ("4.", "1^4")
// and, for a plain or dotted note value, by its name.

#include <cstdint>
#include <string>

#include "resources/editor_texts.h"

namespace tsy::lsp {

// The shortest sum of plain and triplet note values that makes `ticks`
// (192 to a whole note), written as an MML length: 48 is "4", 72 "4.",
// 240 "1^4", 16 "12". Empty for no ticks.
std::string LengthText(int64_t ticks);

// "quarter note", "dotted eighth note" (or in Japanese); empty when `ticks`
// is no plain or dotted note value from a whole note to a 64th.
std::string NoteValueName(int64_t ticks, EditorLanguage language);

}  // namespace tsy::lsp
