#include "core/compiler/substitution.h"

#include <vector>

#include "platform/text_codec.h"

namespace tsy {
namespace {

bool IsArgumentCharacter(char c) {
  return (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.' || c == '^' || c == '_';
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

char FoldLetter(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

int Slot(char letter) { return FoldLetter(letter) - 'a'; }

struct ArgumentList {
  std::vector<std::string> values;  // empty ones count but insert nothing
  size_t end = 0;                   // index of the first character after the list
};

// argument-list -> [arg] {"," [arg]}; arg -> {0-9 + - . ^ _}
// A trailing argument counts only when it is not empty; reading stops at 255.
ArgumentList ReadArguments(const CondensedText& text, size_t at) {
  ArgumentList list;
  while (true) {
    std::string value;
    for (; at < text.size() && IsArgumentCharacter(text[at]); ++at)
      if (value.size() < SubstitutionTable::kMaxArgumentLength) value.push_back(text[at]);
    if (at < text.size() && text[at] == ',') {
      list.values.push_back(value);
      ++at;
      if (list.values.size() == SubstitutionTable::kMaxArguments) break;
      continue;
    }
    if (!value.empty()) list.values.push_back(value);
    break;
  }
  list.end = at;
  return list;
}

// How many bytes the character at `index` of a CP932 body takes: 2 for a
// lead byte with a byte after it, else 1.
size_t CharacterWidth(std::string_view body, size_t index) {
  return IsCp932LeadByte(static_cast<unsigned char>(body[index])) && index + 1 < body.size() ? 2 : 1;
}

// The body as inserted: letters folded, "\n" replaced by argument n (by
// nothing when there is no such argument, it is empty, or no digit follows).
// The second byte of a double-byte character is copied as it stands.
std::string BuildInsertion(std::string_view body, const std::vector<std::string>& arguments) {
  std::string out;
  for (size_t i = 0; i < body.size();) {
    if (size_t width = CharacterWidth(body, i); width == 2) {
      out.append(body.substr(i, 2));
      i += 2;
      continue;
    }
    if (body[i] != '\\') {
      out.push_back(FoldLetter(body[i++]));
      continue;
    }
    size_t n = 0;
    for (++i; i < body.size() && IsDigit(body[i]); ++i)
      if (n <= arguments.size()) n = n * 10 + static_cast<size_t>(body[i] - '0');
    if (n >= 1 && n <= arguments.size()) out.append(arguments[n - 1]);
  }
  return out;
}

}  // namespace

void SubstitutionTable::Register(char letter, std::string_view body) {
  bodies_[Slot(letter)] = std::string(body);
  registered_[Slot(letter)] = true;
}

bool SubstitutionTable::Expand(CompileUnit& unit, size_t index) const {
  const char letter = unit.text[index];
  const SourcePosition at = unit.PositionAt(index);
  if (!registered_[Slot(letter)]) {
    unit.diagnostics.RaiseChar(TextId::kSubstitutionNotFound, at, letter);
    return false;
  }
  ArgumentList arguments = ReadArguments(unit.text, index + 1);
  std::string insertion = BuildInsertion(bodies_[Slot(letter)], arguments.values);
  size_t replaced = arguments.end - index;
  if (unit.text.size() - replaced + insertion.size() > unit.text.condensedSize() + kExpansionRoom) {
    unit.diagnostics.RaiseOverflow(at);
    return false;
  }
  unit.text.Replace(index, replaced, insertion, unit.text.OriginAt(index));
  return true;
}

}  // namespace tsy
