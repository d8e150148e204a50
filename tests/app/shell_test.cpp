// The main window's commands, driven through a scripted host.
#include "app/shell.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "app/menu_model.h"
#include "app/object_file.h"
#include "core/settings/settings.h"
#include "platform/virtual_keys.h"
#include "resources/version.h"
#include "scratch_folder.h"
#include "scripted_host.h"

namespace tsy {
namespace {

using test::RecordingCore;
using test::ScriptedHost;
using Log = std::vector<std::string>;
namespace fs = std::filesystem;

class ShellTest : public ::testing::Test {
 protected:
  ShellTest() {
    settings.loadInFile = "NewFile.MUS";
    settings.modeEq = 1;
    settings.autoCompile = 1;
    settings.exitCheck = 1;
    for (FolderSetting& folder : settings.folders) folder.directory = "/music/";
    shell = std::make_unique<Shell>(host, core.Bind(host), settings);
    shell->Start();
    host.Pump();
    host.Take();
  }

  void Press(int key) {
    shell->KeyDown(key);
    host.Pump();
  }
  void PressWith(int modifier, int key) {
    shell->KeyDown(modifier);
    Press(key);
    shell->KeyUp(modifier);
  }
  void Choose(int menuId) {
    shell->MenuChosen(menuId);
    host.Pump();
  }
  void PutCursor(int scroll, int row) {
    Choose(kMenuFirstTrack);                // track 1 at the top
    Choose(kMenuFirstTrack + scroll + 15);  // scrolls so that `scroll` is the top
    Choose(kMenuFirstTrack + scroll + row);
    ASSERT_EQ(shell->state().trackScroll, scroll);
    ASSERT_EQ(shell->state().cursorRow, row);
  }
  EngineState& engine() { return *core.engine; }

  Settings settings;
  ScriptedHost host;
  RecordingCore core;
  std::unique_ptr<Shell> shell;
};

TEST(ShellStartTest, ChainRunsInOrderThroughTheQueue) {
  Settings settings;
  settings.loadInFile = "song.mus";
  settings.modeEq = 2;  // only exactly 1 starts the analyser
  ScriptedHost host;
  RecordingCore core;
  Shell shell(host, core.Bind(host), settings);
  shell.Start();
  EXPECT_TRUE(host.log.empty());  // nothing before the window shows
  host.Pump();
  EXPECT_EQ(host.Take(), (Log{"apply device", "display refresh", "caption Tessaly32 - [song.mus]"}));
  EXPECT_EQ(shell.state().modeEq, 0);
  EXPECT_EQ(shell.state().dispMode, 0);
  EXPECT_EQ(shell.state().selectedTrack(), 0);
}

TEST(ShellStartTest, InitObjectInTheCurrentFolderIsLoadedAndPlayed) {
  const ScratchFolder folder;
  std::vector<uint8_t> image(410, 0);
  RecordingCore::WriteImage(image.data(), 410);
  std::ofstream(folder / "init.emd", std::ios::binary).write(reinterpret_cast<const char*>(image.data()), 410);
  fs::path before = fs::current_path();
  fs::current_path(folder.path());

  Settings settings;
  ScriptedHost host;
  RecordingCore core;
  Shell shell(host, core.Bind(host), settings);
  shell.Start();
  host.Pump();
  fs::current_path(before);
  EXPECT_EQ(host.Take(),
            (Log{"apply device", "display refresh", "load image", "play from start", "caption Tessaly32 - []"}));
  EXPECT_EQ(shell.state().objectBuffer[391], 23);
  EXPECT_EQ(shell.state().compiledSize, 0u);
}

TEST(ShellStartTest, SourceGivenToTheProgramBecomesTheCurrentFileAfterTheChain) {
  Settings settings;
  settings.loadInFile = "old.mus";
  settings.autoCompile = 1;
  settings.folders[kMusFolder].lastDir = 1;
  ScriptedHost host;
  RecordingCore core;
  core.compileResult = 420;
  Shell shell(host, core.Bind(host), settings);
  shell.Start();
  shell.OpenAtStart("/songs/tune.mus");
  host.answers = {true};
  host.Pump();
  EXPECT_EQ(host.Take(), (Log{"apply device", "display refresh", "caption Tessaly32 - [old.mus]",
                              "caption Tessaly32 - [/songs/tune.mus]", "ask -> /songs/tune.mus\nコンパイル？ [yes]",
                              "compile /songs/tune.mus", "load image"}));
  EXPECT_EQ(shell.state().lastCompiledFile, "/songs/tune.mus");
  EXPECT_EQ(settings.folders[kMusFolder].directory, "/songs/");

  settings.autoCompile = 0;  // a second start, without compiling
  Shell again(host, core.Bind(host), settings);
  again.Start();
  again.OpenAtStart("/songs/other.MUS");
  host.Pump();
  EXPECT_EQ(host.Take().back(), "caption Tessaly32 - [/songs/other.MUS]");
  again.Destroyed();
  EXPECT_EQ(settings.loadInFile, "/songs/other.MUS");
}

TEST(ShellStartTest, ObjectGivenToTheProgramPlaysAfterInitObject) {
  const ScratchFolder folder;
  std::vector<uint8_t> image(410, 0);
  RecordingCore::WriteImage(image.data(), 410);
  WriteFile(folder / "init.emd", std::string(image.begin(), image.end()));
  image[391] = 21;  // the given image differs from init.emd
  WriteFile(folder / "GIVEN.EMD", std::string(image.begin(), image.end()));
  fs::path before = fs::current_path();
  fs::current_path(folder.path());

  Settings settings;
  settings.loadInFile = "song.mus";
  ScriptedHost host;
  RecordingCore core;
  Shell shell(host, core.Bind(host), settings);
  shell.Start();
  shell.OpenAtStart((folder / "GIVEN.EMD").string());
  host.Pump();
  fs::current_path(before);
  EXPECT_EQ(host.Take(), (Log{"apply device", "display refresh", "load image", "play from start",
                              "caption Tessaly32 - [song.mus]", "load image", "play from start"}));
  EXPECT_EQ(shell.state().objectBuffer[391], 21);
  EXPECT_EQ(shell.state().currentFile, "song.mus");
  EXPECT_EQ(shell.state().compiledSize, 0u);
}

// A file manager may hand over an image under any name: its magic tells.
TEST(ShellStartTest, AnImageUnderAnotherNameIsKnownByItsMagic) {
  const ScratchFolder folder;
  std::vector<uint8_t> image(410, 0);
  RecordingCore::WriteImage(image.data(), 410);
  image[391] = 22;
  WriteFile(folder / "tune.bak", std::string(image.begin(), image.end()));
  WriteFile(folder / "notes.txt", "1[ c ]\n");
  Settings settings;
  ScriptedHost host;
  RecordingCore core;
  Shell shell(host, core.Bind(host), settings);
  shell.Start();
  shell.OpenAtStart((folder / "tune.bak").string());
  host.Pump();
  EXPECT_EQ(host.Take().back(), "play from start");
  EXPECT_EQ(shell.state().objectBuffer[391], 22);

  Shell other(host, core.Bind(host), settings);
  other.Start();
  other.OpenAtStart((folder / "notes.txt").string());
  host.Pump();
  EXPECT_EQ(other.state().currentFile, (folder / "notes.txt").string()) << "any other file is a source";
}

TEST_F(ShellTest, PlayControlsHaveThreeKeysEach) {
  struct Case {
    int keys[3];
    const char* call;
  } cases[] = {
      {{vk::Digit(1), vk::Letter('P'), vk::Numpad(1)}, "play from start"},
      {{vk::Digit(2), vk::Letter('H'), vk::Numpad(2)}, "halt"},
      {{vk::Digit(3), vk::Letter('F'), vk::Numpad(3)}, "fade out"},
      {{vk::Digit(4), vk::Letter('R'), vk::Numpad(4)}, "resume"},
  };
  for (const Case& c : cases)
    for (int key : c.keys) {
      Press(key);
      EXPECT_EQ(host.Take(), Log{c.call}) << "key " << key;
    }
}

TEST_F(ShellTest, TrackSelectionStaysInsideTheList) {
  struct Case {
    int scroll, row, modifier, key;
    int wantScroll, wantRow;
  } cases[] = {
      {32, 15, 0, vk::kDown, 32, 15},          // track 48 stays selected
      {0, 0, vk::kControl, vk::kDown, 1, 15},  // track 1 + 16 = track 17
      {0, 4, vk::kShift, vk::kUp, 0, 0},       // track 5 - 8 stops at track 1
      {0, 0, 0, vk::kUp, 0, 0},
      {0, 0, vk::kShift, vk::kDown, 0, 8},
      {1, 15, vk::kControl, vk::kUp, 0, 0},  // row 15 - 16: the list scrolls by one
      {20, 3, vk::kControl, vk::kUp, 7, 0},
      {30, 10, vk::kControl, vk::kDown, 32, 15},  // scroll stops at 32
      {5, 0, 0, vk::kUp, 4, 0},
      {5, 15, 0, vk::kDown, 6, 15},
  };
  for (const Case& c : cases) {
    PutCursor(c.scroll, c.row);
    host.Take();
    if (c.modifier) PressWith(c.modifier, c.key);
    else Press(c.key);
    EXPECT_EQ(shell->state().trackScroll, c.wantScroll) << c.scroll << "/" << c.row << " key " << c.key;
    EXPECT_EQ(shell->state().cursorRow, c.wantRow) << c.scroll << "/" << c.row << " key " << c.key;
    EXPECT_EQ(host.Take(), Log{"repaint"});
  }
}

TEST_F(ShellTest, TrackMenuScrollsOnlyAsFarAsNeeded) {
  Choose(kMenuFirstTrack + 47);
  EXPECT_EQ(shell->state().trackScroll, 32);
  EXPECT_EQ(shell->state().cursorRow, 15);
  Choose(kMenuFirstTrack + 40);  // visible: only the row moves
  EXPECT_EQ(shell->state().trackScroll, 32);
  EXPECT_EQ(shell->state().cursorRow, 8);
  Choose(kMenuFirstTrack + 0);
  EXPECT_EQ(shell->state().trackScroll, 0);
  EXPECT_EQ(shell->state().cursorRow, 0);
}

TEST_F(ShellTest, WheelAndMouseButtonsPostKeys) {
  shell->Wheel(-120);
  EXPECT_EQ(shell->state().cursorRow, 0);  // posted, not yet run
  host.Pump();
  EXPECT_EQ(shell->state().cursorRow, 1);
  shell->KeyDown(vk::kShift);
  shell->Wheel(-240);
  host.Pump();
  EXPECT_EQ(shell->state().cursorRow, 9);
  shell->KeyUp(vk::kShift);
  shell->Wheel(120);
  host.Pump();
  EXPECT_EQ(shell->state().cursorRow, 8);

  shell->MiddleButtonDown();
  host.Pump();
  EXPECT_EQ(engine().trackMute[8], 1);
  host.Take();
  shell->LeftDoubleClick();
  host.Pump();
  EXPECT_EQ(host.Take(), Log{"associate NewFile.MUS"});
}

TEST_F(ShellTest, DispModeWrapsBothWays) {
  Press(vk::Digit(5));
  EXPECT_EQ(shell->state().dispMode, 3);
  Press(vk::Letter('Y'));
  EXPECT_EQ(shell->state().dispMode, 0);
  Press(vk::Numpad(6));
  Press(vk::Numpad(6));
  Press(vk::Digit(6));
  EXPECT_EQ(shell->state().dispMode, 3);
  Press(vk::Letter('Y'));
  EXPECT_EQ(shell->state().dispMode, 0);
  Press(vk::Letter('T'));
  EXPECT_EQ(shell->state().dispMode, 3);
  EXPECT_EQ(host.Take(), Log(7, "repaint"));
}

TEST_F(ShellTest, TempoKeysNeedAnAcceptedImage) {
  engine().tempo = 120;
  engine().songTempo = 90;
  for (int key : {vk::kPrior, vk::kNext, vk::kSpace}) Press(key);
  EXPECT_EQ(engine().tempo, 120);
  EXPECT_EQ(host.Take(), Log(3, "repaint"));

  engine().imageAccepted = 1;
  struct Case {
    int from, modifier, key, want;
  } cases[] = {
      {120, 0, vk::kPrior, 123},
      {120, vk::kControl, vk::kPrior, 121},
      {120, vk::kShift, vk::kPrior, 992},
      {991, 0, vk::kPrior, 992},
      {992, vk::kControl, vk::kPrior, 992},
      {120, 0, vk::kNext, 117},
      {120, vk::kControl, vk::kNext, 119},
      {120, vk::kShift, vk::kNext, 12},
      {13, 0, vk::kNext, 12},
      {200, 0, vk::kSpace, 90},
  };
  for (const Case& c : cases) {
    engine().tempo = static_cast<int16_t>(c.from);
    if (c.modifier) PressWith(c.modifier, c.key);
    else Press(c.key);
    EXPECT_EQ(engine().tempo, c.want) << c.from << " key " << c.key << " with " << c.modifier;
  }
}

TEST_F(ShellTest, VelocityKeysWorkOnlyInTheFirstMode) {
  PutCursor(0, 2);
  engine().velocity[2] = 127;
  Press(vk::kRight);
  EXPECT_EQ(engine().velocity[2], 127);
  Press(vk::kLeft);
  EXPECT_EQ(engine().velocity[2], 126);
  engine().velocity[2] = 0;
  Press(vk::kLeft);
  EXPECT_EQ(engine().velocity[2], 0);
  Press(vk::kRight);
  EXPECT_EQ(engine().velocity[2], 1);
  EXPECT_EQ(engine().velocity[3], 0);

  Press(vk::Digit(6));  // DispMode 1
  host.Take();
  Press(vk::kRight);
  Press(vk::kLeft);
  EXPECT_EQ(engine().velocity[2], 1);
  EXPECT_EQ(host.Take(), Log(2, "repaint"));
}

TEST_F(ShellTest, MuteSoloAndUnmask) {
  PutCursor(0, 2);  // track 3
  Press(vk::kSubtract);
  for (int t = 0; t < kTrackCount; ++t) EXPECT_EQ(engine().trackMute[t], t == 2 ? 0 : 1) << t;
  Press(vk::kReturn);
  EXPECT_EQ(engine().trackMute[2], 1);
  Press(vk::kReturn);
  EXPECT_EQ(engine().trackMute[2], 0);
  Press(vk::kReturn);
  Press(vk::kOemSemicolon);
  for (int t = 0; t < kTrackCount; ++t) EXPECT_EQ(engine().trackMute[t], 0) << t;
  Press(vk::kOemMinus);
  EXPECT_EQ(engine().trackMute[0], 1);
  Press(vk::kAdd);
  EXPECT_EQ(engine().trackMute[0], 0);
}

TEST_F(ShellTest, TrackLevelTogglesTheMetersOrRaisesTheToneWindow) {
  Press(vk::kTab);
  EXPECT_EQ(shell->state().modeEq, 0);
  Press(vk::kTab);
  EXPECT_EQ(shell->state().modeEq, 1);
  EXPECT_EQ(host.Take(), Log(2, "repaint"));
  PressWith(vk::kControl, vk::kTab);
  EXPECT_EQ(shell->state().modeEq, 1);
  EXPECT_EQ(host.Take(), (Log{"raise owned", "repaint"}));
}

TEST_F(ShellTest, CompileAsksThenLoadsTheImage) {
  core.compileResult = 500;
  host.answers = {false};
  Press(vk::Digit(7));
  EXPECT_EQ(host.Take(), Log{"ask -> NewFile.MUS\nコンパイル？ [yes]"});

  host.answers = {true};
  Press(vk::kF5);
  EXPECT_EQ(host.Take(), (Log{"ask -> NewFile.MUS\nコンパイル？ [yes]", "compile NewFile.MUS", "load image"}));
  EXPECT_EQ(shell->state().compiledSize, 500u);
  EXPECT_EQ(shell->state().lastCompiledFile, "NewFile.MUS");
}

TEST_F(ShellTest, CompileThatCannotOpenTheSourceLoadsNothing) {
  core.compileResult = 0;
  host.answers = {true};
  Press(vk::Letter('C'));
  EXPECT_EQ(host.Take(), (Log{"ask -> NewFile.MUS\nコンパイル？ [yes]", "compile NewFile.MUS"}));
  EXPECT_EQ(shell->state().lastCompiledFile, "");
  Press(vk::Letter('E'));
  EXPECT_EQ(host.Take(), Log{"message Tessaly32: 保存するデータがありません icon 1"});
}

TEST_F(ShellTest, CompileOfAnObjectFileDoesNothing) {
  for (const char* name : {"X.EMD", "song.emd", "dir/a.EmD"}) {
    settings.loadInFile = name;
    Shell other(host, core.Bind(host), settings);
    host.answers = {true};
    other.KeyDown(vk::Numpad(7));
    EXPECT_EQ(host.Take(), Log{}) << name;
  }
}

TEST_F(ShellTest, LoadMusWithAutoCompileAsksAtOnce) {
  host.dialogs = {{1, "/work/songs/tune.mus"}};
  Press(vk::Letter('L'));
  EXPECT_EQ(host.Take(), (Log{"open ファイル選択", "caption Tessaly32 - [/work/songs/tune.mus]",
                              "ask -> /work/songs/tune.mus\nコンパイル？ [yes]"}));
  const FileDialogRequest& request = host.requests.back();
  EXPECT_FALSE(request.save);
  EXPECT_EQ(request.initialFolder, "/music/");
  EXPECT_EQ(request.initialName, "NewFile");
  ASSERT_EQ(request.filters.size(), 2u);
  EXPECT_EQ(request.filters[0].description, "MUSファイル(*.mus)");
  EXPECT_EQ(request.filters[0].pattern, "*.mus");
  EXPECT_EQ(request.filters[1].description, "全てのファイル(*.*)");
  EXPECT_EQ(shell->state().currentFile, "/work/songs/tune.mus");
  EXPECT_EQ(settings.folders[kMusFolder].directory, "/music/");  // MusLastDir off
}

TEST_F(ShellTest, LoadMusRemembersTheFolderAndMayNotCompile) {
  settings.autoCompile = 0;
  settings.folders[kMusFolder].lastDir = 1;
  host.dialogs = {{1, "/work/songs/tune.mus"}};
  Press(vk::kOemSlash);
  EXPECT_EQ(host.Take(), (Log{"open ファイル選択", "caption Tessaly32 - [/work/songs/tune.mus]"}));
  EXPECT_EQ(settings.folders[kMusFolder].directory, "/work/songs/");

  host.dialogs = {{kDialogCancelled, ""}};
  Press(vk::kDivide);
  EXPECT_EQ(host.Take(), Log{"open ファイル選択"});
  EXPECT_EQ(shell->state().currentFile, "/work/songs/tune.mus");
}

TEST_F(ShellTest, LoadObjectPlaysAndForgetsTheCompile) {
  const ScratchFolder folder;
  std::vector<char> image(420, 0);
  RecordingCore::WriteImage(reinterpret_cast<uint8_t*>(image.data()), 420);
  std::ofstream(folder / "a.emd", std::ios::binary).write(image.data(), 420);
  std::ofstream(folder / "big.emd", std::ios::binary).write(std::vector<char>(16383).data(), 16383);

  core.compileResult = 500;
  host.answers = {true};
  Press(vk::Digit(7));
  settings.folders[kEmdFolder].lastDir = 1;
  host.Take();

  host.dialogs = {{1, (folder / "a.emd").string()}};
  Press(vk::Letter('O'));
  EXPECT_EQ(host.Take(), (Log{"open ファイル選択", "load image", "play from start"}));
  EXPECT_EQ(shell->state().compiledSize, 0u);
  EXPECT_EQ(shell->state().currentFile, "NewFile.MUS");
  EXPECT_EQ(settings.folders[kEmdFolder].directory, folder.path().string() + "/");
  EXPECT_EQ(host.requests.back().filters[0].description, "EMDファイル(*.emd)");

  Press(vk::Letter('E'));  // music plays, yet nothing was compiled
  EXPECT_EQ(host.Take(), Log{"message Tessaly32: 保存するデータがありません icon 1"});

  host.dialogs = {{1, (folder / "big.emd").string()}, {1, (folder / "none.emd").string()}};
  Press(vk::kMultiply);
  Press(vk::kOemColon);
  EXPECT_EQ(host.Take(), (Log{"open ファイル選択", "open ファイル選択"}));
}

TEST_F(ShellTest, ExportAsksForTheFileAfterACompile) {
  core.compileResult = 405;
  host.answers = {true};
  settings.loadInFile = "/work/songs/tune.mus";
  shell = std::make_unique<Shell>(host, core.Bind(host), settings);
  Press(vk::Digit(7));
  host.Take();
  settings.folders[kSmfFolder].lastDir = 1;
  host.dialogs = {{1, "/out/tune.mid"}};
  Press(vk::Letter('E'));
  EXPECT_EQ(host.Take(), (Log{"save ファイル保存", "export /out/tune.mid"}));
  const FileDialogRequest& request = host.requests.back();
  EXPECT_TRUE(request.save);
  EXPECT_EQ(request.initialName, "tune");
  ASSERT_EQ(request.filters.size(), 1u);
  EXPECT_EQ(request.filters[0].description, "SMF0ファイル(*.MID)");
  EXPECT_EQ(request.filters[0].pattern, "*.mid");
  EXPECT_EQ(settings.folders[kSmfFolder].directory, "/out/");
}

TEST_F(ShellTest, ExportNeedsMoreThanABareHeader) {
  core.compileResult = 404;
  host.answers = {true};
  Press(vk::Digit(7));
  host.Take();
  Press(vk::Letter('E'));
  EXPECT_EQ(host.Take(), Log{"message Tessaly32: 保存するデータがありません icon 1"});
}

TEST_F(ShellTest, WriteObjectSavesTheImageAsLongAsItsHeaderSays) {
  Press(vk::Letter('W'));
  EXPECT_EQ(host.Take(), Log{"message Tessaly32: 保存するデータがありません icon 1"});

  const ScratchFolder folder;
  core.compileResult = 450;
  host.answers = {true};
  Press(vk::Digit(7));
  host.dialogs = {{1, (folder / "out.emd").string()}};
  host.Take();
  Press(vk::kOemCaret);
  EXPECT_EQ(host.Take(), Log{"save ファイル保存"});
  EXPECT_EQ(host.requests.back().filters[0].description, "EMDファイル(*.emd)");
  EXPECT_EQ(host.requests.back().initialFolder, "/music/");
  EXPECT_EQ(fs::file_size(folder / "out.emd"), 450u);

  std::string missing = (folder / "no such folder" / "out.emd").string();
  host.dialogs = {{1, missing}};
  Press(vk::Letter('W'));
  Log log = host.Take();
  ASSERT_EQ(log.size(), 2u);
  EXPECT_EQ(log[1].rfind("message " + missing + ": ファイルを書き込めません\n", 0), 0u) << log[1];
}

TEST_F(ShellTest, EditorOpensSourcesAndFallsBackToTheTextEditor) {
  Press(vk::kHome);
  EXPECT_EQ(host.Take(), Log{"associate NewFile.MUS"});
  host.associationWorks = false;
  Press(vk::kHome);
  EXPECT_EQ(host.Take(), (Log{"associate NewFile.MUS", "editor NewFile.MUS"}));

  settings.loadInFile = "tune.txt";
  Shell other(host, core.Bind(host), settings);
  other.KeyDown(vk::kHome);
  EXPECT_EQ(host.Take(), Log{});
}

TEST_F(ShellTest, MenuItemsPostTheirKeys) {
  shell->MenuChosen(kMenuPlay);
  EXPECT_EQ(host.log, Log{});
  host.Pump();
  EXPECT_EQ(host.Take(), Log{"play from start"});
  Choose(kMenuToneWindow);
  Choose(kMenuAbout);
  Choose(kMenuDispModeUp);
  Choose(kMenuExit);
  Choose(40000);  // an id of the Tone window's menu
  EXPECT_EQ(host.Take(), (Log{"tone window", "about " + std::string(FileVersion()), "repaint", "close"}));
}

TEST_F(ShellTest, AboutOrTheDebugBox) {
  shell->KeyDown(vk::kShift);
  shell->KeyDown(vk::kControl);
  Press(vk::Letter('Z'));
  EXPECT_EQ(host.Take(), Log{"message debug: System:\t69 KB\nCore:\t12 KB\n icon 0"});
  shell->KeyUp(vk::kControl);
  Press(vk::Letter('Z'));
  EXPECT_EQ(host.Take(), Log{"about " + std::string(FileVersion())});
}

TEST_F(ShellTest, ModifiersFollowKeysAndActivation) {
  shell->KeyDown(vk::kShift);
  EXPECT_TRUE(shell->state().shiftDown);
  shell->KeyUp(vk::kShift);
  EXPECT_FALSE(shell->state().shiftDown);
  shell->Activated(false, true);
  EXPECT_FALSE(shell->state().shiftDown);
  EXPECT_TRUE(shell->state().ctrlDown);
}

TEST_F(ShellTest, OptionsApplyTheDeviceOnlyWhenSaved) {
  Press(vk::kF2);
  EXPECT_EQ(host.Take(), Log{"options"});
  host.optionsSaved = true;
  Press(vk::kF2);
  EXPECT_EQ(host.Take(), (Log{"options", "apply device"}));
}

TEST_F(ShellTest, ClosingAsksWhenExitCheckIsOn) {
  host.answers = {false, true};
  EXPECT_FALSE(shell->CloseRequested());
  EXPECT_TRUE(shell->CloseRequested());
  EXPECT_EQ(host.Take(), Log(2, "ask 終了しますか？ [no]"));
  settings.exitCheck = 0;
  EXPECT_TRUE(shell->CloseRequested());
  EXPECT_EQ(host.Take(), Log{});
}

TEST_F(ShellTest, DestructionClosesTheOutputAndKeepsTheStateInTheSettings) {
  host.dialogs = {{1, "/a/b.mus"}};
  settings.autoCompile = 0;
  Press(vk::Letter('L'));
  shell->KeepWindowPosition(33, 44);
  host.Take();
  shell->Destroyed();
  EXPECT_EQ(host.Take(), Log{"close output"});
  EXPECT_EQ(settings.loadInFile, "/a/b.mus");
  EXPECT_EQ(settings.windowLeft, 33);
  EXPECT_EQ(settings.windowTop, 44);
}

}  // namespace
}  // namespace tsy
