#pragma once
// The handler of every method the server takes, each in the file named
// after its feature. A handler gets the session and the message's params and
// returns the result of a request (ignored for a notification); it raises
// RequestError, or lets a JSON access fault through, for params it cannot use.

#include <nlohmann/json.hpp>

#include "lsp/protocol.h"
#include "lsp/session.h"

namespace tsy::lsp {

using json = nlohmann::json;

// lifecycle.cpp
json Initialize(Session& session, const json& params);
json Initialized(Session& session, const json& params);
json Shutdown(Session& session, const json& params);
json Exit(Session& session, const json& params);

// document_sync.cpp: each change compiles the text and publishes its diagnostics.
json DidOpen(Session& session, const json& params);
json DidChange(Session& session, const json& params);
json DidClose(Session& session, const json& params);

// publish_diagnostics.cpp
void PublishDiagnostics(Session& session, const std::string& uri, const Document* document);

json Hover(Session& session, const json& params);            // hover.cpp
json Definition(Session& session, const json& params);       // definition.cpp
json DocumentSymbols(Session& session, const json& params);  // document_symbols.cpp
json Completion(Session& session, const json& params);       // completion.cpp
json ExecuteCommand(Session& session, const json& params);   // play_commands.cpp

// The commands ExecuteCommand takes, as initialize announces them.
json PlayCommandNames();

}  // namespace tsy::lsp
