// Paints the whole track display from a busy state (48 tracks sounding
// four-note chords with tied lengths, every channel set, a comment) and
// prints the time per paint: through Qt onto a 640 x 480 picture when the
// desktop program is built, and through the recording canvas, which measures
// the painter's own work. The target is 2 ms per paint.

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "core/engine/engine_state.h"
#include "display/recording_canvas.h"
#include "display/track_display.h"

#if TSY_BENCH_QT
#include "display/qt/qt_canvas.h"

#include <QGuiApplication>
#include <QImage>
#endif

namespace {

using namespace tsy;

uint8_t image[16383];

std::unique_ptr<EngineState> BusyState() {
  auto s = std::make_unique<EngineState>();
  s->imageAccepted = 1;
  s->imageVersion = 23;
  s->imageData = image + 400;
  s->tempo = 132;
  s->resetsSeen = kResetGmSystemOn | kResetGs;
  const char comment[] = "Benchmark: every track plays a chord";
  for (size_t i = 0; i < sizeof comment; ++i) s->trackText[i] = comment[i];
  for (int t = 0; t < kTrackCount; ++t) {
    s->trackPos[t] = image + 400 + 37 * t;
    s->trackChannel[t] = static_cast<uint8_t>(t % 16);
    s->trackTag[t] = static_cast<uint8_t>(t % 7);
    s->velocity[t] = static_cast<uint8_t>(90 + t % 30);
    s->chordSize[t] = 4;
    for (int j = 0; j < 4; ++j) s->eventNotes[t][j] = static_cast<uint8_t>(36 + t + 4 * j);
    s->noteState[t] = kNoteSounding;
    s->noteFlags[t] = static_cast<uint8_t>(t % 2 ? 4 : 8);
    s->lengthValues[t][0] = 4;
    s->lengthValues[t][1] = 8;
    s->lengthValues[t][2] = 16;
    s->lengthValueCount[t] = 2;
    s->msSinceOn[t] = static_cast<uint32_t>(t * 7);
  }
  for (int c = 0; c < kChannelCount; ++c) {
    s->chanFlags[c] = c == 9 ? kChanRhythmNames : kChanSustain;
    s->program[c] = static_cast<uint8_t>(c * 5);
    s->volume[c] = 120;
    s->pan[c] = static_cast<uint8_t>(c * 8);
    s->expression[c] = 127;
    s->reverb[c] = 40;
    s->chorus[c] = 10;
    s->fineTune[c] = 8192;
    s->bendNow[c] = static_cast<float>(c * 100);
  }
  return s;
}

// Paints `count` times, moving the clock, the mode and the meter view as the
// music and the user would; returns ms per paint.
double MeasurePaints(Canvas& window, const EngineState& s, int count) {
  TrackDisplay display;
  TrackDisplayView view;
  view.texts.versionText = "0.1.0";
  view.texts.legalText = "(c) the Tessaly32 developers";
  auto& mutableState = const_cast<EngineState&>(s);
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < count; ++i) {
    mutableState.tick = static_cast<uint32_t>(i * 4);
    mutableState.barTick = static_cast<uint32_t>(i * 4 % 192);
    mutableState.passMs = static_cast<uint32_t>(i * 41);
    view.dispMode = (i / 50) % 4;
    view.modeEq = (i / 100) % 2 == 0;
    display.PaintFrom(window, s, EngineStatus::kPlaying, view, static_cast<uint32_t>(i * 41));
  }
  const std::chrono::duration<double, std::milli> elapsed = std::chrono::steady_clock::now() - start;
  return elapsed.count() / count;
}

}  // namespace

int main(int argc, char** argv) {
  const int count = argc > 1 ? std::atoi(argv[1]) : 2000;
  auto state = BusyState();

  RecordingCanvas recording;
  std::printf("painter only (recording canvas): %.3f ms per paint\n", MeasurePaints(recording, *state, count));

#if TSY_BENCH_QT
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QGuiApplication app(argc, argv);
  QImage frame(640, 480, QImage::Format_RGB32);
  frame.fill(Qt::black);
  QtCanvas canvas(frame);
  std::printf("Qt, 640 x 480 picture:           %.3f ms per paint (target 2 ms)\n",
              MeasurePaints(canvas, *state, count));
#endif
  return 0;
}
