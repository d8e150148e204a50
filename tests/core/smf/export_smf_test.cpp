// The SMF export: the bytes of small pieces, the loop bound and fade, the
// file handling, and a read-back by an independent reader.
#include "core/smf/export_smf.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "../engine/test_image.h"
#include "core/compiler/compile_driver.h"
#include "scratch_folder.h"
#include "smf_reader.h"

namespace tsy::test {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;

class SmfExportTest : public ::testing::Test {
 protected:
  // Loads `image` and exports it; returns the file's bytes.
  Bytes Export(const Bytes& image, SmfExport* result = nullptr) {
    EXPECT_TRUE(LoadFresh(image));
    const fs::path path = dir_ / "out.mid";
    SmfExport r = ExportSmf(path.string());
    EXPECT_EQ(r.outcome, SmfOutcome::kWritten) << r.reason;
    if (result) *result = r;
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
  }

  const ScratchFolder dir_;
};

Bytes Header(uint32_t trackLength) {
  Bytes h = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0, 48, 'M', 'T', 'r', 'k'};
  for (int i = 3; i >= 0; --i) h.push_back(static_cast<uint8_t>(trackLength >> (8 * i)));
  return h;
}

TEST_F(SmfExportTest, QuarterNoteAfterThePreambleBar) {
  Bytes image = BuildImage({{1, Note(60, 48, 7)}});
  SetTrackLength(image, 1, 48);
  const Bytes track = {0x00, 0xF0, 0x05, 0x7E, 0x7F, 0x09, 0x01, 0xF7,  // file tick 0: GM System On
                       0x60, 0xB0, 0x7B, 0x00,                          // 96: all notes off
                       0x01, 0xB0, 0x07, 0x7F, 0x01, 0xB0, 0x0B, 0x7F, 0x01, 0xB0, 0x0A, 0x40, 0x01,
                       0xB0, 0x00, 0x00, 0x00, 0xB0, 0x20, 0x00, 0x01, 0xB0, 0x65, 0x00, 0x00, 0xB0,
                       0x64, 0x00, 0x00, 0xB0, 0x06, 0x18, 0x02, 0xB0, 0x65, 0x00, 0x00, 0xB0, 0x64,
                       0x01, 0x00, 0xB0, 0x06, 0x40, 0x00, 0xB0, 0x26, 0x00, 0x02, 0xC0, 0x00,  // 105: program 0
                       0x01, 0xE0, 0x00, 0x40,                                                  // 106: bend centred
                       0x54, 0xB0, 0x65, 0x7F, 0x00, 0xB0, 0x64, 0x7F,                          // 190
                       0x02, 0x90, 0x3C, 0x6E,                                                  // 192: note-on
                       0x2A, 0x80, 0x3C, 0x00,                                                  // 234: note-off
                       0x00, 0xFF, 0x2F, 0x00};
  SmfExport result;
  EXPECT_EQ(Export(image, &result), Join({Header(static_cast<uint32_t>(track.size())), track}));
  EXPECT_EQ(result.EndPosition(), "0.048");
  EXPECT_EQ(GetStatus(), EngineStatus::kExporting) << "the engine stays with the writer";
}

TEST_F(SmfExportTest, ImageThatInitialisesItselfStartsAtDeltaZero) {
  Bytes image = BuildImage({{1, Join({{0xF0, 120, 0, 0xFE, 10, 0xF0, 1, 2, 3, 4, 5, 6, 7, 8, 0xF7}, Note(60, 48, 7)})}},
                           kImageFlagOwnInit);
  SetTrackLength(image, 1, 48);
  const Bytes track = {0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20,                                // tempo 120
                       0x00, 0xF0, 0x09, 1,    2,    3,    4,    5,    6,    7,    8,    0xF7,  // 10-byte SysEx
                       0x00, 0x90, 0x3C, 0x6E, 0x2A, 0x80, 0x3C, 0x00, 0x00, 0xFF, 0x2F, 0x00};
  EXPECT_EQ(Export(image), Join({Header(static_cast<uint32_t>(track.size())), track}));
}

TEST_F(SmfExportTest, NotesOfATickFollowEveryOtherMessageOfIt) {
  Bytes image =
      BuildImage({{1, Note(60, 10)}, {2, Join({{0xC0, 5}, Note(64, 10)})}, {3, {0xB0, 7, 99}}}, kImageFlagOwnInit);
  std::vector<std::string> first;
  for (const SmfEvent& e : ReadSmfEvents(Export(image))) {
    if (e.tick != 0) break;
    first.push_back(Describe(ShortMessage(e.bytes[0], e.bytes[1], e.bytes.size() > 2 ? e.bytes[2] : 0), nullptr));
  }
  EXPECT_THAT(first, ElementsAre("C1 05", "B2 07 63", "90 3C 6E", "91 40 6E"));
}

TEST_F(SmfExportTest, SongThatEndsStopsAfterItsLastTrack) {
  Bytes image =
      BuildImage({{1, Join({Note(60, 192), Note(62, 192), Note(64, 192), Note(65, 192)})}}, kImageFlagOwnInit);
  SetTrackLength(image, 1, 768);
  SmfExport result;
  const std::vector<SmfEvent> events = ReadSmfEvents(Export(image, &result));
  EXPECT_EQ(result.endTick, 769u);
  EXPECT_EQ(result.EndPosition(), "4.000");
  EXPECT_EQ(events.back().tick, 768u) << "end of track after the last note-off";
}

TEST_F(SmfExportTest, LoopingSongPlaysTwiceItsLengthThenFadesOut) {
  Bytes image = BuildImage({{
                               1,
                               Join({{0xEA, 1}, Note(60, 48)}),
                           }},
                           kImageFlagOwnInit);
  image.pop_back(), image.pop_back(), image.pop_back(), image.pop_back();  // re-terminate after the jump
  image.insert(image.end(), {0xEB, 1, 0xFF, 0xFF, 0xFF, 0x2E});
  image[kImageLengthField] = static_cast<uint8_t>(image.size());
  image[kImageLengthField + 1] = static_cast<uint8_t>(image.size() >> 8);
  SetTrackLength(image, 1, 48);  // L = 48: fade from 2L + 385, end at 2L + 1728
  SmfExport result;
  std::vector<uint32_t> volumeTicks;
  std::vector<int> volumes;
  uint32_t lastTick = 0;
  for (const SmfEvent& e : ReadSmfEvents(Export(image, &result))) {
    lastTick = e.tick;
    if (e.bytes[0] == 0xF0) volumeTicks.push_back(e.tick), volumes.push_back(e.bytes[6]);
  }
  ASSERT_EQ(volumes.size(), 126u);
  EXPECT_EQ(volumeTicks.front(), 2 * 48 + 393u);
  EXPECT_EQ(volumes.front(), 126);
  EXPECT_EQ(volumes.back(), 1);
  EXPECT_EQ(lastTick, 1776u) << "the last note-on; the render stops before tick 2L + 1728";
  EXPECT_EQ(result.endTick, 2 * 48 + 1727u);
}

TEST_F(SmfExportTest, FileThatCannotBeCreatedLeavesNothingAndTheEngineAlone) {
  ASSERT_TRUE(LoadFresh(BuildImage({{1, Note(60, 48)}})));
  const SmfExport result = ExportSmf((dir_ / "missing" / "out.mid").string());
  EXPECT_EQ(result.outcome, SmfOutcome::kCannotCreate);
  EXPECT_FALSE(result.reason.empty());
  EXPECT_EQ(GetStatus(), EngineStatus::kStopRequested);
}

TEST_F(SmfExportTest, FailedWriteIsReportedAndLeavesNoPartialFile) {
  ASSERT_TRUE(LoadFresh(BuildImage({{1, Note(60, 48)}})));
  // A device that is always full (like /dev/full, but our own): every write fails.
  const fs::path full = dir_ / "full.mid";
  if (::mknod(full.c_str(), S_IFCHR | 0666, makedev(1, 7)) != 0) GTEST_SKIP() << "cannot make a device node here";
  const SmfExport result = ExportSmf(full.string());
  EXPECT_EQ(result.outcome, SmfOutcome::kWriteFailed);
  EXPECT_FALSE(result.reason.empty());
  EXPECT_TRUE(fs::is_character_file(full));
  EXPECT_THAT(std::vector<fs::path>(fs::directory_iterator(dir_.path()), {}), ElementsAre(full));
}

TEST_F(SmfExportTest, FolderAsTargetCannotBeCreated) {
  ASSERT_TRUE(LoadFresh(BuildImage({{1, Note(60, 48)}})));
  fs::create_directories(dir_ / "taken.mid" / "inside");
  const SmfExport result = ExportSmf((dir_ / "taken.mid").string());
  EXPECT_EQ(result.outcome, SmfOutcome::kCannotCreate);
  EXPECT_FALSE(result.reason.empty());
  EXPECT_THAT(std::vector<fs::path>(fs::directory_iterator(dir_.path()), {}), ElementsAre(dir_ / "taken.mid"));
}

TEST_F(SmfExportTest, WithoutAnImageNothingIsWritten) {
  LoadFresh(BuildImage({{1, Note(60, 48)}}, 0, 24));
  EXPECT_EQ(ExportSmf((dir_ / "out.mid").string()).outcome, SmfOutcome::kNoImage);
  EXPECT_FALSE(fs::exists(dir_ / "out.mid"));
}

// The music's relative steps start from what the file holds, as in play
// they start from what the device was sent: a controller written as such
// counts for the expression that a relative step then moves.
TEST_F(SmfExportTest, RelativeStepsBuildOnTheControllersTheFileHolds) {
  const CompileResult compiled = CompileSource("%myinitspace1[@cont11,100ru-20c]");
  ASSERT_TRUE(compiled.errorFree());
  std::vector<std::string> expression;
  for (const SmfEvent& e : ReadSmfEvents(Export(compiled.image)))
    if (e.bytes[0] == 0xB0 && e.bytes[1] == 11)
      expression.push_back(std::to_string(e.tick) + ": " + std::to_string(e.bytes[2]));
  EXPECT_THAT(expression, ElementsAre("0: 100", "48: 80"));
}

// Compiled pieces whose export holds exactly what play sends; each case keeps
// the events whose status byte starts with `kind` (0x90: notes, 0xE0: bends).
struct ExportCase {
  const char* source;
  uint8_t kind;
  std::vector<std::string> events;  // "tick: bytes" in hex
};

std::vector<std::string> EventsOfKind(const std::vector<SmfEvent>& events, uint8_t kind) {
  std::vector<std::string> kept;
  for (const SmfEvent& e : events) {
    const bool notes = kind == 0x90 && (e.bytes[0] & 0xE0) == 0x80;
    if (!notes && (e.bytes[0] & 0xF0) != kind) continue;
    const uint8_t second = e.bytes.size() > 2 ? e.bytes[2] : 0;
    kept.push_back(std::to_string(e.tick) + ": " + Describe(ShortMessage(e.bytes[0], e.bytes[1], second), nullptr));
  }
  return kept;
}

TEST_F(SmfExportTest, CompiledPiecesExportWhatPlaySends) {
  const ExportCase cases[] = {
      // A tie across a channel change releases the note where it began.
      {"%myinitspace1[c&@ch2c]", 0x90, {"0: 90 30 6E", "90: 80 30 00"}},
      // A glide from a bend never sent starts at the centre: 7168 .. 4096.
      {"%myinitspace1[c&w=4c<c]", 0xE0, {"48: E0 00 38", "49: E0 00 30", "50: E0 00 28", "51: E0 00 20"}},
      // Relative and offset steps of an expression never sent start from 127,
      // as they do after the channels' own initialisation.
      {"%myinitspace1[u-20c]", 0xB0, {"0: B0 0B 6B"}},
      {"%myinitspace1[u=-20c]", 0xB0, {"0: B0 0B 6B"}},
  };
  for (const ExportCase& c : cases) {
    const CompileResult compiled = CompileSource(c.source);
    ASSERT_TRUE(compiled.errorFree()) << c.source;
    EXPECT_EQ(EventsOfKind(ReadSmfEvents(Export(compiled.image)), c.kind), c.events) << c.source;
  }
}

// The export's length is known from the header before any pass runs: music
// that could play past the limit is refused without touching file or engine.
TEST_F(SmfExportTest, MusicThatCouldPlayPastTheLimitIsRefusedBeforeAnythingIsTouched) {
  Bytes image = BuildImage({{1, Join({{0xF0, 240, 0}, Note(60, 48)})}});
  SetTrackLength(image, 1, 0xFFFFFFFF);  // what the compiler writes for repeats nested beyond counting
  ASSERT_TRUE(LoadFresh(image));
  const fs::path path = dir_ / "out.mid";
  const SmfExport refused = ExportSmf(path.string());
  EXPECT_EQ(refused.outcome, SmfOutcome::kTooLong);
  EXPECT_EQ(refused.length.ticks, 192 + 2 * int64_t{0xFFFFFFFF} + 1728);
  EXPECT_EQ(refused.length.tempo, 240);
  EXPECT_EQ(ClockText(refused.length.seconds), "12427:34:13");
  EXPECT_FALSE(fs::exists(path));
  EXPECT_EQ(GetStatus(), EngineStatus::kStopRequested) << "the engine was not taken";

  // One bar at tempo 240 renders for at most 192 + 384 + 1728 ticks: 12 s.
  SetTrackLength(image, 1, 192);
  ASSERT_TRUE(LoadFresh(image));
  EXPECT_EQ(ClockText(LongestRender(CurrentImage()).seconds), "0:00:12");
  EXPECT_EQ(ExportSmf(path.string(), 11.5).outcome, SmfOutcome::kTooLong);
  EXPECT_FALSE(fs::exists(path));
  EXPECT_EQ(ExportSmf(path.string(), 12.5).outcome, SmfOutcome::kWritten);
  EXPECT_EQ(ClockText(kDefaultRenderLimitSeconds), "24:00:00");
}

// A sink that keeps only the size of what it is handed.
class CountingSink : public SmfSink {
 public:
  bool Append(std::span<const uint8_t> bytes) override {
    total += bytes.size();
    largestBlock = std::max(largestBlock, bytes.size());
    return true;
  }
  bool Overwrite(size_t, std::span<const uint8_t>) override { return true; }
  size_t total = 0;
  size_t largestBlock = 0;
};

// A long render is written as it goes, a block at a time, never built whole.
TEST_F(SmfExportTest, ALongRenderReachesItsFileInBlocks) {
  Bytes image = BuildImage({{1, Join({{0xEA, 1}, Note(60, 1), {0xEB, 1}})}}, kImageFlagOwnInit);
  SetTrackLength(image, 1, 20000);  // a loop of one-tick notes, 41,728 ticks in all
  ASSERT_TRUE(LoadFresh(image));
  CountingSink sink;
  uint32_t endTick = 0;
  EXPECT_EQ(RenderSmf(sink, endTick), RenderEnd::kWhole);
  EXPECT_GT(sink.total, 4 * 64 * 1024u);
  EXPECT_LE(sink.largestBlock, 64 * 1024u + 256);
}

// An SMF reader of its own (mido, for the system's python) reads the file back.
TEST_F(SmfExportTest, IndependentReaderSeesTheNotesAtTheirTimes) {
  if (std::system("/usr/bin/python3 -c 'import mido' 2>/dev/null") != 0) GTEST_SKIP() << "no python3-mido";
  Bytes image = BuildImage({{1, Join({{0xF0, 60, 0}, Note(60, 48, 7), Note(127, 24), Note(62, 96, 4)})},
                            {2, Join({{0xE0, 9}, Note(36, 96, 2)})}});
  SetTrackLength(image, 1, 168);
  SetTrackLength(image, 2, 96);
  Export(image);
  const fs::path listing = dir_ / "notes.txt";
  const std::string script =
      "import mido\n"
      "f = mido.MidiFile('" +
      (dir_ / "out.mid").string() +
      "')\n"
      "t = 0\n"
      "print(f.type, f.ticks_per_beat, len(f.tracks))\n"
      "for m in f.tracks[0]:\n"
      "    t += m.time\n"
      "    if m.type in ('note_on', 'note_off'): print(t, m.type, m.channel, m.note, m.velocity)\n"
      "    if m.type == 'set_tempo': print(t, 'tempo', m.tempo)\n";
  std::ofstream(dir_ / "read.py") << script;
  ASSERT_EQ(std::system(("/usr/bin/python3 " + (dir_ / "read.py").string() + " > " + listing.string()).c_str()), 0);
  std::ifstream in(listing);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  EXPECT_THAT(lines,
              ElementsAre("0 48 1", "192 tempo 1000000", "192 note_on 0 60 110", "192 note_on 9 36 110",
                          "216 note_off 9 36 0", "234 note_off 0 60 0", "264 note_on 0 62 110", "312 note_off 0 62 0"));
}

}  // namespace
}  // namespace tsy::test
