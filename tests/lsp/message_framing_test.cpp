// The reader of frames, on streams a broken client might send.
#include <gtest/gtest.h>

#include <sstream>

#include "lsp/message_framing.h"

namespace tsy::lsp {
namespace {

std::string Framed(const std::string& body) {
  return "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body;
}

std::vector<Frame::Kind> KindsOf(const std::string& stream) {
  std::stringbuf in(stream);
  FrameReader reader(in);
  std::vector<Frame::Kind> kinds;
  for (Frame frame = reader.Next(); frame.kind != Frame::Kind::kEnd; frame = reader.Next()) kinds.push_back(frame.kind);
  return kinds;
}

using K = Frame::Kind;

TEST(FrameReader, ReadsFramesWithOtherHeadersAndBareLineFeeds) {
  std::stringbuf in("Content-Type: application/vscode-jsonrpc; charset=utf-8\r\ncontent-length: 7\r\n\r\n{\"a\":1}" +
                    std::string("Content-Length: 2\n\n[]"));
  FrameReader reader(in);
  EXPECT_EQ(reader.Next().message, nlohmann::json({{"a", 1}}));
  EXPECT_EQ(reader.Next().message, nlohmann::json::array());
  EXPECT_EQ(reader.Next().kind, K::kEnd);
}

TEST(FrameReader, FindsTheNextFrameAfterEveryKindOfBadFrame) {
  const std::string good = Framed("{}");
  EXPECT_EQ(KindsOf("Content-Length: 3\r\n\r\n{x}" + good), (std::vector{K::kBadJson, K::kMessage}));
  EXPECT_EQ(KindsOf("Content-Length: x\r\n\r\n" + good), (std::vector{K::kBadHeader, K::kMessage}));
  EXPECT_EQ(KindsOf("Content-Length: 99999999999\r\n\r\n" + good), (std::vector{K::kBadHeader, K::kMessage}));
  EXPECT_EQ(KindsOf("X: y\r\n\r\n" + good), (std::vector{K::kBadHeader, K::kMessage}));
  // Too short: the rest of the body runs into the next header line.
  EXPECT_EQ(KindsOf("Content-Length: 3\r\n\r\n{\"a\":1}" + good), (std::vector{K::kBadJson, K::kMessage}));
  // Too long: the next frame is given back.
  EXPECT_EQ(KindsOf("Content-Length: 30\r\n\r\n{}" + good + good + good),
            (std::vector{K::kBadJson, K::kMessage, K::kMessage, K::kMessage}));
  // A body cut off by the end of the stream, and a header line without end.
  EXPECT_EQ(KindsOf("Content-Length: 10\r\n\r\n{}"), std::vector<K>{});
  EXPECT_EQ(KindsOf(std::string(100000, 'x')), std::vector<K>{});
}

TEST(WriteFrame, WritesTheLengthOfTheUtf8Body) {
  std::ostringstream out;
  WriteFrame(out, {{"m", "日本"}});
  EXPECT_EQ(out.str(), "Content-Length: 14\r\n\r\n{\"m\":\"日本\"}");
}

}  // namespace
}  // namespace tsy::lsp
