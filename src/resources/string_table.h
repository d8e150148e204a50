#pragma once
// The program's numbered texts (message boxes, compiler diagnostics, captions),
// held in UTF-8 and looked up by their name.

#include "resources/text_id.h"

namespace tsy {

// The text stored under `id`, or an empty string when no text has that number.
const char* LoadText(TextId id);

}  // namespace tsy
