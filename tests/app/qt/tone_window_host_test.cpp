// The Tone window as the program opens it: one at a time, brought to the
// front when it is asked for again.
#include "app/qt/tone_window_host.h"

#include <gtest/gtest.h>

#include "core/engine/engine_call.h"
#include "core/settings/settings.h"
#include "display/qt/tone_window_widget.h"
#include "qt_app.h"

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

}  // namespace
}  // namespace tsy
