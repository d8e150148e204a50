// tsy lsp driven through its standard input and output as an editor drives
// it, with positions, ranges and lengths worked out by hand.
#include <gtest/gtest.h>

#include "lsp/lsp_client.h"

namespace tsy::lsp {
namespace {

json Range(int line, int start, int endLine, int end) {
  return {{"start", {{"line", line}, {"character", start}}}, {"end", {{"line", endLine}, {"character", end}}}};
}
json Range(int line, int start, int end) { return Range(line, start, line, end); }

std::string HoverText(const json& hover) {
  return hover.is_null() ? "" : hover["contents"]["value"].get<std::string>();
}

TEST(LspStartUp, AgreesOnUtf16UnlessTheEditorOffersUtf8) {
  LspClient plain;
  json result = plain.Initialize();
  EXPECT_EQ(result["capabilities"]["positionEncoding"], "utf-16");
  EXPECT_EQ(result["capabilities"]["textDocumentSync"]["change"], 1);
  EXPECT_EQ(result["capabilities"]["executeCommandProvider"]["commands"],
            json({"tessaly32.playFromCursor", "tessaly32.stop"}));

  LspClient offering;
  result = offering.Initialize({{"capabilities", {{"general", {{"positionEncodings", {"utf-16", "utf-8"}}}}}}});
  EXPECT_EQ(result["capabilities"]["positionEncoding"], "utf-8");
}

TEST(LspDiagnostics, StandAtTheCharacterTheCompilerNamesWithItsNumberAndText) {
  LspClient client;
  client.Initialize();
  // The octave fault is raised at the "c" after the number: line 2, column 5.
  json diagnostics = client.Open("1[c4 d8\n  o9c]");
  ASSERT_EQ(diagnostics.size(), 1u);
  EXPECT_EQ(diagnostics[0]["range"], Range(1, 4, 5));
  EXPECT_EQ(diagnostics[0]["code"], 3026);
  EXPECT_EQ(diagnostics[0]["message"], "オクターブ逸脱(9)！");
  EXPECT_EQ(diagnostics[0]["severity"], 1);

  // A change is compiled from the buffer: the fault is gone, and so are the diagnostics.
  client.Notify("textDocument/didChange", {{"textDocument", {{"uri", "file:///test.mus"}, {"version", 2}}},
                                           {"contentChanges", {{{"text", "1[c4 d8\n  o4c]"}}}}});
  json published = client.NextNotification("textDocument/publishDiagnostics")["params"];
  EXPECT_EQ(published["version"], 2);
  EXPECT_TRUE(published["diagnostics"].empty());

  client.Notify("textDocument/didClose", {{"textDocument", {{"uri", "file:///test.mus"}}}});
  EXPECT_TRUE(client.NextNotification("textDocument/publishDiagnostics")["params"]["diagnostics"].empty());
}

// The fault stands at column 15, after a quoted text holding two kanji and a
// character beyond the basic plane (two UTF-16 units, four UTF-8 bytes).
constexpr const char* kWideCharacters = "1[@com\"日本😀\" o9c]";

TEST(LspDiagnostics, CountCodeUnitsOfTheAgreedEncoding) {
  LspClient utf16;
  utf16.Initialize();
  EXPECT_EQ(utf16.Open(kWideCharacters)[0]["range"], Range(0, 15, 16));

  LspClient utf8;
  utf8.Initialize({{"capabilities", {{"general", {{"positionEncodings", {"utf-8"}}}}}}});
  EXPECT_EQ(utf8.Open(kWideCharacters)[0]["range"], Range(0, 21, 22));
  // A position inside the kanji's bytes falls on the kanji, inside the comment command.
  EXPECT_EQ(utf8.At("textDocument/hover", 0, 8)["range"], Range(0, 2, 18));
  EXPECT_NE(HoverText(utf8.At("textDocument/hover", 0, 21)).find("**note** `c`"), std::string::npos);
}

TEST(LspDiagnostics, ComeFromEveryTrackWithTheirTrack) {
  LspClient client;
  client.Initialize();
  json diagnostics = client.Open("1[c]\r\n2[c\r\nt5\r\nc]");
  ASSERT_EQ(diagnostics.size(), 1u);
  EXPECT_EQ(diagnostics[0]["code"], 3038);  // the tempo fault, at the "c" after the number
  EXPECT_EQ(diagnostics[0]["range"], Range(3, 0, 1));
  EXPECT_EQ(diagnostics[0]["data"]["track"], 2);
}

// l8 c d4. @trn c2 {ccc}4 c4/e/g r t120
//  2   5 7    11   16  19     26 29 31 33 35
constexpr const char* kLengths = "1[l8 c d4. @trn c2 {ccc}4 c4/e/g r t120]";

class LspHover : public testing::Test {
 protected:
  void SetUp() override {
    client.Initialize();
    client.Open(kLengths);
  }
  json Hover(int character) { return client.At("textDocument/hover", 0, character); }
  LspClient client;
};

TEST_F(LspHover, NoteShowsTheTicksItWasCompiledWithAndItsRange) {
  json hover = Hover(5);  // "c" under l8
  EXPECT_EQ(hover["range"], Range(0, 5, 6));
  EXPECT_EQ(HoverText(hover), "**note** `c` — o3c (note number 48)\n\n24 ticks = `8` (eighth note)");

  hover = Hover(8);  // the "4" of "d4.": the whole note construct
  EXPECT_EQ(hover["range"], Range(0, 7, 10));
  EXPECT_EQ(HoverText(hover), "**note** `d4.` — o3d (note number 50)\n\n72 ticks = `4.` (dotted quarter note)");

  EXPECT_EQ(HoverText(Hover(33)), "**rest** `r`\n\n24 ticks = `8` (eighth note)");
}

TEST_F(LspHover, OrnamentsGroupsAndChordsCountAsTheyPlay) {
  // The ornament's three 6-tick notes and the main note make the written half note.
  EXPECT_NE(HoverText(Hover(16)).find("96 ticks = `2` (half note)"), std::string::npos);
  // A quarter shared by three notes.
  EXPECT_NE(HoverText(Hover(20)).find("16 ticks = `12`"), std::string::npos);
  // A chord note after the first sounds for the chord's length.
  const std::string member = HoverText(Hover(29));
  EXPECT_NE(member.find("**chord note** `e` — o3e (note number 52)"), std::string::npos);
  EXPECT_NE(member.find("48 ticks"), std::string::npos);
}

TEST_F(LspHover, DefaultLengthAndCommandsSayWhatTheyDo) {
  json hover = Hover(2);
  EXPECT_EQ(hover["range"], Range(0, 2, 4));
  EXPECT_EQ(HoverText(hover), "**default length** `l8`\n\n24 ticks = `8` (eighth note)");

  hover = Hover(13);
  EXPECT_EQ(hover["range"], Range(0, 11, 15));
  EXPECT_NE(HoverText(hover).find("**@trn** — Ornament"), std::string::npos);

  hover = Hover(37);
  EXPECT_EQ(hover["range"], Range(0, 35, 39));
  EXPECT_EQ(HoverText(hover), "**t** — Tempo in quarter notes per minute\n\nValues: 12..992");

  EXPECT_TRUE(Hover(4).is_null());  // white space
  EXPECT_TRUE(Hover(0).is_null());  // the track list
}

TEST(LspHoverFaulty, NotesBeforeAFaultStillShowTheirLength) {
  LspClient client;
  client.Initialize({{"locale", "ja-JP"}});
  client.Open("1[c4 d8 o9c]\n2[e]");
  EXPECT_EQ(HoverText(client.At("textDocument/hover", 0, 5)),
            "**音符** `d8` — o3d（ノート番号 50）\n\n24 ティック = `8` (8分音符)");
  // Track 2 is never compiled: the compile stops at the fault.
  EXPECT_NE(HoverText(client.At("textDocument/hover", 1, 2)).find("未コンパイル"), std::string::npos);
}

// Line 2 uses $a and $b; line 4 uses the $a registered again on line 3.
constexpr const char* kSubstitutions = "$a[cde]\n$b[g]\n1[@qlA B A]\n$a[f]\n2[@qlA]";

TEST(LspDefinition, LeadsToTheLastRegistrationOfTheLetterBeforeIt) {
  LspClient client;
  client.Initialize();
  client.Open(kSubstitutions);
  json location = client.At("textDocument/definition", 2, 5);
  EXPECT_EQ(location["uri"], "file:///test.mus");
  EXPECT_EQ(location["range"], Range(0, 0, 3));
  EXPECT_EQ(client.At("textDocument/definition", 2, 7)["range"], Range(1, 0, 3));
  EXPECT_EQ(client.At("textDocument/definition", 4, 5)["range"], Range(3, 0, 3));
  EXPECT_TRUE(client.At("textDocument/definition", 2, 3).is_null());  // the "q" of @ql
  EXPECT_EQ(HoverText(client.At("textDocument/hover", 2, 5)), "**substitution letter** `A` → `cde`");
}

TEST(LspDocumentSymbols, ListTrackBlocksAndRegistrationsInOrder) {
  LspClient client;
  client.Initialize();
  client.Open("$a[cde]\n1,3-5[c\n  d]\n7[a|b]");
  json symbols =
      client.Request("textDocument/documentSymbol", {{"textDocument", {{"uri", "file:///test.mus"}}}})["result"];
  ASSERT_EQ(symbols.size(), 3u);
  EXPECT_EQ(symbols[0]["name"], "substitution $a");
  EXPECT_EQ(symbols[0]["range"], Range(0, 0, 7));
  EXPECT_EQ(symbols[0]["selectionRange"], Range(0, 0, 2));
  EXPECT_EQ(symbols[1]["name"], "track 1,3-5");
  EXPECT_EQ(symbols[1]["range"], Range(1, 0, 2, 4));
  EXPECT_EQ(symbols[1]["selectionRange"], Range(1, 0, 5));
  EXPECT_EQ(symbols[2]["name"], "track 7");
  EXPECT_EQ(symbols[2]["range"], Range(3, 0, 6));
}

TEST(LspCompletion, OffersTheAtCommandsAfterAnAt) {
  LspClient client;
  client.Initialize();
  client.Open("1[c @vo");
  json items = client.At("textDocument/completion", 0, 7);
  ASSERT_FALSE(items.empty());
  auto vol = std::find_if(items.begin(), items.end(), [](const json& item) { return item["label"] == "@vol"; });
  ASSERT_NE(vol, items.end());
  EXPECT_EQ((*vol)["textEdit"], json({{"range", Range(0, 5, 7)}, {"newText", "vol"}}));
  EXPECT_TRUE(client.At("textDocument/completion", 0, 3).empty());  // after "c ", no '@'
}

TEST(LspPlay, CommandsAnswerWithoutAnOutputToPlay) {
  LspClient client;
  client.Initialize();
  client.Open("1[o9c]");  // nothing compiled: nothing to play
  json answer = client.Request(
      "workspace/executeCommand",
      {{"command", "tessaly32.playFromCursor"},
       {"arguments",
        {{{"textDocument", {{"uri", "file:///test.mus"}}}, {"position", {{"line", 0}, {"character", 0}}}}}}});
  EXPECT_TRUE(answer["result"].is_null());
  EXPECT_EQ(client.NextNotification("window/showMessage")["params"]["message"], "Nothing to play: no track compiled");
  EXPECT_TRUE(client.Request("workspace/executeCommand", {{"command", "tessaly32.stop"}})["result"].is_null());
  EXPECT_EQ(client.Request("workspace/executeCommand", {{"command", "tessaly32.dance"}})["error"]["code"], -32602);
}

int ErrorCode(const json& answer) { return answer["error"]["code"].get<int>(); }

TEST(LspBadInput, IsAnsweredWithTheProtocolsErrorsAndTheServerGoesOn) {
  LspClient client;
  EXPECT_EQ(ErrorCode(client.Request("textDocument/hover", json::object())), -32002);  // before initialize
  client.Initialize();

  client.SendRaw("Content-Length: 5\r\n\r\n{bad}");
  EXPECT_EQ(ErrorCode(client.AnswerTo(nullptr)), -32700);
  client.SendRaw("Content-Length: twelve\r\n\r\n");
  EXPECT_EQ(client.AnswerTo(nullptr)["error"]["message"], "Content-Length is not a number: Content-Length: twelve");
  client.SendRaw("Content-Type: text/plain\r\n\r\n");
  EXPECT_EQ(client.AnswerTo(nullptr)["error"]["message"], "no Content-Length header");
  client.SendRaw("Content-Length: 3\r\n\r\n[1]");
  EXPECT_EQ(ErrorCode(client.AnswerTo(nullptr)), -32600);

  EXPECT_EQ(ErrorCode(client.Request("textDocument/formatting", json::object())), -32601);
  client.Notify("$/setTrace", {{"value", "off"}});  // an unknown notification is let be
  EXPECT_EQ(ErrorCode(client.Request("textDocument/hover", {{"position", "here"}})), -32602);
  const json noDocument = {{"textDocument", {{"uri", "file:///none.mus"}}},
                           {"position", {{"line", 0}, {"character", 0}}}};
  EXPECT_EQ(ErrorCode(client.Request("textDocument/hover", noDocument)), -32602);
}

TEST(LspBadInput, AFrameOfTheWrongLengthCostsOnlyItself) {
  LspClient client;
  client.Initialize();
  const std::string body = R"({"jsonrpc":"2.0","id":"short","method":"shutdown"})";
  // Too short: the cut body is no JSON, and its rest is skipped up to the next header.
  client.SendRaw("Content-Length: 10\r\n\r\n" + body);
  EXPECT_EQ(ErrorCode(client.AnswerTo(nullptr)), -32700);
  EXPECT_EQ(
      client.Request("textDocument/documentSymbol", {{"textDocument", {{"uri", "file:///none"}}}})["error"]["code"],
      -32602);
  // Too long: the next frame's header is found in the body and read again.
  const std::string next = R"({"jsonrpc":"2.0","id":"next","method":"textDocument/formatting"})";
  client.SendRaw("Content-Length: " + std::to_string(body.size() + 40) + "\r\n\r\n" + body);
  client.SendRaw("Content-Length: " + std::to_string(next.size()) + "\r\n\r\n" + next);
  EXPECT_EQ(ErrorCode(client.AnswerTo(nullptr)), -32700);
  EXPECT_EQ(ErrorCode(client.AnswerTo("next")), -32601);
}

TEST(LspLifecycle, ExitsWithZeroOnlyAfterShutdown) {
  {
    LspClient client;
    client.Initialize();
    EXPECT_TRUE(client.Request("shutdown", nullptr)["result"].is_null());
    EXPECT_EQ(ErrorCode(client.Request("textDocument/hover", json::object())), -32600);
    client.Notify("exit", nullptr);
    EXPECT_EQ(client.ExitCode(), 0);
  }
  {
    LspClient client;
    client.Initialize();
    client.Notify("exit", nullptr);
    EXPECT_EQ(client.ExitCode(), 1);
  }
  {
    LspClient client;
    client.Initialize();
    client.CloseInput();  // the editor went away
    EXPECT_EQ(client.ExitCode(), 1);
  }
}

}  // namespace
}  // namespace tsy::lsp
