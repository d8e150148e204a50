#include "core/settings/tone_files.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <thread>

#include "scratch_folder.h"

namespace tsy {
namespace {

namespace fs = std::filesystem;

struct Entry {
  std::string name;
  int program, bankMsb, bankLsb;
  bool operator==(const Entry&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Entry& e) {
  return out << '"' << e.name << "\" " << e.program << '/' << e.bankMsb << '/' << e.bankLsb;
}

std::vector<Entry> Entries(const ToneList& list) {
  std::vector<Entry> entries;
  for (int i = 0; i < list.count; ++i)
    entries.push_back({list.name(i), list.program(i), list.bankMsb(i), list.bankLsb(i)});
  return entries;
}

class ToneFile : public ::testing::Test {
 protected:
  std::string Put(const std::string& name, const std::string& text) {
    const std::string path = (folder_ / name).string();
    WriteFile(path, text);
    return path;
  }
  std::vector<Entry> Read(const std::string& text) { return Entries(ReadToneFile(Put("t.EQN", text))); }

  const ScratchFolder folder_;
};

TEST_F(ToneFile, LinesBecomeEntries) {
  const struct {
    const char* line;
    Entry entry;
  } cases[] = {
      {"Piano 1,0,0,0", {"Piano 1", 0, 0, 0}},
      {"Piano", {"Piano", 0, 0, 0}},                     // no comma
      {"Strings, 48 , 0, 200", {"Strings", 48, 0, 0}},   // 200 is out of range
      {"\tOr\tgan ,19,\t8 ,\t1", {"Organ ", 19, 8, 1}},  // tabs dropped, blanks kept
      {"Brass,61", {"Brass", 61, 0, 0}},                 // numbers not written are 0
      {"Bass,,8,2", {"Bass", 0, 8, 2}},
      {"Lead,80,1,2,99,junk", {"Lead", 80, 1, 2}},  // after the third: ignored
      {"Pad,88x,5", {"Pad", 88, 0, 0}},             // any other character ends
      {"Neg,-5,3", {"Neg", 0, 0, 0}},
      {"Big,99999999999999,128", {"Big", 0, 0, 0}},
      {",7", {"", 7, 0, 0}},
      {"Voice,  ", {"Voice", 0, 0, 0}},
  };
  for (const auto& c : cases) {
    const std::vector<Entry> crlf = Read(std::string(c.line) + "\r\n");
    ASSERT_EQ(crlf.size(), 1u) << c.line;
    EXPECT_EQ(crlf[0], c.entry) << c.line;
    EXPECT_EQ(Read(std::string(c.line) + "\n"), crlf) << c.line;
    EXPECT_EQ(Read(c.line), crlf) << c.line;  // no line end at all
  }
}

TEST_F(ToneFile, CommentsAndTheCountRule) {
  // ";" first: neither counted nor filled. ";" later in the name: counted but
  // not filled, so an empty entry is left at the end. ";" after the comma: no comment.
  const std::vector<Entry> entries =
      Read("; General MIDI\r\nPiano,0\r\n\t;indented,5\r\nHarp;old,46\r\nHarp,46,0,0 ;new\r\n");
  const std::vector<Entry> expected = {{"Piano", 0, 0, 0}, {"Harp", 46, 0, 0}, {"", 0, 0, 0}, {"", 0, 0, 0}};
  EXPECT_EQ(entries, expected);
}

TEST_F(ToneFile, EmptyLinesAreEntriesWithEmptyNamesAndDoNotEndTheFile) {
  const std::vector<Entry> expected = {{"A", 1, 0, 0}, {"", 0, 0, 0}, {"B", 2, 0, 0}};
  EXPECT_EQ(Read("A,1\r\n\r\nB,2\r\n"), expected);
  EXPECT_EQ(Read("A,1\n\nB,2\n"), expected);
  EXPECT_EQ(Read("A,1\n\nB,2"), expected);
}

TEST_F(ToneFile, EmptyAndMissingFilesGiveEmptyLists) {
  EXPECT_EQ(ReadToneFile(Put("empty.EQN", "")).count, 0);
  EXPECT_EQ(ReadToneFile((folder_ / "absent.EQN").string()).count, 0);
  EXPECT_EQ(ReadToneFile(folder_.path().string()).count, 0);  // a folder is not a file
}

// Only plain files of a few MB are read; the others are told to the caller,
// a missing file is not: its list is simply empty.
TEST_F(ToneFile, FilesThatAreNoPlainFileOrTooLargeGiveEmptyListsAndAreTold) {
  ::alarm(10);  // a reader that waits for a pipe's writer ends the test here
  Settings settings;
  settings.tone1 = (folder_ / "pipe.EQN").string();
  ASSERT_EQ(::mkfifo(settings.tone1.c_str(), 0600), 0);
  settings.tone2 = Put("huge.EQD", std::string(kLargestToneFile + 1, 'x'));
  const std::vector<ToneFileFault> faults = LoadToneFiles(settings);
  ASSERT_EQ(faults.size(), 2u);
  EXPECT_EQ(faults[0].path, settings.tone1);
  EXPECT_EQ(faults[0].result.status, FileStatus::kNotRegular);
  EXPECT_EQ(faults[1].result.status, FileStatus::kTooLarge);
  EXPECT_EQ(CurrentToneLists()->eqn.count, 0);
  EXPECT_EQ(CurrentToneLists()->eqd.count, 0);

  settings.tone1 = (folder_ / "absent.EQN").string();
  settings.tone2 = Put("ok.EQD", "Standard,0\n");
  EXPECT_TRUE(LoadToneFiles(settings).empty());
  EXPECT_EQ(CurrentToneLists()->eqd.count, 1);
  ::alarm(0);
}

TEST_F(ToneFile, LongNamesAreCutAtEightyBytes) {
  const std::string ascii(100, 'n');
  EXPECT_EQ(Read(ascii + ",5")[0], (Entry{ascii.substr(0, 80), 5, 0, 0}));

  // CP932 "音" is two bytes; 79 single bytes leave room for one more byte only,
  // and half a character is never kept.
  const std::string tone = "\x89\xB9";
  EXPECT_EQ(Read(std::string(79, 'x') + tone + ",1")[0].name, std::string(79, 'x'));
  EXPECT_EQ(Read(std::string(78, 'x') + tone + tone)[0].name, std::string(78, 'x') + tone);
}

TEST_F(ToneFile, NamesAreHeldInCp932) {
  const std::string cp932 = "\x83\x73\x83\x41\x83\x6D";  // ピアノ
  EXPECT_EQ(Read(cp932 + ",0\r\n")[0].name, cp932);
  EXPECT_EQ(Read("ピアノ,0\n")[0].name, cp932);                            // UTF-8 file
  EXPECT_EQ(Read("\xEF\xBB\xBFPiano,3\n")[0], (Entry{"Piano", 3, 0, 0}));  // byte-order mark
}

TEST_F(ToneFile, OverlongLinesAreReadInPieces) {
  const std::vector<Entry> entries = Read(std::string(5000, 'a') + ",9\nB,2\n");
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_EQ(entries[0].name, std::string(80, 'a'));
  EXPECT_EQ(entries[1], (Entry{std::string(80, 'a'), 9, 0, 0}));
  EXPECT_EQ(entries[2], (Entry{"B", 2, 0, 0}));
}

TEST(ExampleToneFiles, HoldTheGeneralMidiTonesAndDrumKits) {
  const ToneList eqn = ReadToneFile(std::string(TSY_SOURCE_DIR) + "/examples/GMSET.EQN");
  ASSERT_EQ(eqn.count, 128);
  for (int i = 0; i < eqn.count; ++i) {
    EXPECT_EQ(eqn.program(i), i);
    EXPECT_GT(std::strlen(eqn.name(i)), 2u) << i;
    EXPECT_EQ(eqn.bankMsb(i) + eqn.bankLsb(i), 0) << i;
  }
  EXPECT_STREQ(eqn.name(0), "Acoustic Grand Piano");
  EXPECT_STREQ(eqn.name(127), "Gunshot");

  const ToneList eqd = ReadToneFile(std::string(TSY_SOURCE_DIR) + "/examples/GMSET.EQD");
  ASSERT_EQ(eqd.count, 9);
  EXPECT_STREQ(eqd.name(0), "Standard Kit");
  EXPECT_EQ(eqd.program(8), 56);
}

TEST_F(ToneFile, LoadingReplacesBothListsAtOnce) {
  Settings settings;
  settings.tone1 = Put("A.EQN", "Piano,0\nOrgan,19\n");
  settings.tone2 = Put("A.EQD", "Standard,0,0,0\n");
  LoadToneFiles(settings);
  const std::shared_ptr<const ToneLists> before = CurrentToneLists();
  EXPECT_EQ(before->eqn.count, 2);
  EXPECT_EQ(before->eqd.count, 1);

  settings.tone1 = (folder_ / "gone.EQN").string();
  settings.tone2 = Put("B.EQD", "Room,8\nPower,16\nJazz,32\n");
  LoadToneFiles(settings);
  const std::shared_ptr<const ToneLists> after = CurrentToneLists();
  EXPECT_EQ(after->eqn.count, 0);
  EXPECT_EQ(Entries(after->eqd)[2], (Entry{"Jazz", 32, 0, 0}));
  EXPECT_STREQ(before->eqn.name(1), "Organ");  // a holder of the old lists keeps them
}

TEST_F(ToneFile, ABareNameMissingFromTheStartFolderComesFromTheSharedFolder) {
  fs::create_directories(folder_ / "start");
  fs::create_directories(folder_ / "share");
  const std::string shared = (folder_ / "share").string();
  Put("share/GMSET.EQN", "Piano,0\n");
  Put("share/GMSET.EQD", "Standard,0\n");
  Put("start/GMSET.EQD", "Own kit,8\n");
  const fs::path before = fs::current_path();
  fs::current_path(folder_ / "start");

  EXPECT_EQ(ToneFileToRead("GMSET.EQN", shared), shared + "/GMSET.EQN");
  EXPECT_EQ(ToneFileToRead("GMSET.EQD", shared), "GMSET.EQD");  // the start folder's own
  EXPECT_EQ(ToneFileToRead("MINE.EQN", shared), "MINE.EQN");    // in neither: as written
  EXPECT_EQ(ToneFileToRead("./GMSET.EQN", shared), "./GMSET.EQN");
  EXPECT_EQ(ToneFileToRead("/nowhere/GMSET.EQN", shared), "/nowhere/GMSET.EQN");
  EXPECT_EQ(ToneFileToRead("GMSET.EQN", ""), "GMSET.EQN");  // no installation found
  EXPECT_EQ(ToneFileToRead("", shared), "");
  fs::current_path(before);
}

TEST_F(ToneFile, ReadersSeeWholeListsWhileTheyAreReloaded) {
  Settings small, large;
  small.tone1 = small.tone2 = Put("small.EQN", "A,1\n");
  large.tone1 = large.tone2 = Put("large.EQN", std::string(200, 'x') + "\nB,2\n");
  LoadToneFiles(small);
  std::atomic<bool> done{false};
  std::thread reader([&] {
    while (!done) {
      const auto lists = CurrentToneLists();
      ASSERT_EQ(lists->eqn.count, lists->eqd.count);
      ASSERT_EQ(lists->eqn.names.size(), static_cast<size_t>(lists->eqn.count) * 81);
    }
  });
  for (int i = 0; i < 200; ++i) LoadToneFiles(i % 2 ? small : large);
  done = true;
  reader.join();
}

}  // namespace
}  // namespace tsy
