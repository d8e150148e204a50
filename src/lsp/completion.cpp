// Completion of the '@' command names: after an '@' and the letters typed
// so far, every command with its values and what it does.
#include "lsp/features.h"

namespace tsy::lsp {
namespace {

constexpr int kCompletionKeyword = 14;

bool IsNameCharacter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

}  // namespace

json Completion(Session& session, const json& params) {
  const Document& document = session.DocumentOf(params);
  const EditorPosition cursor = PositionFromJson(params.at("position"));
  const SourcePosition at = document.lines.ToSource(cursor, session.encoding);
  // The letters typed after the '@' are ASCII: one code unit each in either encoding.
  const std::string_view line = document.lines.Line(cursor.line);
  const size_t cursorByte = document.lines.ByteInLine(at);
  size_t start = cursorByte;
  while (start > 0 && IsNameCharacter(line[start - 1])) --start;
  if (start == 0 || line[start - 1] != '@') return json::array();
  const uint32_t typed = static_cast<uint32_t>(cursorByte - start);
  const EditorRange replaced{{cursor.line, cursor.character - std::min(typed, cursor.character)}, cursor};
  json items = json::array();
  for (const CommandHelp& help : AtCommandHelp()) {
    json item = {{"label", "@" + std::string(help.name)},
                 {"kind", kCompletionKeyword},
                 {"filterText", std::string(help.name)},
                 {"detail", help.values},
                 {"documentation", help.does.In(session.language)},
                 {"textEdit", {{"range", ToJson(replaced)}, {"newText", std::string(help.name)}}}};
    items.push_back(std::move(item));
  }
  return items;
}

}  // namespace tsy::lsp
