#include "lsp/server.h"

#include "lsp/method_table.h"

namespace tsy::lsp {
namespace {

// An id as JSON-RPC allows it: a number or a string (null answers no request).
bool IsValidId(const nlohmann::json& id) { return id.is_number_integer() || id.is_string(); }

}  // namespace

void Server::Handle(const Frame& frame) {
  switch (frame.kind) {
    case Frame::Kind::kMessage: HandleMessage(frame.message); return;
    case Frame::Kind::kBadHeader:
    case Frame::Kind::kBadJson: AnswerError(nullptr, ErrorCode::kParseError, frame.fault); return;
    case Frame::Kind::kEnd: return;
  }
}

void Server::HandleMessage(const nlohmann::json& message) {
  if (!message.is_object()) {
    AnswerError(nullptr, ErrorCode::kInvalidRequest, "a message must be a JSON object");
    return;
  }
  const bool request = message.contains("id");
  const nlohmann::json id = request ? message["id"] : nlohmann::json();
  if (!message.contains("method")) return;  // an answer from the editor: the server asks nothing
  if (request && !IsValidId(id)) {
    AnswerError(nullptr, ErrorCode::kInvalidRequest, "a request's id must be a number or a string");
    return;
  }
  const nlohmann::json& method = message["method"];
  if (!method.is_string() || message.value("jsonrpc", nlohmann::json()) != "2.0") {
    if (request) AnswerError(id, ErrorCode::kInvalidRequest, "a request needs \"jsonrpc\": \"2.0\" and a method name");
    return;
  }
  const nlohmann::json params = message.contains("params") ? message["params"] : nlohmann::json::object();
  Dispatch(method.get<std::string>(), id, request, params);
}

void Server::Dispatch(const std::string& method, const nlohmann::json& id, bool request, const nlohmann::json& params) {
  if (!session_.initialized && method != "initialize" && method != "exit") {
    if (request) AnswerError(id, ErrorCode::kServerNotInitialized, "initialize first");
    return;
  }
  if (session_.shutDown && method != "exit") {
    if (request) AnswerError(id, ErrorCode::kInvalidRequest, "the server is shut down; only exit is taken");
    return;
  }
  const Method* row = FindMethod(method);
  if (!row) {
    if (request) AnswerError(id, ErrorCode::kMethodNotFound, "no method " + method);
    return;
  }
  try {
    nlohmann::json result = row->handler(session_, params);
    if (request) Answer(id, std::move(result));
  } catch (const RequestError& e) {
    if (request) AnswerError(id, e.code, e.what());
  } catch (const nlohmann::json::exception& e) {
    if (request) AnswerError(id, ErrorCode::kInvalidParams, e.what());
  } catch (const std::exception& e) {
    if (request) AnswerError(id, ErrorCode::kInternalError, e.what());
  }
}

void Server::Answer(const nlohmann::json& id, nlohmann::json result) {
  WriteFrame(session_.out, {{"jsonrpc", "2.0"}, {"id", id}, {"result", std::move(result)}});
}

void Server::AnswerError(const nlohmann::json& id, ErrorCode code, const std::string& message) {
  WriteFrame(session_.out,
             {{"jsonrpc", "2.0"}, {"id", id}, {"error", {{"code", static_cast<int>(code)}, {"message", message}}}});
}

int RunServer(std::streambuf& in, std::ostream& out, ServerOptions options) {
  Server server(out, std::move(options));
  FrameReader reader(in);
  for (;;) {
    const Frame frame = reader.Next();
    if (frame.kind == Frame::Kind::kEnd) return 1;  // the editor went away without exit
    server.Handle(frame);
    if (server.exited()) return server.ExitCode();
  }
}

}  // namespace tsy::lsp
