// Go to definition: a substitution letter leads to the "$x[" that registers
// the body it expands, the last registration of its letter before it.
#include "lsp/features.h"
#include "lsp/mml_tokens.h"

namespace tsy::lsp {
namespace {

constexpr size_t kRegistrationHead = 3;  // "$", the letter, "["

}  // namespace

json Definition(Session& session, const json& params) {
  const Document& document = session.DocumentOf(params);
  const SourcePosition at = document.lines.ToSource(PositionFromJson(params.at("position")), session.encoding);
  const Token token = TokenAt(document.outline, at);
  if (token.kind != TokenKind::kSubstitution) return nullptr;
  const Registration* r = document.outline.RegistrationBefore(document.outline.text()[token.first], token.first);
  const size_t end = std::min(r->first + kRegistrationHead, document.outline.text().size());
  return {{"uri", session.UriOf(params)}, {"range", ToJson(document.RangeOf(r->first, end, session.encoding))}};
}

}  // namespace tsy::lsp
