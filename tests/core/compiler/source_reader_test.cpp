#include "core/compiler/source_reader.h"

#include <gtest/gtest.h>

#include <cerrno>

#include "source_position_printer.h"

namespace tsy {
namespace {

using namespace std::literals;

struct Condensed {
  std::string text;
  std::vector<SourcePosition> positions;  // of every byte of text
};

Condensed Condense(std::string_view source) {
  const CondensedSource condensed = CondenseSource(source);
  Condensed c;
  for (size_t i = 0; i < condensed.text.size(); ++i) {
    c.text.push_back(condensed.text[i]);
    c.positions.push_back(condensed.lines.PositionOf(condensed.text.OriginAt(i)));
  }
  return c;
}

TEST(Condensing, DropsSpaceAndCommentsKeepsQuotedRuns) {
  struct Case {
    std::string_view source, text;
  } cases[] = {
      {"1[cd;e]", "1[cd"},
      {"1 [ c\td ]\r\n", "1[cd]"},
      {"1[@com\"a; b\" c]", "1[@com\"a; b\"c]"},
      {"1[c\0d]\n2[e]"sv, "1[c2[e]"},                                        // a zero byte ends its line
      {"%copyright\"open ended\r\n1[c]", "%copyright\"open ended\r\n1[c]"},  // the run ends with the line
      {"; only a comment\n\n", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(Condense(c.source).text, c.text) << c.source;
}

TEST(Condensing, EveryCharacterKeepsItsLineAndColumn) {
  Condensed c = Condense("1[c\n\n4\r\n\r\n \td]");
  EXPECT_EQ(c.text, "1[c4d]");
  EXPECT_EQ(c.positions, (std::vector<SourcePosition>{{1, 1}, {1, 2}, {1, 3}, {3, 1}, {5, 3}, {5, 4}}));
  // A double-byte character is one column, both of its bytes in it; so is
  // a character of a comment before the next line.
  c = Condense(
      "\x83\x41 c;\x83\x41\n\x83\x41"
      "d");
  EXPECT_EQ(c.text,
            "\x83\x41"
            "c\x83\x41"
            "d");
  EXPECT_EQ(c.positions, (std::vector<SourcePosition>{{1, 1}, {1, 1}, {1, 3}, {2, 1}, {2, 1}, {2, 2}}));
}

TEST(Condensing, EmptyLinesDoNotEndTheSource) {
  EXPECT_EQ(Condense("1[c]\n\n2[d]\n").text, "1[c]2[d]");
  EXPECT_EQ(Condense("1[c]\r\n\r\n2[d]\r\n").text, "1[c]2[d]");
}

TEST(Condensing, DoubleByteCharactersPassUnchanged) {
  // "ソ" ends in 0x5C and "ゼ" in 0x5B; they are copied as they stand.
  EXPECT_EQ(Condense("1[@com\"\x83\x5C \x83\x5B\"]").text, "1[@com\"\x83\x5C \x83\x5B\"]");
}

TEST(SourceEncoding, Utf8SourcesBecomeCp932) {
  EXPECT_EQ(SourceToCp932("\xEF\xBB\xBF"
                          "1[c]"),
            "1[c]");                                                     // BOM dropped
  EXPECT_EQ(SourceToCp932("; \xE3\x82\xA2\n1[c]"), "; \x83\x41\n1[c]");  // ア
  EXPECT_EQ(SourceToCp932("; \x83\x41\n1[c]"), "; \x83\x41\n1[c]");      // CP932 as is
  EXPECT_EQ(SourceToCp932("1[c]"), "1[c]");
}

TEST(SourceFile, ReportsWhyItCannotBeRead) {
  std::string bytes = "stale";
  const FileResult missing = ReadSourceFile("/nonexistent/dir/x.mus", bytes);
  EXPECT_EQ(missing.status, FileStatus::kCannotOpen);
  EXPECT_EQ(missing.error, ENOENT);
  EXPECT_TRUE(bytes.empty());
  EXPECT_EQ(ReadSourceFile(TSY_SOURCE_DIR "/src", bytes).error, EISDIR);
}

}  // namespace
}  // namespace tsy
