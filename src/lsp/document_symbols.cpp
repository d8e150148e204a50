// The outline of a source: its track blocks, named by their track lists,
// and its substitution registrations, in the order they are written.
#include <algorithm>
#include <cstdio>

#include "lsp/features.h"

namespace tsy::lsp {
namespace {

constexpr int kSymbolModule = 2;
constexpr int kSymbolFunction = 12;

json Symbol(const Session& session, const Document& document, std::string name, int kind, size_t first, size_t close,
            size_t nameEnd) {
  const size_t end = std::min(close + 1, document.outline.text().size());
  return {{"name", std::move(name)},
          {"kind", kind},
          {"range", ToJson(document.RangeOf(first, end, session.encoding))},
          {"selectionRange", ToJson(document.RangeOf(first, nameEnd, session.encoding))}};
}

std::string Formatted(const char* format, const char* text) {
  char name[256];
  std::snprintf(name, sizeof name, format, text);
  return name;
}

}  // namespace

json DocumentSymbols(Session& session, const json& params) {
  const Document& document = session.DocumentOf(params);
  const EditorLanguage language = session.language;
  std::vector<std::pair<size_t, json>> symbols;
  for (const TrackBlock& block : document.outline.blocks()) {
    std::string name = block.list.empty() ? kUnnumberedBlockText.In(language)
                                          : Formatted(kTrackBlockFormat.In(language), block.list.c_str());
    const size_t nameEnd = block.list.empty() ? block.open + 1 : block.open;
    symbols.emplace_back(block.first,
                         Symbol(session, document, std::move(name), kSymbolModule, block.first, block.close, nameEnd));
  }
  for (const Registration& r : document.outline.registrations()) {
    const char letter[2] = {r.letter, 0};
    std::string name = Formatted(kRegistrationFormat.In(language), letter);
    symbols.emplace_back(r.first, Symbol(session, document, std::move(name), kSymbolFunction, r.first, r.close,
                                         std::min(r.first + 2, document.outline.text().size())));
  }
  std::stable_sort(symbols.begin(), symbols.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
  json result = json::array();
  for (auto& [first, symbol] : symbols) result.push_back(std::move(symbol));
  return result;
}

}  // namespace tsy::lsp
