#include "lsp/method_table.h"

#include <algorithm>
#include <iterator>

namespace tsy::lsp {
namespace {

constexpr Method kMethods[] = {
    {"initialize", Initialize},
    {"initialized", Initialized},
    {"shutdown", Shutdown},
    {"exit", Exit},
    {"textDocument/didOpen", DidOpen},
    {"textDocument/didChange", DidChange},
    {"textDocument/didClose", DidClose},
    {"textDocument/hover", Hover},
    {"textDocument/definition", Definition},
    {"textDocument/documentSymbol", DocumentSymbols},
    {"textDocument/completion", Completion},
    {"workspace/executeCommand", ExecuteCommand},
};

}  // namespace

const Method* FindMethod(std::string_view name) {
  auto it = std::find_if(std::begin(kMethods), std::end(kMethods), [&](const Method& m) { return m.name == name; });
  return it == std::end(kMethods) ? nullptr : &*it;
}

}  // namespace tsy::lsp
