// The editor's play commands: tessaly32.playFromCursor plays the document's
// buffer from the cursor's line through the configured output, and
// tessaly32.stop halts. Their arguments are one TextDocumentPositionParams
// ({"textDocument": {"uri"}, "position"}), or the URI and the position.
#include <array>

#include "lsp/features.h"

namespace tsy::lsp {
namespace {

constexpr int kMessageWarning = 2;

json PlayFromCursor(Session& session, const json& arguments) {
  if (!arguments.is_array() || arguments.empty())
    throw RequestError(ErrorCode::kInvalidParams, "tessaly32.playFromCursor needs the document and the position");
  json where = arguments[0];
  if (where.is_string()) where = {{"textDocument", {{"uri", where}}}, {"position", arguments.at(1)}};
  const Document& document = session.DocumentOf(where);
  const SourcePosition at = document.lines.ToSource(PositionFromJson(where.at("position")), session.encoding);
  const std::string device = session.options.configuredDevice ? session.options.configuredDevice() : "";
  if (const EditorText* notice = session.player.PlayFromLine(document.compiled, at.line, device))
    session.Notify("window/showMessage", {{"type", kMessageWarning}, {"message", notice->In(session.language)}});
  return nullptr;
}

json Stop(Session& session, const json&) {
  session.player.Stop();
  return nullptr;
}

struct PlayCommand {
  const char* name;
  json (*run)(Session& session, const json& arguments);
};

constexpr std::array<PlayCommand, 2> kPlayCommands = {{
    {"tessaly32.playFromCursor", PlayFromCursor},
    {"tessaly32.stop", Stop},
}};

}  // namespace

json PlayCommandNames() {
  json names = json::array();
  for (const PlayCommand& command : kPlayCommands) names.push_back(command.name);
  return names;
}

json ExecuteCommand(Session& session, const json& params) {
  const json& name = params.at("command");
  for (const PlayCommand& command : kPlayCommands)
    if (name == command.name) return command.run(session, params.value("arguments", json::array()));
  throw RequestError(ErrorCode::kInvalidParams, "no command " + name.dump());
}

}  // namespace tsy::lsp
