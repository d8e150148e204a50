// The Tone window as the program opens it: one at a time, brought to the
// front when it is asked for again.
#include "app/qt/tone_window_host.h"

#include <gtest/gtest.h>

#include "core/engine/engine_call.h"
#include "core/engine/state_snapshot.h"
#include "core/settings/settings.h"
#include "core/settings/tone_files.h"
#include "display/qt/tone_window_widget.h"
#include "qt_app.h"
#include "scratch_folder.h"

#include <QKeyEvent>
#include <fstream>

namespace tsy {
namespace {

TEST(ToneWindowHost, OpensOneToneWindowAtATime) {
  test::App();
  ClearEngineState();
  QWidget main;
  Settings settings;
  settings.toneWindowLeft = settings.toneWindowTop = kPositionUnset;
  OpenToneWindow(main, settings);
  OpenToneWindow(main, settings);
  const auto windows = main.findChildren<ToneWindowWidget*>();
  ASSERT_EQ(windows.size(), 1);
  EXPECT_TRUE(windows.front()->isVisible());
  windows.front()->close();
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(main.findChildren<ToneWindowWidget*>().isEmpty());

  OpenToneWindow(main, settings);  // once closed, it opens anew
  EXPECT_EQ(main.findChildren<ToneWindowWidget*>().size(), 1);
  delete main.findChildren<ToneWindowWidget*>().front();
}

// Nothing publishes the engine's copy here, as when play stands still: the
// program that Enter sends must be what the window paints next, not the one before.
TEST(ToneWindowHost, EnterPaintsTheProgramItSent) {
  test::App();
  ClearEngineState();
  ResetEngine();
  PublishEngineState();
  const ScratchFolder folder;
  std::ofstream(folder / "tones.eqn") << "Piano,0,0,0\nOrgan,19,0,0\n";
  Settings settings;
  settings.toneWindowLeft = settings.toneWindowTop = kPositionUnset;
  settings.tone1 = (folder / "tones.eqn").string();
  ASSERT_TRUE(LoadToneFiles(settings).empty());
  QWidget main;
  OpenToneWindow(main, settings);
  ToneWindowWidget* tone = main.findChild<ToneWindowWidget*>();
  ASSERT_NE(tone, nullptr);
  for (int key : {Qt::Key_Down, Qt::Key_Return}) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(tone, &press);
  }
  EngineState shown;
  ReadEngineState(shown);
  EXPECT_EQ(shown.program[0], 19);
  delete tone;
  ClearEngineState();
}

}  // namespace
}  // namespace tsy
