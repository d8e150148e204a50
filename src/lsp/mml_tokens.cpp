#include "lsp/mml_tokens.h"

#include <algorithm>
#include <string_view>

#include "core/compiler/commands.h"
#include "core/compiler/compile_unit.h"

namespace tsy::lsp {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }
bool IsNoteLetter(char c) { return c >= 'a' && c <= 'g'; }
bool IsAnyOf(char c, std::string_view set) { return c != 0 && set.find(c) != std::string_view::npos; }

// Reads a block's characters; past the block's end every character is 0.
class BlockReader {
 public:
  BlockReader(const MmlOutline& outline, const TrackBlock& block) : text_(outline.text()), end_(block.close) {}

  char At(size_t i) const { return i < end_ ? Lower(text_[i]) : 0; }
  char RawAt(size_t i) const { return i < end_ ? text_[i] : 0; }
  size_t Width(size_t i) const { return text_.CharacterWidth(i); }

  size_t SkipWhile(size_t i, std::string_view set) const {
    while (IsAnyOf(At(i), set)) ++i;
    return i;
  }
  // length -> ['='] {digits | '^' | '.' | '_' digits}
  size_t SkipLength(size_t i) const {
    if (At(i) == '=') ++i;
    for (;;) {
      const char c = At(i);
      const bool lengthPart = IsDigit(c) || c == '^' || c == '.' || (c == '_' && IsDigit(At(i + 1)));
      if (!lengthPart) return i;
      ++i;
    }
  }
  // A note letter of a portamento or transposition, with its octave marks before it and accidentals after.
  size_t SkipPitch(size_t i) const {
    i = SkipWhile(i, "<>");
    if (!IsNoteLetter(At(i))) return i;
    return SkipWhile(i + 1, "+#-%");
  }

 private:
  const CondensedText& text_;
  size_t end_;
};

const CommandHelp* LetterHelp(char c) {
  for (const CommandHelp& help : LetterCommandHelp())
    if (help.name.size() == 1 && help.name[0] == c) return &help;
  return nullptr;
}

// The help of the '@' name at `at`, matched as the compiler matches it.
const CommandHelp* AtHelp(const BlockReader& r, size_t at) {
  for (const CommandHelp& help : AtCommandHelp()) {
    size_t i = 0;
    while (i < help.name.size() && r.At(at + i) == help.name[i]) ++i;
    if (i == help.name.size()) return &help;
  }
  return nullptr;
}

class BlockTokens {
 public:
  BlockTokens(const MmlOutline& outline, const TrackBlock& block) : outline_(outline), r_(outline, block) {
    unit_.text = outline.text();
  }

  // The construct that starts at `i`.
  Token Read(size_t i) {
    const char raw = r_.RawAt(i);
    const char c = r_.At(i);
    if (raw >= 'A' && raw <= 'Z' && outline_.RegistrationBefore(raw, i))
      return {TokenKind::kSubstitution, i, r_.SkipWhile(i + 1, "0123456789+-.^_,")};
    if (IsNoteLetter(c)) return {TokenKind::kNote, i, r_.SkipWhile(r_.SkipLength(r_.SkipWhile(i + 1, "+#-%")), "!?")};
    if (c == 'r') return {TokenKind::kRest, i, r_.SkipWhile(r_.SkipLength(i + 1), "!?")};
    if (c == 'l') return {TokenKind::kDefaultLength, i, r_.SkipLength(i + 1)};
    if (c == '@') return AtCommand(i);
    if (c == '"') {
      size_t close = i + 1;
      while (r_.At(close) != 0 && r_.At(close) != '"') close += r_.Width(close);
      return {TokenKind::kNone, i, close + 1};
    }
    const CommandHelp* help = LetterHelp(c);
    if (!help) return {TokenKind::kNone, i, i + r_.Width(i)};
    return {TokenKind::kLetterCommand, i, LetterCommandEnd(c, i), help};
  }

 private:
  Token AtCommand(size_t at) {
    TrackState state;
    const size_t consumed = MeasureAtCommand(unit_, state, at + 1);
    if (consumed == 0) return {TokenKind::kNone, at, at + 2};
    const CommandHelp* help = IsDigit(r_.At(at + 1)) ? &ToneCommandHelp() : AtHelp(r_, at + 1);
    return {TokenKind::kAtCommand, at, at + 1 + consumed, help};
  }

  size_t LetterCommandEnd(char c, size_t i) const {
    switch (c) {
      case 't':
      case 'v':
      case 'u':
      case 'o':
      case 'q': return r_.SkipWhile(i + 1, "=+-0123456789");
      case ')':
      case '}': return r_.SkipWhile(i + 1, "0123456789");
      case '_': return r_.SkipPitch(i + 1);
      case 'w': return r_.SkipLength(r_.SkipPitch(r_.SkipPitch(r_.SkipLength(i + 1))));
      default: return i + 1;
    }
  }

  const MmlOutline& outline_;
  BlockReader r_;
  CompileUnit unit_;
};

}  // namespace

Token TokenAt(const MmlOutline& outline, const TrackBlock& block, size_t index) {
  BlockTokens tokens(outline, block);
  for (size_t i = block.open + 1; i < block.close;) {
    Token token = tokens.Read(i);
    token.end = std::min(std::max(token.end, i + 1), block.close);
    if (index >= token.first && index < token.end) return token;
    i = token.end;
  }
  return {};
}

Token TokenAt(const MmlOutline& outline, SourcePosition at) {
  const std::optional<size_t> index = outline.IndexAt(at);
  const TrackBlock* block = index ? outline.BlockHolding(*index) : nullptr;
  return block ? TokenAt(outline, *block, *index) : Token{};
}

}  // namespace tsy::lsp
