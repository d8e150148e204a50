#include "lsp/message_framing.h"

#include <algorithm>
#include <cctype>

namespace tsy::lsp {
namespace {

constexpr std::string_view kLengthHeader = "content-length:";

std::string Lower(std::string_view text) {
  std::string out(text);
  std::transform(out.begin(), out.end(), out.begin(), [](unsigned char c) { return std::tolower(c); });
  return out;
}

// The value of a "Content-Length:" header found anywhere in `line` (so that
// bytes left before it by a frame cut short do not hide it). False when the
// line holds none; `fault` is set when it holds one with a bad value.
bool FindLength(const std::string& line, size_t& length, std::string& fault) {
  const size_t at = Lower(line).find(kLengthHeader);
  if (at == std::string::npos) return false;
  size_t i = at + kLengthHeader.size();
  while (i < line.size() && line[i] == ' ') ++i;
  size_t value = 0;
  const size_t digits = i;
  for (; i < line.size() && std::isdigit(static_cast<unsigned char>(line[i])); ++i) {
    value = value * 10 + static_cast<size_t>(line[i] - '0');
    if (value > kLargestMessage) {
      fault = "Content-Length beyond " + std::to_string(kLargestMessage) + " bytes";
      return true;
    }
  }
  while (i < line.size() && line[i] == ' ') ++i;
  if (i == digits || i != line.size()) fault = "Content-Length is not a number: " + line.substr(at);
  length = value;
  return true;
}

}  // namespace

void FrameReader::GiveBack(std::string_view bytes) {
  pending_ = std::string(bytes) + pending_.substr(pendingAt_);
  pendingAt_ = 0;
}

int FrameReader::Get() {
  if (pendingAt_ < pending_.size()) return static_cast<unsigned char>(pending_[pendingAt_++]);
  const int c = in_.sbumpc();
  return c == std::char_traits<char>::eof() ? -1 : c;
}

bool FrameReader::ReadLine(std::string& line) {
  line.clear();
  for (int c = Get(); c != '\n'; c = Get()) {
    if (c < 0) return !line.empty();
    if (line.size() < kLongestHeaderLine) line.push_back(static_cast<char>(c));
  }
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return true;
}

Frame FrameReader::Next() {
  bool haveLength = false;
  bool anyHeader = false;
  size_t length = 0;
  std::string fault;
  std::string line;
  while (ReadLine(line)) {
    if (line.empty()) {
      if (!anyHeader) continue;  // blank lines between frames
      if (fault.empty() && haveLength) return ReadBody(length);
      return {Frame::Kind::kBadHeader, {}, fault.empty() ? "no Content-Length header" : fault};
    }
    anyHeader = true;
    std::string lineFault;
    if (FindLength(line, length, lineFault)) {
      haveLength = true;
      fault = lineFault;
    }
  }
  return {};
}

Frame FrameReader::ReadBody(size_t length) {
  std::string body;
  body.reserve(std::min(length, size_t{1} << 20));
  while (body.size() < length) {
    const int c = Get();
    if (c < 0) return {};
    body.push_back(static_cast<char>(c));
  }
  Frame frame;
  frame.message = nlohmann::json::parse(body, nullptr, false);
  if (!frame.message.is_discarded()) {
    frame.kind = Frame::Kind::kMessage;
    return frame;
  }
  // A length too small cuts the body and leaves the rest as junk before the
  // next frame; a length too large swallows the next frame's headers. Those
  // go back to be read again.
  const size_t next = Lower(body).find(kLengthHeader);
  if (next != std::string::npos) GiveBack(std::string_view(body).substr(next));
  frame.kind = Frame::Kind::kBadJson;
  frame.message = nullptr;
  frame.fault = "the message is no JSON";
  return frame;
}

void WriteFrame(std::ostream& out, const nlohmann::json& message) {
  const std::string body = message.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
  out << "Content-Length: " << body.size() << "\r\n\r\n" << body;
  out.flush();
}

}  // namespace tsy::lsp
