#include "lsp/mml_outline.h"

namespace tsy::lsp {
namespace {

constexpr std::string_view kMyInitSpace = "myinitspace";
constexpr std::string_view kCopyright = "copyright";
constexpr size_t kCopyrightLookAhead = 1023;  // characters the compiler searches for the closing quote

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

MmlOutline::MmlOutline(std::string_view cp932) : source_(CondenseSource(cp932)) { Scan(); }

SourcePosition MmlOutline::PositionOf(size_t index) const {
  return source_.lines.PositionOf(source_.text.OriginAt(index));
}

SourcePosition MmlOutline::EndOf(size_t index) const {
  SourcePosition end = PositionOf(index);
  ++end.column;
  return end;
}

std::optional<size_t> MmlOutline::IndexAt(SourcePosition at) const {
  for (size_t i = 0; i < text().size(); i += text().CharacterWidth(i))
    if (PositionOf(i) == at) return i;
  return std::nullopt;
}

const TrackBlock* MmlOutline::BlockHolding(size_t index) const {
  for (const TrackBlock& block : blocks_)
    if (index > block.open && index < block.close) return &block;
  return nullptr;
}

const Registration* MmlOutline::RegistrationBefore(char letter, size_t index) const {
  const Registration* found = nullptr;
  for (const Registration& r : registrations_)
    if (r.letter == Lower(letter) && r.close < index) found = &r;
  return found;
}

// The top level as the compiler's passes read it: a run of digits, "-" and
// "," is the track list of the "[" that follows it; "$x[" registers; "%"
// starts a directive; anything else ends a list.
void MmlOutline::Scan() {
  const CondensedText& t = text();
  std::string list;
  size_t listFirst = 0;
  for (size_t i = 0; i < t.size();) {
    const char c = t[i];
    if (IsDigit(c) || c == '-' || c == ',') {
      if (list.empty()) listFirst = i;
      list += c;
      ++i;
    } else if (c == '[') {
      i = ScanBlock(i, list, list.empty() ? i : listFirst);
      list.clear();
    } else if (c == '$') {
      i = ScanRegistration(i);
      list.clear();
    } else if (c == '%') {
      i = SkipDirective(i);
      list.clear();
    } else {
      i += t.CharacterWidth(i);
      list.clear();
    }
  }
}

// A block from its "[" to the "]" outside double quotes; returns the index after it.
size_t MmlOutline::ScanBlock(size_t open, std::string list, size_t first) {
  const CondensedText& t = text();
  TrackBlock block{first, open, t.size(), std::move(list), 1};
  bool quoted = false;
  size_t i = open + 1;
  for (; i < t.size(); i += t.CharacterWidth(i)) {
    if (t[i] == '"') quoted = !quoted;
    if (quoted) continue;
    if (t[i] == '|') ++block.segments;
    if (t[i] == ']') break;
  }
  block.close = i;
  blocks_.push_back(std::move(block));
  return i + 1;
}

// "$x[body]", the body running to the next "]"; returns the index after it.
size_t MmlOutline::ScanRegistration(size_t dollar) {
  const CondensedText& t = text();
  if (dollar + 1 >= t.size() || !IsLetter(t[dollar + 1])) return dollar + 2;
  if (dollar + 2 >= t.size() || t[dollar + 2] != '[') return dollar + 2;
  size_t close = t.Find(']', dollar + 3);
  if (close == CondensedText::npos) close = t.size();
  registrations_.push_back({Lower(t[dollar + 1]), dollar, close, t.Substr(dollar + 3, close - (dollar + 3))});
  return close + 1;
}

// "%myinitspace", or "%copyright" with its quoted text; any other "%" skips
// the character after it. Returns the index after the directive.
size_t MmlOutline::SkipDirective(size_t percent) const {
  const CondensedText& t = text();
  const size_t name = percent + 1;
  if (t.HasAt(name, kMyInitSpace)) return name + kMyInitSpace.size();
  if (!t.HasAt(name, kCopyright)) return name + 1;
  size_t i = name + kCopyright.size();
  if (i < t.size() && t[i] == '"') {
    const size_t close = t.Find('"', i + 1);
    if (close != CondensedText::npos && close - i <= kCopyrightLookAhead + 1) return close + 1;
  }
  return i;
}

}  // namespace tsy::lsp
