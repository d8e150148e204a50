#pragma once
// The constructs of a track block as an editor points at them: a note or
// rest with its accidentals and length, a default length, an '@' command
// with its values, a letter command, a substitution letter with its
// arguments. Read from the condensed text, so a construct spans white space
// and lines as the compiler reads it.

#include <cstddef>

#include "lsp/mml_outline.h"
#include "resources/editor_texts.h"

namespace tsy::lsp {

enum class TokenKind { kNone, kNote, kRest, kDefaultLength, kAtCommand, kLetterCommand, kSubstitution };

struct Token {
  TokenKind kind = TokenKind::kNone;
  size_t first = 0;                   // condensed index of its first character
  size_t end = 0;                     // condensed index after its last character
  const CommandHelp* help = nullptr;  // for commands: what it does
};

// The construct of `block` that holds condensed index `index`, reading the
// block from its start as the track parser does.
Token TokenAt(const MmlOutline& outline, const TrackBlock& block, size_t index);

// The construct at source position `at`: none outside every track block.
Token TokenAt(const MmlOutline& outline, SourcePosition at);

}  // namespace tsy::lsp
