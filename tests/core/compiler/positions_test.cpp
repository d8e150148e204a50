// Where a diagnostic was raised, as an editor shows it: the line and column
// of the character the line prefix speaks of, and the track of the pass.
#include <gtest/gtest.h>

#include <string>

#include "core/compiler/compile_driver.h"
#include "platform/text_codec.h"
#include "source_position_printer.h"
#include "text_id_printer.h"

namespace tsy {
namespace {

TEST(DiagnosticPositions, NameTheCharacterWhereTheFaultWasFound) {
  const std::string longCopyright = "%copyright\"" + std::string(81, 'x') + "\"1[c]";
  struct Case {
    std::string source;
    SourcePosition at;
  } const cases[] = {
      {"1[o9c]", {1, 5}},                                         // a bad number: the character after it ...
      {"1[t5\nc]", {2, 1}},                                       // ... which may stand on the next line
      {"1[t5", {1, 5}},                                           // past the end: just after the last character
      {"1[ c\t x]", {1, 7}},                                      // spaces and tabs are characters of the line
      {"1[c\r\n\r\n  x]", {3, 3}},                                // so are carriage returns, before the line feed
      {"1-2-3[c]", {1, 4}},                                       // top level: the second "-"
      {"$a\nc]", {2, 1}},                                         // the character that should have been "["
      {longCopyright, {1, 94}},                                   // the character after the closing quote
      {"1[@com\"\x83\x41\x83\x43\"x]", {1, 11}},                  // a double-byte character is one
      {"1[@com\"\xE3\x82\xA2\xE3\x82\xA4\"x]", {1, 11}},          // so is a character of a UTF-8 source
      {"; \xE3\x82\xA2\n1[@com\"\xF0\x9F\x8E\xB5\"x]", {2, 10}},  // ... even one that CP932 lacks
      {"$a[cx]\n\n1[@ql\n  A]", {4, 3}},                          // inserted text raises at its letter
      {"$a[cx]\n1[@ql{\n  A}]", {3, 3}},                          // also when a group expands it ahead
  };
  for (const Case& c : cases) {
    const CompileResult r = CompileSource(c.source);
    ASSERT_FALSE(r.diagnostics.empty()) << c.source;
    EXPECT_EQ(r.diagnostics.front().at, c.at) << c.source;
  }
}

TEST(DiagnosticPositions, RecordsCarryTheTrackAndTheBareMessage) {
  const CompileResult r = CompileSource("1[c]2[d]\n3[c\n\n  o9x]");
  ASSERT_EQ(r.diagnostics.size(), 1u);
  const DiagnosticRecord& d = r.diagnostics[0];
  EXPECT_EQ(d.id, TextId::kOctaveOutOfRange);
  EXPECT_EQ(d.track, 3);
  EXPECT_EQ(d.at, (SourcePosition{4, 5}));
  EXPECT_EQ(Cp932ToUtf8(d.text), "オクターブ逸脱(9)！");
  EXPECT_EQ(d.file, "");  // CompileSource has no file; CompileFile names it
}

TEST(DiagnosticPositions, OverflowNamesTheCommandThatPassedTheLimit) {
  // Track 2 passes 16,127 bytes at its 1,145th note (see the size limit).
  const std::string notes(2000, 'c');
  const CompileResult r = CompileSource("1[" + notes + "]\n2[" + notes + "]");
  ASSERT_EQ(r.diagnostics.size(), 1u);
  EXPECT_EQ(r.diagnostics[0].id, TextId::kDataOverflow);
  EXPECT_EQ(r.diagnostics[0].track, 2);
  EXPECT_EQ(r.diagnostics[0].at, (SourcePosition{2, 2 + 1145}));
}

}  // namespace
}  // namespace tsy
