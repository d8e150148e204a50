#include "lsp/protocol.h"

namespace tsy::lsp {

nlohmann::json ToJson(EditorPosition position) { return {{"line", position.line}, {"character", position.character}}; }

nlohmann::json ToJson(const EditorRange& range) { return {{"start", ToJson(range.start)}, {"end", ToJson(range.end)}}; }

EditorPosition PositionFromJson(const nlohmann::json& position) {
  const nlohmann::json& line = position.at("line");
  const nlohmann::json& character = position.at("character");
  if (!line.is_number_unsigned() || !character.is_number_unsigned())
    throw RequestError(ErrorCode::kInvalidParams, "a position needs a line and a character of 0 or more");
  return {line.get<uint32_t>(), character.get<uint32_t>()};
}

}  // namespace tsy::lsp
