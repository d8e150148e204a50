#pragma once
// The methods the server takes, one row each: the protocol's name and its
// handler. Requests and notifications share the table; whether a message
// wants an answer is its own affair (it carries an id).

#include <string_view>

#include "lsp/features.h"

namespace tsy::lsp {

using Handler = json (*)(Session& session, const json& params);

struct Method {
  std::string_view name;
  Handler handler;
};

// The row of `name`, or null.
const Method* FindMethod(std::string_view name);

}  // namespace tsy::lsp
