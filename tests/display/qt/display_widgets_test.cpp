// The display widgets in a window system: the track display fills and paints
// its parent without taking focus or mouse events; the Tone window opens
// once, where the settings put it, and keeps its position when it closes.

// The engine headers come before Qt's, whose `slots` macro they must not meet.
#include "app/shell.h"
#include "core/engine/engine_call.h"
#include "core/settings/settings.h"
#include "display/qt/tone_window_widget.h"
#include "display/qt/track_display_widget.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>

namespace tsy {
namespace {

class DisplayWidgetsTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    static int argc = 1;
    static char name[] = "display_widgets_test";
    static char* argv[] = {name, nullptr};
    if (!QApplication::instance()) new QApplication(argc, argv);
  }
};

TEST_F(DisplayWidgetsTest, TrackDisplayFillsItsParentAndLetsEventsThrough) {
  ClearEngineState();
  QWidget main;
  main.setFixedSize(640, 480);
  ShellState shell;
  TrackDisplayWidget display(&main, [&] { return TrackDisplayViewOf(shell); });
  EXPECT_EQ(display.geometry(), main.rect());
  EXPECT_EQ(display.focusPolicy(), Qt::NoFocus);
  EXPECT_TRUE(display.testAttribute(Qt::WA_TransparentForMouseEvents));

  const QImage shown = display.grab().toImage();
  EXPECT_EQ(shown.pixel(176 + 7 * 10 + 1, 244 + 28 + 20), qRgb(255, 255, 255));     // a white key
  EXPECT_EQ(shown.pixel(176 + 7 * 10 + 6, 244 + 28 + 20), qRgb(0x77, 0x77, 0x77));  // between keys
}

TEST_F(DisplayWidgetsTest, ToneWindowOpensOnceCentredAndKeepsItsPosition) {
  ClearEngineState();
  QWidget main;
  main.setFixedSize(640, 480);
  main.move(100, 50);
  Settings settings;
  settings.toneWindowLeft = kPositionUnset;
  settings.toneWindowTop = kPositionUnset;
  settings.refreshPeriod = 41;
  OpenToneWindow(main, settings);
  OpenToneWindow(main, settings);
  auto windows = main.findChildren<ToneWindowWidget*>();
  ASSERT_EQ(windows.size(), 1);
  ToneWindowWidget* tone = windows.front();
  EXPECT_EQ(tone->windowTitle(), "ToneWindow");
  EXPECT_EQ(tone->objectName(), "ToneWindow");
  EXPECT_TRUE(tone->windowFlags() & Qt::Tool);
  EXPECT_EQ(tone->size(), QSize(480, 204));
  const QPoint centre = main.frameGeometry().center();
  EXPECT_EQ(tone->frameGeometry().topLeft(), QPoint(centre.x() - 243, centre.y() - 126));

  tone->move(30, 40);
  EXPECT_TRUE(tone->close());  // ExitCheck is off: no question
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(main.findChildren<ToneWindowWidget*>().isEmpty());
  EXPECT_EQ(settings.toneWindowLeft, 30);
  EXPECT_EQ(settings.toneWindowTop, 40);
}

}  // namespace
}  // namespace tsy
