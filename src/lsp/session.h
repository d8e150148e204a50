#pragma once
// What the server keeps between messages: the agreed position encoding and
// language, where it stands in the protocol's life, the open documents, and
// the music it plays; and the way back to the editor for notifications.

#include <functional>
#include <map>
#include <nlohmann/json.hpp>
#include <ostream>
#include <string>
#include <string_view>

#include "lsp/document.h"
#include "lsp/player.h"
#include "lsp/text_positions.h"
#include "resources/editor_texts.h"

namespace tsy::lsp {

struct ServerOptions {
  // The output to play through (the MidiDevice setting), asked for at every play.
  std::function<std::string()> configuredDevice;
};

struct Session {
  Session(std::ostream& out, ServerOptions options) : out(out), options(std::move(options)) {}

  // Sends a notification to the editor.
  void Notify(std::string_view method, nlohmann::json params);
  // The open document that `params.textDocument.uri` names; InvalidParams when none is open.
  Document& DocumentOf(const nlohmann::json& params);
  const std::string& UriOf(const nlohmann::json& params) const;

  std::ostream& out;
  ServerOptions options;
  PositionEncoding encoding = PositionEncoding::kUtf16;
  EditorLanguage language = EditorLanguage::kEnglish;
  bool initialized = false;
  bool shutDown = false;  // shutdown was asked: only exit is taken now
  bool exited = false;
  std::map<std::string, Document> documents;  // by URI
  Player player;
};

}  // namespace tsy::lsp
