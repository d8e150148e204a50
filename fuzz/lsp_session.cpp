// An editor may send anything: after initialize, any bytes on the server's
// input must be answered or let be without a crash, and the server must end
// when its input ends. (The play command is left out: it opens an output.)
#include <cstdint>
#include <sstream>
#include <string>
#include <string_view>

#include "lsp/server.h"

namespace {

std::string Framed(const std::string& body) {
  return "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  if (input.find("playFromCursor") != std::string_view::npos) return 0;
  std::stringbuf in(Framed(R"({"jsonrpc":"2.0","id":0,"method":"initialize","params":{}})") + std::string(input));
  std::ostringstream out;
  tsy::lsp::RunServer(in, out, {});
  return 0;
}
