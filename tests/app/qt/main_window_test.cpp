// The main window on Qt: its size and caption, key events reaching the shell,
// the About box and the filters its file dialogs show.
#include "app/qt/main_window.h"

#include <gtest/gtest.h>

#include <QDialog>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

#include "app/qt/about_box.h"
#include "core/engine/engine_call.h"
#include "core/engine/engine_state.h"
#include "core/engine/state_snapshot.h"
#include "core/settings/settings.h"
#include "display/palette.h"
#include "qt_app.h"
#include "resources/version.h"
#include "scratch_folder.h"

namespace tsy {
namespace {

std::vector<std::string> calls;

// Core calls that only note what was asked: no device, no play thread.
CoreCalls NotingCore(ShellHost&, Settings&) {
  static EngineState engine;
  CoreCalls core;
  core.engine = &engine;
  core.compile = [](const std::string&, uint8_t*) { return 0u; };
  core.loadImage = [](const uint8_t*) { calls.push_back("load image"); };
  core.playFromStart = [] { calls.push_back("play from start"); };
  core.halt = [] { calls.push_back("halt"); };
  core.fadeOut = [] { calls.push_back("fade out"); };
  core.resume = [] { calls.push_back("resume"); };
  core.exportSmf = [](const std::string&) {};
  core.applyDeviceChoice = [] { calls.push_back("apply device"); };
  core.closeOutput = [] { calls.push_back("close output"); };
  return core;
}

// The same, over the program's own engine record, which the display shows.
CoreCalls NotingCoreOnTheEngine(ShellHost& host, Settings& settings) {
  CoreCalls core = NotingCore(host, settings);
  core.engine = &GetState();
  return core;
}

class MainWindowTest : public ::testing::Test {
 protected:
  MainWindowTest() {
    test::App();
    calls.clear();
    settings.loadInFile = "NewFile.MUS";
    settings.modeEq = 1;
    settings.windowLeft = settings.windowTop = kPositionUnset;
  }
  void Key(QEvent::Type type, int qtKey, Qt::KeyboardModifiers modifiers = {}) {
    QKeyEvent event(type, qtKey, modifiers);
    QApplication::sendEvent(&window(), &event);
  }
  MainWindow& window(MainWindow::CoreBinder bindCore = NotingCore) {
    if (!window_) window_ = std::make_unique<MainWindow>(settings, bindCore);
    return *window_;
  }

  Settings settings;
  std::unique_ptr<MainWindow> window_;
};

TEST_F(MainWindowTest, OpensAtItsSizeAndRunsTheStartUpChain) {
  window().show();
  EXPECT_EQ(window().size(), QSize(640, 480));
  EXPECT_EQ(window().minimumSize(), window().maximumSize());           // no sizing border
  for (int step = 0; step < 8; ++step) QApplication::processEvents();  // one link of the chain each
  EXPECT_EQ(window().windowTitle(), "Tessaly32 - [NewFile.MUS]");
  EXPECT_EQ(calls.front(), "apply device");
  EXPECT_EQ(window().shell().state().versionText, FileVersion());
}

TEST_F(MainWindowTest, KeyEventsReachTheShell) {
  Key(QEvent::KeyPress, Qt::Key_Y);
  EXPECT_EQ(window().shell().state().dispMode, 1);
  Key(QEvent::KeyPress, Qt::Key_Tab);  // a command, not a focus move
  EXPECT_EQ(window().shell().state().modeEq, 0);
  Key(QEvent::KeyPress, Qt::Key_Shift);
  EXPECT_TRUE(window().shell().state().shiftDown);
  Key(QEvent::KeyPress, Qt::Key_Down, Qt::ShiftModifier);
  EXPECT_EQ(window().shell().state().cursorRow, 8);
  Key(QEvent::KeyRelease, Qt::Key_Shift);
  EXPECT_FALSE(window().shell().state().shiftDown);
  Key(QEvent::KeyPress, Qt::Key_P, Qt::AltModifier);  // Alt combinations are the system's
  Key(QEvent::KeyPress, Qt::Key_1, Qt::KeypadModifier);
  EXPECT_EQ(calls.back(), "play from start");
  EXPECT_EQ(std::count(calls.begin(), calls.end(), "play from start"), 1);
}

// Nothing publishes the engine's copy here, as when play stands still: a
// command's repaint must still show its own change, not the state before it.
TEST_F(MainWindowTest, CommandRepaintShowsTheStateAfterTheCommandWhilePlayStandsStill) {
  ClearEngineState();
  ResetEngine();
  PublishEngineState();
  window(NotingCoreOnTheEngine).show();
  QApplication::processEvents();
  // Track 1's number on the selected row: black on red when muted, else on yellow.
  const auto numberGround = [&] { return window().grab().toImage().pixel(16 + 3, 16 + 4) & 0xFFFFFF; };
  ASSERT_EQ(numberGround(), kYellow);
  Key(QEvent::KeyPress, Qt::Key_Return);
  EXPECT_EQ(numberGround(), kRed);
  Key(QEvent::KeyPress, Qt::Key_Return);
  EXPECT_EQ(numberGround(), kYellow);
  window_.reset();
  ClearEngineState();
}

TEST_F(MainWindowTest, ClosingWritesTheStateBackAndClosesTheOutput) {
  settings.exitCheck = 0;
  window().show();
  window().move(120, 90);
  EXPECT_TRUE(window().close());
  EXPECT_EQ(calls.back(), "close output");
  EXPECT_EQ(settings.loadInFile, "NewFile.MUS");
  EXPECT_EQ(settings.windowLeft, window().pos().x());
}

TEST_F(MainWindowTest, AboutBoxShowsTheVersion) {
  QString title, version;
  test::WhenModalOpens([&](QWidget& box) {
    title = box.windowTitle();
    version = box.findChild<QLabel*>("version")->text();
  });
  ShowAboutBox(window(), "1.2.3");
  EXPECT_EQ(title, "バージョン情報");
  EXPECT_EQ(version, "Version 1.2.3");
}

// The compile result's columns line up in a fixed-pitch face; a box whose
// caption is a long path is wide enough to show it.
TEST_F(MainWindowTest, MessageBoxesFitTheirTextAndCaption) {
  const auto shown = [&](const std::string& caption) {
    bool fixedPitch = false;
    int width = 0, captionWidth = 0;
    test::WhenModalOpens([&](QWidget& box) {
      const QFontMetrics text(box.findChild<QLabel*>("qt_msgbox_label")->font());
      fixedPitch = text.horizontalAdvance("i") == text.horizontalAdvance("M");
      width = box.width();
      captionWidth = box.fontMetrics().horizontalAdvance(box.windowTitle());
    });
    window().host().ShowMessage(caption, "1:   8  2:  16", MessageIcon::kNone);
    return std::tuple{fixedPitch, width, captionWidth};
  };
  EXPECT_TRUE(std::get<0>(shown("解析小節数")));
  const auto [fixedPitch, width, captionWidth] = shown("/home/someone/music/a folder with a long name/song.mid");
  EXPECT_FALSE(fixedPitch) << "other boxes keep the usual face";
  EXPECT_GT(width, captionWidth);
}

// A name typed into a save dialog without an extension gets the filter's;
// one with an extension keeps it.
TEST_F(MainWindowTest, SaveDialogAddsTheFiltersExtensionToATypedName) {
  const ScratchFolder folder;
  const auto typed = [&](const char* name, const char* pattern) {
    test::WhenModalOpens([name](QWidget& dialog) {
      dialog.findChild<QLineEdit*>("fileNameEdit")->setText(name);
      static_cast<QDialog&>(dialog).accept();
    });
    FileDialogRequest request;
    request.save = true;
    request.filters = {{"Files", pattern}};
    request.initialFolder = folder.path().string();
    return window().host().RunFileDialog(request).path;
  };
  EXPECT_EQ(typed("song", "*.mid"), (folder / "song.mid").string());
  EXPECT_EQ(typed("song", "*.emd"), (folder / "song.emd").string());
  EXPECT_EQ(typed("song.smf", "*.mid"), (folder / "song.smf").string());
}

TEST(DialogFilterTest, DescriptionsKeepTheirOwnPattern) {
  EXPECT_EQ(DialogFilter({"MUSファイル(*.mus)", "*.mus"}), "MUSファイル(*.mus)");
  EXPECT_EQ(DialogFilter({"SMF0ファイル(*.MID)", "*.mid"}), "SMF0ファイル(*.MID)");
  EXPECT_EQ(DialogFilter({"Tones", "*.EQN"}), "Tones (*.EQN)");
}

}  // namespace
}  // namespace tsy
