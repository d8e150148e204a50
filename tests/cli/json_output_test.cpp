// tsy compile --json and tsy dump --json: one JSON document on stdout, read
// back by a JSON parser, with the exit codes of the plain commands.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "tsy_run.h"

namespace tsy::cli {
namespace {

using json = nlohmann::json;

TEST(TsyCompileJson, GivesTheTracksAndEachDiagnosticsLineColumnTrackAndCode) {
  const ScratchFolder folder;
  // Track 1 compiles; track 2 faults at the "c" after the octave number: line 3, column 5.
  WriteFile(folder / "piece.mus", "1[c1 c2]\n2[c\n  o9c]\n");
  TsyRun run = RunTsy(folder, "compile piece.mus --json");
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.err, "piece.mus:3:5: オクターブ逸脱(9)！\n");  // stderr as without --json
  const json result = json::parse(run.out);
  EXPECT_EQ(result, json::parse(R"({
    "file": "piece.mus", "imageLength": 417,
    "tracks": [{"track": 1, "ticks": 288, "position": "1.096"}],
    "diagnostics": [{"file": "piece.mus", "line": 3, "column": 5, "track": 2, "code": 3026,
                     "message": "オクターブ逸脱(9)！"}]})"));
  // The keys stand in the documented order.
  EXPECT_LT(run.out.find("\"file\""), run.out.find("\"imageLength\""));
  EXPECT_LT(run.out.find("\"tracks\""), run.out.find("\"diagnostics\""));
  EXPECT_EQ(ReadFile(folder / "piece.emd").size(), 403u + 5 + 5 + 4);  // the image is still written
}

TEST(TsyCompileJson, CleanCompileIsExitZeroWithNoDiagnosticsAndUnreadableSourceExitTwo) {
  const ScratchFolder folder;
  WriteFile(folder / "piece.mus", "3[c]");
  TsyRun run = RunTsy(folder, "compile piece.mus --json");
  EXPECT_EQ(run.exitCode, 0);
  const json result = json::parse(run.out);
  EXPECT_EQ(result["tracks"], json::parse(R"([{"track": 3, "ticks": 48, "position": "0.048"}])"));
  EXPECT_TRUE(result["diagnostics"].empty());

  run = RunTsy(folder, "compile missing.mus --json");
  EXPECT_EQ(run.exitCode, 2);
  EXPECT_EQ(run.out, "");
}

TEST(TsyDumpJson, ListsTheHeaderAndEveryEventWithItsSourcePosition) {
  const ScratchFolder folder;
  WriteFile(folder / "piece.mus", "1[t120\n c4/e]");
  TsyRun run = RunTsy(folder, "dump piece.mus --json");
  ASSERT_EQ(run.exitCode, 0) << run.err;
  json dump = json::parse(run.out);
  EXPECT_EQ(dump["source"], "piece.mus");
  EXPECT_EQ(dump["header"]["version"], 23);
  EXPECT_EQ(dump["header"]["imageLength"], 403 + 3 + 1 + 5 + 1 + 4);
  ASSERT_EQ(dump["tracks"].size(), 1u);
  const json& events = dump["tracks"][0]["events"];
  ASSERT_EQ(events.size(), 5u);
  EXPECT_EQ(events[0], json::parse(R"({"tick": 0, "offset": 403, "bytes": [240, 120, 0], "name": "tempo",
                                       "operands": {"value": 120}, "line": 1, "column": 3})"));
  EXPECT_EQ(events[2]["name"], "note");
  EXPECT_EQ(events[2]["operands"], json::parse(R"({"note": 48, "pitch": "o3c", "ticks": 48, "gate": 7,
                                                   "flags": ["attack", "release"]})"));
  EXPECT_EQ(events[2]["line"], 2);
  EXPECT_EQ(events[2]["column"], 2);
  EXPECT_EQ(events[3]["name"], "chord note");
  EXPECT_EQ(events[3]["column"], 5);
  EXPECT_EQ(events[4]["name"], "end");
  EXPECT_FALSE(events[4].contains("line"));
}

TEST(TsyDumpJson, AnImageTakesPositionsOnlyFromASourceBesideItThatCompilesToIt) {
  const ScratchFolder folder;
  WriteFile(folder / "piece.mus", "1[c]");
  ASSERT_EQ(RunTsy(folder, "compile piece.mus").exitCode, 0);
  json dump = json::parse(RunTsy(folder, "dump piece.emd --json").out);
  EXPECT_EQ(dump["source"], "piece.mus");
  EXPECT_EQ(dump["tracks"][0]["events"][0]["column"], 3);

  WriteFile(folder / "piece.mus", "1[d]");  // edited since: its positions would lie
  dump = json::parse(RunTsy(folder, "dump piece.emd --json").out);
  EXPECT_TRUE(dump["source"].is_null());
  EXPECT_FALSE(dump["tracks"][0]["events"][0].contains("line"));
  EXPECT_EQ(dump["tracks"][0]["events"][0]["operands"]["pitch"], "o3c");
}

}  // namespace
}  // namespace tsy::cli
