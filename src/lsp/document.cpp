#include "lsp/document.h"

#include "platform/text_codec.h"

namespace tsy::lsp {

Document::Document(std::string text, int64_t version)
    : lines(std::move(text)),
      version(version),
      compiled(CompileSource(lines.text())),
      outline(SourceToCp932(lines.text())) {}

EditorRange Document::RangeOf(size_t first, size_t end, PositionEncoding encoding) const {
  if (first >= end) return {};
  return {lines.ToEditor(outline.PositionOf(first), encoding),
          lines.CharacterRange(outline.PositionOf(end - 1), encoding).end};
}

std::string Document::Written(size_t first, size_t end) const {
  return Cp932ToUtf8(outline.text().Substr(first, end - first));
}

}  // namespace tsy::lsp
