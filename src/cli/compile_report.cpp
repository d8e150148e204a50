#include "cli/compile_report.h"

#include <cstdio>
#include <cstring>

#include "platform/text_codec.h"
#include "resources/string_table.h"

namespace tsy::cli {

std::string MessageTextUtf8(const std::string& cp932) {
  size_t whole = 0;  // bytes that form whole characters
  while (whole < cp932.size()) {
    size_t width = IsCp932LeadByte(static_cast<unsigned char>(cp932[whole])) ? 2 : 1;
    if (whole + width > cp932.size()) break;
    whole += width;
  }
  return Cp932ToUtf8(std::string_view(cp932).substr(0, whole));
}

void PrintDiagnostics(const std::string& source, const CompileResult& result) {
  for (const DiagnosticRecord& d : result.diagnostics)
    std::fprintf(stderr, "%s:%u:%u: %s\n", source.c_str(), d.at.line, d.at.column, Cp932ToUtf8(d.text).c_str());
}

void PrintCannotOpen(const std::string& source, int error) {
  std::fprintf(stderr, "%s: %s (%s)\n", LoadText(TextId::kCannotOpen), source.c_str(), std::strerror(error));
}

}  // namespace tsy::cli
