// How closely the play thread keeps time: a dense 48-track piece is played
// into a recorder that stamps every message with the monotonic clock, while
// another thread keeps the second core busy. Prints the deviation of each
// note message's send time from its tick's ideal time (tick k is due at
// (k - 1) × 1250 / tempo ms after the play clock's origin; ticks 0 and 1 at
// 0) as p50 / p99 / max, and the play thread's CPU time per second of music.
//
// usage: play_timing [SECONDS]   (default 20 s of music)

#include <time.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>
#include <vector>

#include "core/engine/engine_call.h"
#include "core/engine/load_image.h"
#include "core/engine/play_controls.h"
#include "core/engine/play_thread.h"
#include "midiout/builtin_synth.h"
#include "midiout/device_choice.h"
#include "midiout/recording_output.h"
#include "timing_figures.h"

namespace tsy {
namespace {

using Clock = std::chrono::steady_clock;
using Bytes = std::vector<uint8_t>;

constexpr int kTempo = 120;
constexpr int kNoteTicks = 12;    // sixteenth notes on every track
constexpr int kNoteOffTick = 10;  // gate 7/8 of 12 ticks
constexpr int kNotesPerBar = 192 / kNoteTicks;
constexpr double kTickMs = 1250.0 / kTempo;

// One track: a bar of sixteenths (with an expression change at its start)
// repeated `bars` times, on channel t mod 16.
Bytes Track(int t, int bars) {
  Bytes track = {0xE8, 0x01, 0x00, 0x00, 0xB0, 11, static_cast<uint8_t>(100 + t % 20)};
  for (int n = 0; n < kNotesPerBar; ++n)
    track.insert(track.end(), {static_cast<uint8_t>(36 + (t * 7 + n * 5) % 60), 0x03, 7, 0, kNoteTicks});
  track.insert(track.end(), {0xE9, 0x00, static_cast<uint8_t>(bars)});
  return track;
}

Bytes DenseImage(int bars) {
  Bytes image(kImageHeaderSize, 0);
  std::memcpy(image.data(), "EMD1", 4);
  image[kVersionField] = 23;
  for (int t = 0; t < kTrackCount; ++t) {
    const uint32_t offset = static_cast<uint32_t>(image.size());
    WriteU32(&image[TrackOffsetEntry(t + 1)], offset);
    const Bytes track = Track(t, bars);
    image.insert(image.end(), track.begin(), track.end());
    image.insert(image.end(), {0xFF, 0xFF, 0xFF, 0x2E});
  }
  const uint32_t length = static_cast<uint32_t>(image.size());
  std::memcpy(&image[kImageLengthField], &length, 4);
  return image;
}

double CpuSeconds(clockid_t clock) {
  timespec ts;
  clock_gettime(clock, &ts);
  return ts.tv_sec + ts.tv_nsec / 1e9;
}

// Deviations in ms of every note message from its tick's ideal time. The
// k-th note-on of the piece belongs to tick 12 × (k / 48), its note-off to
// 10 ticks later: every track plays the same rhythm.
std::vector<double> Deviations(const std::vector<RecordedMessage>& messages, Clock::time_point origin) {
  std::vector<double> out;
  size_t ons = 0, offs = 0;
  for (const RecordedMessage& m : messages) {
    const uint8_t kind = m.bytes[0] & 0xF0;
    long tick;
    if (kind == 0x90 && m.bytes[2] > 0) tick = kNoteTicks * static_cast<long>(ons++ / kTrackCount);
    else if (kind == 0x80) tick = kNoteTicks * static_cast<long>(offs++ / kTrackCount) + kNoteOffTick;
    else continue;
    const double ideal = tick <= 1 ? 0 : (tick - 1) * kTickMs;
    out.push_back(std::chrono::duration<double, std::milli>(m.sentAt - origin).count() - ideal);
  }
  return out;
}

}  // namespace
}  // namespace tsy

int main(int argc, char** argv) {
  using namespace tsy;
  const double seconds = argc > 1 ? std::atof(argv[1]) : 20.0;
  const int bars = std::clamp(static_cast<int>(seconds / 2), 1, 255);

  RecordingPorts ports({"Timing Recorder"});
  UsePortDirectory(&ports);
  std::string device = "Timing Recorder";
  ApplyDeviceChoice(device, [](const std::string& text) { std::fprintf(stderr, "output: %s\n", text.c_str()); });
  const Bytes image = DenseImage(bars);
  LoadImage(image.data(), image.size());
  Recording& recording = ports.recording(0);
  recording.Reserve(static_cast<size_t>(bars) * kNotesPerBar * kTrackCount * 2 + 4096);

  auto load = std::make_unique<bench::OtherCoreBusy>();
  const Clock::time_point origin = bench::StartPlaying();
  const double cpuStart = CpuSeconds(CLOCK_PROCESS_CPUTIME_ID);
  const double mainStart = CpuSeconds(CLOCK_THREAD_CPUTIME_ID);
  clockid_t loadClock;
  pthread_getcpuclockid(load->handle(), &loadClock);
  const double loadStart = CpuSeconds(loadClock);
  bench::AwaitTheEnd();
  const double music = std::chrono::duration<double>(Clock::now() - origin).count();
  const double playCpu = (CpuSeconds(CLOCK_PROCESS_CPUTIME_ID) - cpuStart) - (CpuSeconds(loadClock) - loadStart) -
                         (CpuSeconds(CLOCK_THREAD_CPUTIME_ID) - mainStart);
  load.reset();
  CloseOutput();
  UsePortDirectory(nullptr);

  std::vector<double> deviation = Deviations(recording.Messages(), origin);
  if (deviation.empty()) {
    std::fprintf(stderr, "no note messages were recorded\n");
    return 1;
  }
  std::vector<double> magnitude(deviation.size());
  std::transform(deviation.begin(), deviation.end(), magnitude.begin(), [](double d) { return std::fabs(d); });
  std::sort(magnitude.begin(), magnitude.end());
  const auto [earliest, latest] = std::minmax_element(deviation.begin(), deviation.end());

  std::printf("play timing: 48 tracks, tempo %d, %.1f s of music, %zu note messages, other core busy\n", kTempo, music,
              deviation.size());
  std::printf("  deviation |send - ideal|  p50 %.3f ms   p99 %.3f ms   max %.3f ms   (targets p99 <= 0.5, max <= 2)\n",
              bench::Percentile(magnitude, 0.50), bench::Percentile(magnitude, 0.99), magnitude.back());
  std::printf("  earliest %+.3f ms, latest %+.3f ms\n", *earliest, *latest);
  std::printf("  play thread CPU: %.2f %% of a core per second of music   (target <= 2 %%)\n", 100.0 * playCpu / music);
  std::printf(
      "built-in synthesiser: audio latency %.1f ms (%d periods of %d frames at %d Hz);\n"
      "  events land within one %d-frame block (%.2f ms)\n",
      1000.0 * kSynthPeriods * kSynthPeriodFrames / kSynthSampleRate, kSynthPeriods, kSynthPeriodFrames,
      kSynthSampleRate, kSynthPeriodFrames, 1000.0 * kSynthPeriodFrames / kSynthSampleRate);
  return 0;
}
