// The compiler's diagnostics of a document as the editor shows them: each at
// the one character where it was raised, with its catalogue number and its
// text (without the line prefix), in UTF-8.
#include "lsp/features.h"
#include "platform/text_codec.h"

namespace tsy::lsp {
namespace {

constexpr int kSeverityError = 1;

}  // namespace

void PublishDiagnostics(Session& session, const std::string& uri, const Document* document) {
  json diagnostics = json::array();
  if (document) {
    for (const DiagnosticRecord& d : document->compiled.diagnostics)
      diagnostics.push_back({{"range", ToJson(document->lines.CharacterRange(d.at, session.encoding))},
                             {"severity", kSeverityError},
                             {"code", static_cast<int>(d.id)},
                             {"source", "tsy"},
                             {"message", Cp932ToUtf8(d.text)},
                             {"data", {{"track", d.track}}}});
  }
  json params = {{"uri", uri}, {"diagnostics", diagnostics}};
  if (document) params["version"] = document->version;
  session.Notify("textDocument/publishDiagnostics", std::move(params));
}

}  // namespace tsy::lsp
