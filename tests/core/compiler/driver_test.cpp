// The compile driver as a user meets it: which tracks a source fills, the
// image bytes, and the message text of the result box.
#include "core/compiler/compile_driver.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "core/compiler/compile_unit.h"
#include "core/compiler/substitution.h"
#include "core/image/image_layout.h"
#include "platform/text_codec.h"
#include "track_compile.h"

namespace tsy {
namespace {

using test::Bytes;
using test::TrackEvents;

// A quarter note c (48), d (50), e (52) in the default octave, gate 7.
const Bytes kC = {0x30, 0x03, 0x07, 0x00, 0x30};
const Bytes kD = {0x32, 0x03, 0x07, 0x00, 0x30};
const Bytes kE = {0x34, 0x03, 0x07, 0x00, 0x30};

Bytes Join(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

// Track k's stream for every k, for comparing which tracks a source fills.
std::vector<Bytes> AllTracks(const CompileResult& r) {
  std::vector<Bytes> tracks;
  for (int k = 1; k <= kTrackCount; ++k) tracks.push_back(TrackEvents(r, k));
  return tracks;
}

std::vector<Bytes> Tracks(std::initializer_list<std::pair<int, Bytes>> filled) {
  std::vector<Bytes> tracks(kTrackCount);
  for (const auto& [k, events] : filled) tracks[k - 1] = events;
  return tracks;
}

std::string Message(const CompileResult& r) { return Cp932ToUtf8(r.messageText); }

// The summary of tracks `from`..48 with nothing in them.
std::string EmptyEntries(int from) {
  std::string out;
  char entry[32];
  for (int k = from; k <= 48; ++k) {
    std::snprintf(entry, sizeof entry, "%02d:-------      %s", k, k % 4 == 0 ? "\n" : "");
    out += entry;
  }
  return out;
}

TEST(TrackLists, SelectTracks) {
  struct Case {
    const char* source;
    std::vector<Bytes> tracks;
  } cases[] = {
      {"1[cde]", Tracks({{1, Join({kC, kD, kE})}})},
      {"1-3[c]", Tracks({{1, kC}, {2, kC}, {3, kC}})},
      {"3-1[c]", Tracks({{1, kC}, {2, kC}, {3, kC}})},
      {"1,3-5[c]", Tracks({{1, kC}, {3, kC}, {4, kC}, {5, kC}})},
      {"2[c]1[d]2[e]", Tracks({{1, kD}, {2, Join({kC, kE})}})},
      {"0[c]49[c]48[d]", Tracks({{48, kD}})},             // numbers outside 1..48 select nothing
      {"1x[c]", Tracks({})},                              // any other character drops the list
      {"2[c|d|e]", Tracks({{2, kC}, {3, kD}, {4, kE}})},  // segments count on from the number
      {"[c|d|e]", Tracks({{1, kD}, {2, kE}})},            // ... or from 0 without a list
      {"[cde]", Tracks({})},
      {"[\"|\"|d]", Tracks({{1, kD}})},  // skipping honours quotes
      {"48[c|\"]1[e]\"]", Tracks({{48, kC}})},
  };
  for (const Case& c : cases) {
    CompileResult r = CompileSource(c.source);
    EXPECT_TRUE(r.errorFree()) << c.source << "\n" << Message(r);
    EXPECT_EQ(AllTracks(r), c.tracks) << c.source;
  }
}

TEST(TrackLists, BlockWithoutAnyTrackIsABareHeader) {
  CompileResult r = CompileSource("; nothing but a comment\n[cde]");
  EXPECT_EQ(r.imageLength(), 403u);
  EXPECT_EQ(Message(r), EmptyEntries(1));
}

TEST(TrackLists, SecondDashIsAFaultInTheFirstPass) {
  CompileResult r = CompileSource("1-2-3[c]");
  EXPECT_EQ(Message(r), "\nLine.   1: トラック指定が異常！\nBreak-01:-------      ");
  EXPECT_EQ(r.imageLength(), 403u);
}

TEST(TrackLists, BarInAListedBlockFailsInTheFirstTrackItSkips) {
  CompileResult r = CompileSource("1,2[c|d]");
  EXPECT_EQ(AllTracks(r), Tracks({{1, kC}, {2, kC}}));
  EXPECT_EQ(Message(r),
            "01:   0.048      02:   0.048      \nLine.   1: '|' が単一ブロック以外に混入！\n"
            "Break-03:-------      ");
}

TEST(Summary, GridOfFourTracksALine) {
  CompileResult r = CompileSource("1[cde]6[cccc cccc c]");
  EXPECT_EQ(Message(r),
            "01:   0.144      02:-------      03:-------      04:-------      \n"
            "05:-------      06:   2.048      " +
                EmptyEntries(7).substr(0));
  EXPECT_TRUE(r.errorFree());
}

TEST(Summary, FaultInTrackThreeEndsWithItsBreakEntry) {
  CompileResult r = CompileSource("1[c]2[d]\n3[c\n\n  x]4[e]");
  EXPECT_EQ(Message(r), "01:   0.048      02:   0.048      \nLine.   4: 理解不能\nBreak-03:   0.048      ");
  EXPECT_EQ(AllTracks(r), Tracks({{1, kC}, {2, kD}}));  // the tracks before the fault stay
  ASSERT_EQ(r.diagnostics.size(), 1u);
  EXPECT_EQ(r.diagnostics[0].at.line, 4u);
  EXPECT_EQ(r.diagnostics[0].id, TextId::kNotUnderstood);
}

TEST(Comments, CommentsAndQuotedRunsWhenCondensing) {
  EXPECT_EQ(AllTracks(CompileSource("1[cd;e]\n]")), Tracks({{1, Join({kC, kD})}}));
  EXPECT_EQ(AllTracks(CompileSource("; 1[e]\n1[c d ;x\n e]")), Tracks({{1, Join({kC, kD, kE})}}));
}

TEST(Directives, SetTheHeaderFlags) {
  struct Case {
    const char* source;
    uint8_t flags;
  } cases[] = {
      {"%myinitspace 1[c]", 0x01},
      {"%MYINITSPACE 1[c]", 0x00},  // compared case-sensitively
      {"%copyright\"(c) 2026 us\"", 0x02},
      {"%copyright%myinitspace", 0x03},
      {"%x1[c]", 0x00},  // "%" and the character after it are skipped
  };
  for (const Case& c : cases) {
    CompileResult r = CompileSource(c.source);
    EXPECT_TRUE(r.errorFree()) << c.source;
    EXPECT_EQ(r.image[390], c.flags) << c.source;
  }
  EXPECT_EQ(AllTracks(CompileSource("%1[c]")), Tracks({}));
}

TEST(Directives, CopyrightTextUpToEightyCharacters) {
  const std::string eighty(80, 'x');
  EXPECT_TRUE(CompileSource("%copyright\"" + eighty + "\"1[c]").errorFree());
  CompileResult r = CompileSource("%copyright\"" + eighty + "y\"\n1[cd]");
  // Reported at the character after the closing quote; the pass stops after the next command.
  EXPECT_EQ(Message(r), "\nLine.   2: コピーライト文字数逸脱！\nBreak-01:   0.048      ");
  EXPECT_EQ(r.imageLength(), 403u);
}

TEST(Substitution, LettersExpandOnlyAfterQl) {
  const Bytes cde = Join({kC, kD, kE});
  EXPECT_EQ(AllTracks(CompileSource("$a[cde]1[@qlA]")), Tracks({{1, cde}}));
  EXPECT_EQ(AllTracks(CompileSource("$A[CDE]1[@qlA]")), Tracks({{1, cde}}));                          // bodies fold
  EXPECT_EQ(AllTracks(CompileSource("$a[cde]1[A]")), Tracks({{1, {0x39, 0x03, 0x07, 0x00, 0x30}}}));  // the note a
  EXPECT_EQ(AllTracks(CompileSource("$a[cde]1[@qlA@qxA]")), Tracks({{1, Join({cde, {0x39, 0x03, 0x07, 0x00, 0x30}})}}));
  // An expansion stays in the text: the next pass compiles what it left.
  EXPECT_EQ(AllTracks(CompileSource("$a[c]1-2[@qlA]")), Tracks({{1, kC}, {2, kC}}));
}

TEST(Substitution, Arguments) {
  const Bytes c8 = {0x30, 0x03, 0x07, 0x00, 0x18};
  const Bytes e4 = kE;
  const Bytes e = kE;
  struct Case {
    const char* source;
    Bytes events;
  } cases[] = {
      {"$p[c\\1e\\2]1[@qlP8,4]", Join({c8, e4})}, {"$p[c\\1e\\2]1[@qlP8]", Join({c8, e})},
      {"$p[c\\1e\\2]1[@qlP8,]", Join({c8, e})},  // a trailing empty argument does not count
      {"$p[c\\2e\\1]1[@qlP,8]", Join({c8, e})},  // an empty one between commas does
      {"$p[c\\e\\9]1[@qlP8]", Join({kC, e})},    // "\" alone and missing arguments vanish
      {"$p[\\1\\1]1[@qlPc]", Join({kC})},        // the list ends at the first other character
  };
  for (const Case& c : cases) {
    CompileResult r = CompileSource(c.source);
    EXPECT_TRUE(r.errorFree()) << c.source << Message(r);
    EXPECT_EQ(TrackEvents(r, 1), c.events) << c.source;
  }
  // An argument is cut to 63 characters: of "0…096" (64 characters) "0…09" stays.
  const CompileResult cut = CompileSource("$p[c=\\1]1[@qlP" + std::string(62, '0') + "96]");
  EXPECT_EQ(TrackEvents(cut, 1), Bytes({0x30, 0x03, 0x07, 0x00, 0x09})) << Message(cut);
}

TEST(Substitution, Faults) {
  struct Case {
    std::string source;
    std::string message;
  } cases[] = {
      {"1[@qlB]", "\nLine.   1: 置換対象が見つからない(B)！\nBreak-01:-------      "},
      {"1[c]$b[c]\n$a\nc]", "\nLine.   3: 一文字置換文字登録対象外！\nBreak-01:   0.048      "},
      {"$a[cde", "\nLine.   1: 一文字置換文字登録文字数超過！\nBreak-01:-------      "},
      {"$a[" + std::string(1023, 'c') + "]", "\nLine.   1: 一文字置換文字登録文字数超過！\nBreak-01:-------      "},
  };
  for (const Case& c : cases) EXPECT_EQ(Message(CompileSource(c.source)), c.message) << c.source;
  EXPECT_TRUE(CompileSource("$a[" + std::string(1022, 'c') + "]").errorFree());
  // A registration is known only after it, in every pass.
  EXPECT_FALSE(CompileSource("1[@qlA]$a[c]").errorFree());
  EXPECT_EQ(AllTracks(CompileSource("$1[c]2[d]")), Tracks({{2, kD}}));  // "$" without a letter
}

TEST(Substitution, ExpansionStopsAtItsBound) {
  // As it was reported: a million letters, each standing for 1,022
  // characters that write nothing ("l4" 511 times). Expansions may add at
  // most kExpansionRoom characters to the text; the letter that would pass
  // that stops the track with the size-limit fault.
  std::string nothing;
  for (int i = 0; i < 511; ++i) nothing += "l4";
  const CompileResult r = CompileSource("$a[" + nothing + "]1[@ql" + std::string(1000000, 'A') + "c]");
  const uint32_t expanded = SubstitutionTable::kExpansionRoom / 1021;  // letters that fit
  ASSERT_EQ(r.diagnostics.size(), 1u);
  EXPECT_EQ(r.diagnostics[0].id, TextId::kDataOverflow);
  EXPECT_EQ(r.diagnostics[0].at.column, 1032 + expanded);  // the letters start in column 1,032
  EXPECT_EQ(Message(r), "データオーバーフロー！\nBreak-01:-------      ");
  EXPECT_EQ(r.imageLength(), 403u);
  // Letters standing for nothing shrink the text, however many there are.
  EXPECT_EQ(TrackEvents(CompileSource("$a[]1[@ql" + std::string(100000, 'A') + "c]"), 1), kC);
}

TEST(LineNumbers, FollowTheSourceAcrossLinesAndExpansions) {
  struct Case {
    const char* source;
    uint32_t line;
  } cases[] = {
      {"1[c\nc\n\n  x]", 4},
      {"1[c\r\n\r\nc\r\n\r\nx]", 5},
      {"$a[cx]\n\n1[@ql\nA]", 4},                           // inserted characters carry the letter's line
      {"\xEF\xBB\xBF; \xE3\x82\xA2\xE3\x82\xA4\n1[x]", 2},  // a UTF-8 source with a BOM
  };
  for (const Case& c : cases) {
    CompileResult r = CompileSource(c.source);
    ASSERT_EQ(r.diagnostics.size(), 1u) << c.source;
    EXPECT_EQ(r.diagnostics[0].at.line, c.line) << c.source;
  }
}

TEST(DoubleByteText, TrailBytesAreNeverTakenForSyntax) {
  // "ゼ" is 83 5B: its second byte is "[", which must not open a block.
  EXPECT_EQ(AllTracks(CompileSource("\x83\x5B"
                                    "1[c]")),
            Tracks({{1, kC}}));
  EXPECT_EQ(AllTracks(CompileSource("\xE3\x82\xBC"
                                    "1[c]")),
            Tracks({{1, kC}}));  // the same, in UTF-8
}

TEST(DoubleByteText, ReachesTheImageIntactThroughSubstitutionBodies) {
  // "アイ" is 83 41 83 43 and "ソ" 83 5C: second bytes that look like "A", "C"
  // and "\" are neither folded nor taken for an argument reference.
  const Bytes comment = {0xFA, 0x83, 0x41, 0x83, 0x43, 0x83, 0x5C, 0x00};
  EXPECT_EQ(TrackEvents(CompileSource("1[@com\"\x83\x41\x83\x43\x83\x5C\"]"), 1), comment);
  EXPECT_EQ(TrackEvents(CompileSource("$a[@com\"\x83\x41\x83\x43\x83\x5C\"]1[@qlA]"), 1), comment);
  // The same comment written in UTF-8 is stored in CP932.
  EXPECT_EQ(TrackEvents(CompileSource("1[@com\"\xE3\x82\xA2\xE3\x82\xA4\xE3\x82\xBD\"]"), 1), comment);
}

TEST(SizeLimit, OverflowKeepsTheTracksBefore) {
  const std::string notes(2000, 'c');
  CompileResult r = CompileSource("1[" + notes + "]2[" + notes + "]");
  ASSERT_FALSE(r.errorFree());
  EXPECT_EQ(r.imageLength(), 403u + 5 * 2000 + 4);
  EXPECT_EQ(TrackEvents(r, 1).size(), 5u * 2000);
  EXPECT_EQ(TrackEvents(r, 2).size(), 0u);
  // Overflows as soon as the track and the image pass 16,127 bytes: at note 1,145.
  EXPECT_EQ(Message(r), "01: 500.000      データオーバーフロー！\nBreak-02: 286.048      ");
}

TEST(MessageText, NeverGrowsBeyond1023Bytes) {
  // Each "|" of a skipped multi-track block adds one kBarOutsideSingleBlock.
  CompileResult r = CompileSource("1,2[c" + std::string(200, '|') + "]");
  EXPECT_EQ(r.messageText.size(), 1023u);
  EXPECT_EQ(r.diagnostics.size(), 200u);  // the list keeps them all
}

TEST(CompileFile, UnreadableSourceLeavesTheBufferAlone) {
  std::vector<uint8_t> buffer(kObjectBufferSize, 0xAA);
  CompileResult r = CompileFile("/nonexistent/piece.mus", buffer.data());
  EXPECT_FALSE(r.opened);
  EXPECT_EQ(r.imageLength(), 0u);
  EXPECT_EQ(buffer[0], 0xAA);
}

TEST(CompileFile, ImageGoesToTheObjectBuffer) {
  const std::string path = testing::TempDir() + "driver_test.mus";
  std::FILE* f = std::fopen(path.c_str(), "wb");
  ASSERT_TRUE(f);
  std::fputs("1[c]\n2[x]\n", f);
  std::fclose(f);
  std::vector<uint8_t> buffer(kObjectBufferSize, 0xAA);
  CompileResult r = CompileFile(path, buffer.data());
  std::remove(path.c_str());
  EXPECT_EQ(r.imageLength(), 403u + 9);  // track 1 only: the fault in track 2 keeps it
  ASSERT_EQ(r.diagnostics.size(), 1u);
  EXPECT_EQ(r.diagnostics[0].file, path);
  EXPECT_EQ(r.diagnostics[0].at.column, 3u);
  EXPECT_EQ(Bytes(buffer.begin(), buffer.begin() + r.image.size()), r.image);
  EXPECT_EQ(buffer[r.image.size()], 0xAA);
}

}  // namespace
}  // namespace tsy
