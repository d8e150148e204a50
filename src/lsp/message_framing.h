#pragma once
// The framing of JSON-RPC messages on a byte stream, as editors speak it:
// header lines ("Content-Length: N", others ignored) ended by an empty line,
// then N bytes of JSON. A reader that never gives up on bad input: a frame
// without a usable length, or whose body is no JSON, is reported and the
// reader finds the next header; a body cut short by a too-small length gives
// the rest back to be read as the start of the next frame.

#include <cstddef>
#include <nlohmann/json.hpp>
#include <ostream>
#include <streambuf>
#include <string>

namespace tsy::lsp {

constexpr size_t kLargestMessage = size_t{64} << 20;  // far beyond any source; a larger length is refused
constexpr size_t kLongestHeaderLine = 8192;           // a longer line is no header: cut and skipped

struct Frame {
  enum class Kind {
    kMessage,    // `message` holds the parsed body
    kBadHeader,  // the headers held no usable Content-Length (`fault` says why)
    kBadJson,    // the body is no JSON (`fault` says why)
    kEnd,        // the stream ended
  };
  Kind kind = Kind::kEnd;
  nlohmann::json message;
  std::string fault;
};

class FrameReader {
 public:
  explicit FrameReader(std::streambuf& in) : in_(in) {}

  // Reads up to the end of the next frame.
  Frame Next();

 private:
  // The next header line without its line end; false at the end of the stream.
  bool ReadLine(std::string& line);
  int Get();
  // Takes `bytes` back, to be read again before the stream.
  void GiveBack(std::string_view bytes);
  Frame ReadBody(size_t length);

  std::streambuf& in_;
  std::string pending_;  // bytes given back, read from pendingAt_ on before the stream
  size_t pendingAt_ = 0;
};

// Writes `message` as one frame and flushes it.
void WriteFrame(std::ostream& out, const nlohmann::json& message);

}  // namespace tsy::lsp
