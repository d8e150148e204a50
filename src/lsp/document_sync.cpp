// Keeping the editor's text: every open and every change compiles the whole
// buffer (the server takes full texts) and publishes its diagnostics.
#include "lsp/features.h"

namespace tsy::lsp {
namespace {

const std::string& TextOf(const json& holder) {
  const json& text = holder.at("text");
  if (!text.is_string()) throw RequestError(ErrorCode::kInvalidParams, "text is no string");
  return text.get_ref<const std::string&>();
}

// Compiles `text` as document `uri`'s new content.
void Update(Session& session, const std::string& uri, const std::string& text, int64_t version) {
  session.documents.erase(uri);
  const Document& document = session.documents.try_emplace(uri, text, version).first->second;
  PublishDiagnostics(session, uri, &document);
}

int64_t VersionOf(const json& textDocument) {
  const json version = textDocument.value("version", json(0));
  return version.is_number_integer() ? version.get<int64_t>() : 0;
}

}  // namespace

json DidOpen(Session& session, const json& params) {
  const json& textDocument = params.at("textDocument");
  Update(session, session.UriOf(params), TextOf(textDocument), VersionOf(textDocument));
  return nullptr;
}

json DidChange(Session& session, const json& params) {
  const json& changes = params.at("contentChanges");
  if (!changes.is_array() || changes.empty()) throw RequestError(ErrorCode::kInvalidParams, "no contentChanges");
  // With full syncing each change is the whole text: the last one counts.
  Update(session, session.UriOf(params), TextOf(changes.back()), VersionOf(params.at("textDocument")));
  return nullptr;
}

json DidClose(Session& session, const json& params) {
  const std::string uri = session.UriOf(params);
  session.documents.erase(uri);
  PublishDiagnostics(session, uri, nullptr);
  return nullptr;
}

}  // namespace tsy::lsp
