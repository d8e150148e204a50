#include "lsp/session.h"

#include "lsp/message_framing.h"
#include "lsp/protocol.h"

namespace tsy::lsp {

void Session::Notify(std::string_view method, nlohmann::json params) {
  WriteFrame(out, {{"jsonrpc", "2.0"}, {"method", method}, {"params", std::move(params)}});
}

const std::string& Session::UriOf(const nlohmann::json& params) const {
  const nlohmann::json& uri = params.at("textDocument").at("uri");
  if (!uri.is_string()) throw RequestError(ErrorCode::kInvalidParams, "textDocument.uri is no string");
  return uri.get_ref<const std::string&>();
}

Document& Session::DocumentOf(const nlohmann::json& params) {
  const std::string& uri = UriOf(params);
  auto it = documents.find(uri);
  if (it == documents.end()) throw RequestError(ErrorCode::kInvalidParams, "the document is not open: " + uri);
  return it->second;
}

}  // namespace tsy::lsp
