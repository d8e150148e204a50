#pragma once
// The language server: reads frames from the editor, answers each request
// through the method table and sends what the features notify, until the
// editor says exit or the stream ends. Bad input (a frame without a length,
// a body that is no JSON, a message that is no request, an unknown method,
// unusable params) is answered with the protocol's error and never ends the
// server.

#include <ostream>
#include <streambuf>

#include "lsp/message_framing.h"
#include "lsp/protocol.h"
#include "lsp/session.h"

namespace tsy::lsp {

class Server {
 public:
  Server(std::ostream& out, ServerOptions options) : session_(out, std::move(options)) {}

  // Handles one frame from the editor.
  void Handle(const Frame& frame);
  // True once exit was received.
  bool exited() const { return session_.exited; }
  // The exit code the protocol asks for: 0 after shutdown, else 1.
  int ExitCode() const { return session_.shutDown ? 0 : 1; }

 private:
  void HandleMessage(const nlohmann::json& message);
  void Dispatch(const std::string& method, const nlohmann::json& id, bool request, const nlohmann::json& params);
  void Answer(const nlohmann::json& id, nlohmann::json result);
  void AnswerError(const nlohmann::json& id, ErrorCode code, const std::string& message);

  Session session_;
};

// Serves the editor on `in` and `out` until exit or the end of `in`;
// returns the exit code.
int RunServer(std::streambuf& in, std::ostream& out, ServerOptions options);

}  // namespace tsy::lsp
