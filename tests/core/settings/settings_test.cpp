#include "core/settings/settings.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "scratch_folder.h"

namespace tsy {
namespace {

namespace fs = std::filesystem;

class SettingsFile : public ::testing::Test {
 protected:
  void Put(const std::string& text) { WriteFile(path_, text); }
  std::string Get() const { return ReadFile(path_); }
  Settings Read() const {
    Settings settings;
    ReadSettings(settings, path_);
    return settings;
  }
  // Reads the file, writes it back and returns the value the file then holds for `key`.
  std::string RoundTrip(const std::string& key) {
    const Settings settings = Read();
    EXPECT_TRUE(WriteSettings(settings, path_, "1.0").ok());
    const std::string text = Get();
    const size_t at = text.find("\n" + key + "=");
    if (at == std::string::npos) return "(absent)";
    const size_t start = at + key.size() + 2;
    return text.substr(start, text.find('\n', start) - start);
  }

  const ScratchFolder folder_;
  const std::string path_ = (folder_ / "tsy32.ini").string();
};

TEST_F(SettingsFile, MissingFileGivesTheDefaults) {
  const Settings s = Read();
  EXPECT_EQ(s.loadInFile, "NewFile.MUS");
  EXPECT_EQ(s.refreshPeriod, 41);
  EXPECT_EQ(s.modeEq, 1);
  EXPECT_EQ(s.autoCompile, 1);
  EXPECT_EQ(s.exitCheck, 1);
  EXPECT_EQ(s.priority, 0);
  EXPECT_EQ(s.midiDevice, "MIDI Mapper");
  EXPECT_EQ(s.tone1, "GMSET.EQN");
  EXPECT_EQ(s.tone2, "GMSET.EQD");
  EXPECT_EQ(s.toneAutoJump, 0);
  EXPECT_EQ(s.toneExitCheck, 0);
  EXPECT_EQ(s.windowSave, 1);
  EXPECT_EQ(s.windowLeft, kPositionUnset);
  EXPECT_EQ(s.windowTop, kPositionUnset);
  EXPECT_EQ(s.toneWindowLeft, kPositionUnset);
  EXPECT_EQ(s.toneWindowTop, kPositionUnset);
  for (const FolderSetting& folder : s.folders) {
    EXPECT_EQ(folder.directory, fs::current_path().string());
    EXPECT_EQ(folder.lastDir, 0);
  }
}

TEST_F(SettingsFile, NoFileAtAllIsWrittenCompleteWithoutPriority) {
  Settings s = Read();
  s.folders[kMusFolder].directory = "/music";
  s.folders[kSmfFolder].lastDir = 1;
  ASSERT_TRUE(WriteSettings(s, path_, "").ok());
  EXPECT_EQ(Get(),
            "[System]\nVersion=Unknown\nLoadInFile=NewFile.MUS\nDispRate=24\nModeEQ=1\n"
            "AutoCompile=1\nExitCheck=1\nMidiDevice=MIDI Mapper\n\n"
            "[Tone]\nTone1=GMSET.EQN\nTone2=GMSET.EQD\nAutoJump=0\nExitCheck=0\n\n"
            "[Window]\nWindowSave=1\nWindowLeft=2147483647\nWindowTop=2147483647\n"
            "ToneWindowLeft=2147483647\nToneWindowTop=2147483647\n\n"
            "[Dir]\nMusDirectory=/music\nEmdDirectory=" +
                fs::current_path().string() + "\nSmfDirectory=" + fs::current_path().string() +
                "\nMusLastDir=0\nEmdLastDir=0\nSmfLastDir=1\n");
  ASSERT_TRUE(WriteSettings(s, path_, "0.1.0").ok());
  EXPECT_NE(Get().find("Version=0.1.0\n"), std::string::npos);
}

// LiveReload is beyond the described keys: a file of those is written as
// described until it is turned on, and once written it follows the record.
TEST_F(SettingsFile, LiveReloadIsWrittenOnceOnAndReadBack) {
  Settings s = Read();
  EXPECT_EQ(s.liveReload, 0);
  ASSERT_TRUE(WriteSettings(s, path_, "").ok());
  EXPECT_EQ(Get().find("LiveReload"), std::string::npos);
  s.liveReload = 1;
  ASSERT_TRUE(WriteSettings(s, path_, "").ok());
  EXPECT_NE(Get().find("MidiDevice=MIDI Mapper\nLiveReload=1\n"), std::string::npos) << Get();
  EXPECT_EQ(Read().liveReload, 1);
  s.liveReload = 0;
  ASSERT_TRUE(WriteSettings(s, path_, "").ok());
  EXPECT_NE(Get().find("LiveReload=0\n"), std::string::npos);
  EXPECT_EQ(Read().liveReload, 0);
}

TEST_F(SettingsFile, DispRateBecomesARefreshPeriodAndComesBack) {
  const struct {
    const char* written;
    int32_t period;
    const char* rewritten;
  } cases[] = {
      {"24", 41, "24"},    {"60", 16, "62"},    {"0", 1000, "1"}, {"-5", 1000, "1"},
      {"2000", 1, "1000"}, {"1000", 1, "1000"}, {"x", 1000, "1"}, {"", 41, "24"},
  };
  for (const auto& c : cases) {
    Put(std::string("[System]\nDispRate=") + c.written + "\n");
    EXPECT_EQ(Read().refreshPeriod, c.period) << c.written;
    EXPECT_EQ(RoundTrip("DispRate"), c.rewritten) << c.written;
  }
}

TEST_F(SettingsFile, BytesKeepTheLowEightBits) {
  Put("[System]\nModeEQ=2\nAutoCompile=256\nExitCheck=257\nPriority=2\n"
      "[Dir]\nSmfLastDir=-1\n");
  const Settings s = Read();
  EXPECT_EQ(s.modeEq, 2);  // not 1: the meters start as track levels
  EXPECT_EQ(s.autoCompile, 0);
  EXPECT_EQ(s.exitCheck, 1);
  EXPECT_EQ(s.priority, 2);
  EXPECT_EQ(s.folders[kSmfFolder].lastDir, 255);
  EXPECT_EQ(RoundTrip("ModeEQ"), "2");
  EXPECT_EQ(RoundTrip("AutoCompile"), "0");
  EXPECT_EQ(RoundTrip("SmfLastDir"), "255");
}

TEST_F(SettingsFile, WindowSaveOffIgnoresStoredPositionsButWritesTheNewOnes) {
  Put("[Window]\nWindowSave=0\nWindowLeft=10\nWindowTop=20\nToneWindowLeft=30\nToneWindowTop=40\n");
  Settings s = Read();
  EXPECT_EQ(s.windowLeft, kPositionUnset);
  EXPECT_EQ(s.toneWindowTop, kPositionUnset);
  s.windowLeft = 100;
  s.windowTop = -20;  // a window on a monitor left of the first
  ASSERT_TRUE(WriteSettings(s, path_, "1.0").ok());

  std::string text = Get();
  EXPECT_NE(text.find("WindowSave=0\nWindowLeft=100\nWindowTop=-20\n"
                      "ToneWindowLeft=2147483647\n"),
            std::string::npos);
  text.replace(text.find("WindowSave=0"), 12, "WindowSave=1");
  Put(text);
  EXPECT_EQ(Read().windowLeft, 100);
  EXPECT_EQ(Read().windowTop, -20);
}

TEST_F(SettingsFile, TextsAreCutToTheirFields) {
  const std::string longPath(600, 'p');
  const std::string longDevice = "Port with a rather long product name";
  // 31 bytes available: "é" at bytes 30..31 does not fit and goes whole.
  const std::string accented = std::string(30, 'a') + "\xC3\xA9";
  Put("[System]\nLoadInFile=" + longPath + "\nMidiDevice=" + longDevice + "\n[Tone]\nTone1=" + longPath +
      "\nTone2=" + accented + "\n[Dir]\nMusDirectory=" + longPath + "\n");
  const Settings s = Read();
  EXPECT_EQ(s.loadInFile, longPath.substr(0, 515));
  EXPECT_EQ(s.midiDevice, longDevice.substr(0, 31));
  EXPECT_EQ(s.tone1, longPath.substr(0, 255));
  EXPECT_EQ(s.tone2, accented);
  EXPECT_EQ(s.folders[kMusFolder].directory, longPath.substr(0, 259));
  Put("[System]\nMidiDevice=" + std::string(30, 'a') + "\xC3\xA9" + "\n");
  EXPECT_EQ(Read().midiDevice, std::string(30, 'a'));
}

TEST_F(SettingsFile, OtherSectionsAndCommentsSurviveAWrite) {
  Put("; written by hand\n[System]\nPriority=2\nDispRate=60\n; keep me\n[Plugins]\nEcho=on\n");
  const Settings s = Read();
  ASSERT_TRUE(WriteSettings(s, path_, "1.0").ok());
  const std::string text = Get();
  EXPECT_EQ(text.rfind("; written by hand\n[System]\nPriority=2\nDispRate=62\n", 0), 0u);
  EXPECT_NE(text.find("; keep me\n[Plugins]\nEcho=on\n"), std::string::npos);
  EXPECT_EQ(Read().priority, 2);  // never written, but not taken from the user either
}

// A settings file that is no plain file of a few MB is read as missing and
// never written over; one the user may not write keeps its contents.
TEST_F(SettingsFile, OnlyAPlainFileIsReadAndOnlyAWritableOneWritten) {
  ::alarm(10);  // a reader that waits for a pipe's writer ends the test here
  ASSERT_EQ(::mkfifo(path_.c_str(), 0600), 0);
  Settings s;
  EXPECT_EQ(ReadSettings(s, path_).status, FileStatus::kNotRegular);
  EXPECT_EQ(s.midiDevice, "MIDI Mapper");
  EXPECT_EQ(WriteSettings(s, path_, "1.0").status, FileStatus::kNotRegular);
  EXPECT_TRUE(fs::is_fifo(path_));
  fs::remove(path_);

  fs::create_symlink("/dev/zero", path_);
  EXPECT_EQ(ReadSettings(s, path_).status, FileStatus::kNotRegular);
  EXPECT_FALSE(WriteSettings(s, path_, "1.0").ok());
  fs::remove(path_);

  Put(std::string(5 * 1024 * 1024, ';'));
  EXPECT_EQ(ReadSettings(s, path_).status, FileStatus::kTooLarge);
  EXPECT_FALSE(WriteSettings(s, path_, "1.0").ok());
  EXPECT_EQ(fs::file_size(path_), 5 * 1024 * 1024u);

  Put("[System]\nMidiDevice=Port 9\n");
  ::chmod(path_.c_str(), 0444);
  ASSERT_TRUE(ReadSettings(s, path_).ok());
  EXPECT_EQ(s.midiDevice, "Port 9");
  const FileResult readOnly = WriteSettings(s, path_, "1.0");
  EXPECT_EQ(readOnly.status, FileStatus::kCannotWrite);
  EXPECT_EQ(readOnly.Reason(), "Permission denied");
  EXPECT_EQ(Get(), "[System]\nMidiDevice=Port 9\n");
  ::alarm(0);
}

TEST_F(SettingsFile, TheOutputsOwnKeysAreReadAndLeftAsTheUserWroteThem) {
  EXPECT_EQ(Read().midiConnect, "");
  EXPECT_EQ(Read().midiClock, 0);
  Put("[System]\nMidiConnect=FLUID Synth:Synth input port\nMidiClock=1\n");
  const Settings s = Read();
  EXPECT_EQ(s.midiConnect, "FLUID Synth:Synth input port");
  EXPECT_EQ(s.midiClock, 1);
  EXPECT_EQ(RoundTrip("MidiConnect"), "FLUID Synth:Synth input port");
  EXPECT_EQ(RoundTrip("MidiClock"), "1");
  Put("");
  EXPECT_EQ(RoundTrip("MidiClock"), "(absent)") << "never added to a file that had none";
  EXPECT_EQ(RoundTrip("MidiConnect"), "(absent)");
}

TEST_F(SettingsFile, EveryFieldRoundTrips) {
  Settings s = Read();
  s.loadInFile = "/home/user/曲/song.mus";
  s.refreshPeriod = 20;
  s.modeEq = 0;
  s.autoCompile = 0;
  s.exitCheck = 0;
  s.midiDevice = "Direct Music";
  s.tone1 = "/opt/tones/MY.EQN";
  s.tone2 = "MY.EQD";
  s.toneAutoJump = 1;
  s.toneExitCheck = 1;
  s.windowSave = 1;
  s.windowLeft = 5;
  s.windowTop = 6;
  s.toneWindowLeft = 7;
  s.toneWindowTop = 8;
  s.folders = {FolderSetting{"/a/", 1}, FolderSetting{"/b/", 0}, FolderSetting{"/c/", 1}};
  ASSERT_TRUE(WriteSettings(s, path_, "1.0").ok());
  const Settings r = Read();
  EXPECT_EQ(r.loadInFile, s.loadInFile);
  EXPECT_EQ(r.refreshPeriod, 20);
  EXPECT_EQ(r.modeEq, 0);
  EXPECT_EQ(r.autoCompile, 0);
  EXPECT_EQ(r.exitCheck, 0);
  EXPECT_EQ(r.midiDevice, s.midiDevice);
  EXPECT_EQ(r.tone1, s.tone1);
  EXPECT_EQ(r.tone2, s.tone2);
  EXPECT_EQ(r.toneAutoJump, 1);
  EXPECT_EQ(r.toneExitCheck, 1);
  EXPECT_EQ(r.windowLeft, 5);
  EXPECT_EQ(r.windowTop, 6);
  EXPECT_EQ(r.toneWindowLeft, 7);
  EXPECT_EQ(r.toneWindowTop, 8);
  for (int i = 0; i < kFolderCount; ++i) {
    EXPECT_EQ(r.folders[i].directory, s.folders[i].directory) << i;
    EXPECT_EQ(r.folders[i].lastDir, s.folders[i].lastDir) << i;
  }
}

TEST(RefreshPeriod, ZeroPeriodIsNotADivisionByZero) {
  EXPECT_EQ(RateFromRefreshPeriod(0), 1000);
  EXPECT_EQ(RefreshPeriodFromRate(1), 1000);
  EXPECT_EQ(RefreshPeriodFromRate(3), 333);
}

class SettingsLocation : public SettingsFile {
 protected:
  void SetUp() override {
    const char* old = std::getenv("XDG_CONFIG_HOME");
    oldXdg_ = old ? old : "";
    hadXdg_ = old != nullptr;
    ::setenv("XDG_CONFIG_HOME", (folder_ / "config").c_str(), 1);
  }
  void TearDown() override {
    if (hadXdg_) ::setenv("XDG_CONFIG_HOME", oldXdg_.c_str(), 1);
    else ::unsetenv("XDG_CONFIG_HOME");
  }
  std::string oldXdg_;
  bool hadXdg_ = false;
};

TEST_F(SettingsLocation, BesideTheProgramWhenThatFolderIsWritable) {
  EXPECT_EQ(SettingsFilePath(folder_.path().string()), (folder_ / "tsy32.ini").string());
}

TEST_F(SettingsLocation, ConfigFolderWhenTheProgramFolderIsNotWritable) {
  const std::string fallback = (folder_ / "config" / "tessaly32" / "tsy32.ini").string();
  EXPECT_EQ(SettingsFilePath((folder_ / "no such folder").string()), fallback);

  // The settings of this run land in the fallback, which is created on the way.
  Settings s;
  ReadSettings(s, fallback);
  s.midiDevice = "Direct Music";
  ASSERT_TRUE(WriteSettings(s, fallback, "1.0").ok());
  Settings again;
  ReadSettings(again, fallback);
  EXPECT_EQ(again.midiDevice, "Direct Music");
}

TEST_F(SettingsLocation, ReadOnlyProgramFolderFallsBack) {
  const std::string fallback = (folder_ / "config" / "tessaly32" / "tsy32.ini").string();
  const fs::path readOnly = folder_ / "installed";
  fs::create_directories(readOnly);
  fs::permissions(readOnly, fs::perms::owner_read | fs::perms::owner_exec);
  if (::access(readOnly.c_str(), W_OK) == 0) GTEST_SKIP() << "this user may write anywhere";
  EXPECT_EQ(SettingsFilePath(readOnly.string()), fallback);
}

TEST_F(SettingsLocation, AnInstalledProgramNeverWritesIntoItsBinFolder) {
  fs::create_directories(folder_ / "usr" / "bin");
  fs::create_directories(folder_ / "usr" / "share" / "tessaly32");
  EXPECT_EQ(SettingsFilePath((folder_ / "usr" / "bin").string()),
            (folder_ / "config" / "tessaly32" / "tsy32.ini").string());
}

TEST_F(SettingsLocation, RelativeConfigHomeIsIgnored) {
  const std::string home = std::getenv("HOME") ? std::getenv("HOME") : "";
  ::setenv("XDG_CONFIG_HOME", "relative/config", 1);
  ::setenv("HOME", folder_.path().c_str(), 1);
  EXPECT_EQ(SettingsFilePath((folder_ / "missing").string()),
            (folder_ / ".config" / "tessaly32" / "tsy32.ini").string());
  ::setenv("HOME", home.c_str(), 1);
}

}  // namespace
}  // namespace tsy
