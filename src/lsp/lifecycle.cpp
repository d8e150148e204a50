// The protocol's life: initialize agrees on the position encoding and the
// language and announces what the server does; shutdown and exit end it.
#include <string>

#include "lsp/features.h"
#include "resources/version.h"

namespace tsy::lsp {
namespace {

// UTF-8 when the editor offers it (the compiler's columns count characters,
// and UTF-8 is what the text arrives in), else UTF-16, which every editor takes.
PositionEncoding ChooseEncoding(const json& params) {
  const json* offered = nullptr;
  if (params.contains("capabilities") && params["capabilities"].contains("general"))
    if (const json& general = params["capabilities"]["general"]; general.contains("positionEncodings"))
      offered = &general["positionEncodings"];
  if (!offered || !offered->is_array()) return PositionEncoding::kUtf16;
  for (const json& encoding : *offered)
    if (encoding == "utf-8") return PositionEncoding::kUtf8;
  return PositionEncoding::kUtf16;
}

// Japanese for a locale such as "ja" or "ja-JP", else English.
EditorLanguage ChooseLanguage(const json& params) {
  const json locale = params.value("locale", json());
  if (locale.is_string() && locale.get<std::string>().starts_with("ja")) return EditorLanguage::kJapanese;
  return EditorLanguage::kEnglish;
}

}  // namespace

json Initialize(Session& session, const json& params) {
  if (session.initialized) throw RequestError(ErrorCode::kInvalidRequest, "initialize was sent before");
  if (!params.is_object()) throw RequestError(ErrorCode::kInvalidParams, "initialize needs its params");
  session.encoding = ChooseEncoding(params);
  session.language = ChooseLanguage(params);
  session.initialized = true;
  const json capabilities = {
      {"positionEncoding", session.encoding == PositionEncoding::kUtf8 ? "utf-8" : "utf-16"},
      {"textDocumentSync", {{"openClose", true}, {"change", 1}}},
      {"hoverProvider", true},
      {"definitionProvider", true},
      {"documentSymbolProvider", true},
      {"completionProvider", {{"triggerCharacters", {"@"}}}},
      {"executeCommandProvider", {{"commands", PlayCommandNames()}}},
  };
  return {{"capabilities", capabilities}, {"serverInfo", {{"name", "tsy lsp"}, {"version", FileVersion()}}}};
}

json Initialized(Session&, const json&) { return nullptr; }

json Shutdown(Session& session, const json&) {
  session.player.Close();
  session.shutDown = true;
  return nullptr;
}

json Exit(Session& session, const json&) {
  session.exited = true;
  return nullptr;
}

}  // namespace tsy::lsp
