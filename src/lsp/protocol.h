#pragma once
// The pieces of the protocol that every feature shares: the error codes a
// request can be answered with, the error a handler raises to answer with
// one, and positions and ranges in their JSON form.

#include <nlohmann/json.hpp>
#include <stdexcept>
#include <string>

#include "lsp/text_positions.h"

namespace tsy::lsp {

// JSON-RPC's and the language server protocol's error codes.
enum class ErrorCode : int {
  kParseError = -32700,
  kInvalidRequest = -32600,
  kMethodNotFound = -32601,
  kInvalidParams = -32602,
  kInternalError = -32603,
  kServerNotInitialized = -32002,
  kRequestFailed = -32803,
};

// Raised by a handler to answer its request with an error.
struct RequestError : std::runtime_error {
  RequestError(ErrorCode code, const std::string& message) : std::runtime_error(message), code(code) {}
  ErrorCode code;
};

nlohmann::json ToJson(EditorPosition position);
nlohmann::json ToJson(const EditorRange& range);
// The position of a request's params ({"line", "character"}); InvalidParams when it is not one.
EditorPosition PositionFromJson(const nlohmann::json& position);

}  // namespace tsy::lsp
