// The display widgets in a window system: the track display fills and paints
// its parent without taking focus or mouse events; the Tone window opens
// where the settings put it, and keeps its position when it closes.

// The engine headers come before Qt's, whose `slots` macro they must not meet.
#include "core/engine/engine_call.h"
#include "core/settings/settings.h"
#include "display/qt/tone_window_widget.h"
#include "display/qt/track_display_widget.h"

#include <gtest/gtest.h>

#include "qt_app.h"

#include <QApplication>
#include <QImage>
#include <QPointer>

namespace tsy {
namespace {

// A Tone window logic's program that has no output and no other window.
class SilentToneHost : public ToneWindowHost {
 public:
  void SendShort(MessageWord) override {}
  void Play(PlayControl) override {}
  void RepaintTone() override {}
  void RepaintMain() override {}
  void Close() override {}
  void ActivateNextWindow() override {}
  bool AutoJump() override { return false; }
  std::shared_ptr<const ToneLists> Lists() override { return std::make_shared<ToneLists>(); }
};

class DisplayWidgetsTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { test::App(); }
};

TEST_F(DisplayWidgetsTest, TrackDisplayFillsItsParentAndLetsEventsThrough) {
  ClearEngineState();
  QWidget main;
  main.setFixedSize(640, 480);
  TrackDisplayWidget display(&main, [] { return TrackDisplayView{}; });
  EXPECT_EQ(display.geometry(), main.rect());
  EXPECT_EQ(display.focusPolicy(), Qt::NoFocus);
  EXPECT_TRUE(display.testAttribute(Qt::WA_TransparentForMouseEvents));

  const QImage shown = display.grab().toImage();
  EXPECT_EQ(shown.pixel(176 + 7 * 10 + 1, 244 + 28 + 20), qRgb(255, 255, 255));     // a white key
  EXPECT_EQ(shown.pixel(176 + 7 * 10 + 6, 244 + 28 + 20), qRgb(0x77, 0x77, 0x77));  // between keys
}

TEST_F(DisplayWidgetsTest, ToneWindowOpensCentredAndKeepsItsPosition) {
  ClearEngineState();
  SilentToneHost host;
  ToneWindow logic(host, GetState());
  QWidget main;
  main.setFixedSize(640, 480);
  main.move(100, 50);
  Settings settings;
  settings.toneWindowLeft = kPositionUnset;
  settings.toneWindowTop = kPositionUnset;
  settings.refreshPeriod = 41;
  QPointer<ToneWindowWidget> tone = new ToneWindowWidget(main, settings, logic);
  tone->show();
  EXPECT_EQ(tone->windowTitle(), "ToneWindow");
  EXPECT_EQ(tone->objectName(), "ToneWindow");
  EXPECT_TRUE(tone->windowFlags() & Qt::Tool);
  EXPECT_EQ(tone->size(), QSize(480, 204));
  const QPoint centre = main.frameGeometry().center();
  EXPECT_EQ(tone->frameGeometry().topLeft(), QPoint(centre.x() - 243, centre.y() - 126));

  tone->move(30, 40);
  EXPECT_TRUE(tone->close());  // ExitCheck is off: no question
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(tone.isNull()) << "a closed Tone window is deleted";
  EXPECT_EQ(settings.toneWindowLeft, 30);
  EXPECT_EQ(settings.toneWindowTop, 40);

  // The next window opens where the last one was.
  tone = new ToneWindowWidget(main, settings, logic);
  EXPECT_EQ(tone->frameGeometry().topLeft(), QPoint(30, 40));
  delete tone;
}

}  // namespace
}  // namespace tsy
