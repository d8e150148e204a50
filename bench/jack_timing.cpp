// How closely play keeps time where it is heard: a JACK server with its
// dummy backend (48 kHz, 32-frame periods) is started by the benchmark,
// which plays a dense 16-track piece through a JACK MIDI port into a sink
// client of its own that stamps every arrival with its frame's time on
// JACK's clock, while another thread keeps the second core busy. Prints
// the port's latency (every message reaches JACK that long after it is
// sent: one period and a margin) and |arrival - ideal| of the note-ons
// (tick k is heard (k - 1) × 1250 / tempo ms after the play clock's origin
// plus that latency; ticks 0 and 1 at the origin) as p50 / p99 / max, and
// whether the play thread got real-time scheduling.
//
// Arrivals are stamped twice: on JACK's frame clock, as any JACK client
// sees them (the frame's time by jack_frames_to_time), and on the system
// clock (when the sink's callback ran, plus the frame's offset). The two
// agree until the dummy backend's timer wakes late (a busy virtual machine
// does that now and then): JACK's frame clock then runs ahead of the
// system clock by up to tens of milliseconds for a second or so, and every
// message of that second looks late on it, though it arrived in time.
// Such a server may also drop a whole period's MIDI between clients; the
// first line counts what arrived.
//
// usage: jack_timing [SECONDS]   (default 20 s of music; needs jackd)

#include <fcntl.h>
#include <jack/jack.h>
#include <jack/midiport.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "core/compiler/compile_driver.h"
#include "core/engine/engine_call.h"
#include "core/engine/load_image.h"
#include "core/engine/play_controls.h"
#include "core/engine/play_thread.h"
#include "midiout/device_choice.h"
#include "midiout/output_opening.h"
#include "platform/thread_timing.h"
#include "timing_figures.h"

extern char** environ;

namespace tsy {
namespace {

using Clock = std::chrono::steady_clock;

constexpr int kTracks = 16;
constexpr int kTempo = 120;
constexpr int kNoteTicks = 12;  // sixteenths on every track
constexpr double kTickMs = 1250.0 / kTempo;
constexpr const char* kSinkName = "tsy-bench-sink";
constexpr size_t kMostArrivals = 1 << 20;

// The piece: every track plays sixteenths, in lockstep, on its own channel.
std::string DenseSource(int bars) {
  std::string source;
  for (int t = 1; t <= kTracks; ++t)
    source += std::to_string(t) + "[ " + (t == 1 ? "t" + std::to_string(kTempo) + " " : "") + "@ch" +
              std::to_string(t) + " @19 v12 o4 l16 (cdefgab>c<bagfedcd)" + std::to_string(bars) + " ]\n";
  return source;
}

// The sink client: stamps note-ons as they arrive, in the process callback.
struct Sink {
  jack_client_t* client = nullptr;
  jack_port_t* input = nullptr;
  std::vector<jack_time_t> arrivals = std::vector<jack_time_t>(kMostArrivals);  // on JACK's frame clock
  std::vector<jack_time_t> system = std::vector<jack_time_t>(kMostArrivals);    // on the system clock
  std::atomic<size_t> count{0};
};

int Process(jack_nframes_t frames, void* data) {
  auto* sink = static_cast<Sink*>(data);
  void* buffer = jack_port_get_buffer(sink->input, frames);
  const jack_nframes_t cycleStart = jack_last_frame_time(sink->client);
  const jack_time_t now = jack_get_time();
  const jack_nframes_t rate = jack_get_sample_rate(sink->client);
  const uint32_t events = jack_midi_get_event_count(buffer);
  for (uint32_t i = 0; i < events; ++i) {
    jack_midi_event_t event;
    if (jack_midi_event_get(&event, buffer, i) != 0 || event.size != 3) continue;
    if ((event.buffer[0] & 0xF0) != 0x90 || event.buffer[2] == 0) continue;
    const size_t n = sink->count.load(std::memory_order_relaxed);
    if (n >= kMostArrivals) continue;
    sink->arrivals[n] = jack_frames_to_time(sink->client, cycleStart + event.time);
    sink->system[n] = now + static_cast<jack_time_t>(event.time) * 1000000 / rate;
    sink->count.store(n + 1, std::memory_order_release);
  }
  return 0;
}

// Starts jackd under `server`; its pid, or -1.
pid_t StartServer(const std::string& server) {
  std::vector<std::string> words = {"jackd", "-n", server, "-d", "dummy", "-r", "48000", "-p", "32"};
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  pid_t pid = -1;
  if (posix_spawnp(&pid, "jackd", &actions, nullptr, argv.data(), environ) != 0) pid = -1;
  posix_spawn_file_actions_destroy(&actions);
  return pid;
}

void IgnoreJackMessage(const char*) {}

// The sink's client, once the server takes clients; libjack's complaints
// about a server still starting are not worth printing.
jack_client_t* OpenSinkClient() {
  jack_set_error_function(IgnoreJackMessage);
  jack_set_info_function(IgnoreJackMessage);
  for (int attempt = 0; attempt < 100; ++attempt) {
    jack_status_t status{};
    if (jack_client_t* client = jack_client_open(kSinkName, JackNoStartServer, &status)) return client;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return nullptr;
}

// JACK's clock minus the monotonic clock, in microseconds, taken where the
// two readings lie closest together.
double JackClockOffsetUs() {
  double best = 1e18, offset = 0;
  for (int i = 0; i < 1000; ++i) {
    const Clock::time_point before = Clock::now();
    const jack_time_t jack = jack_get_time();
    const Clock::time_point after = Clock::now();
    const double spread = std::chrono::duration<double, std::micro>(after - before).count();
    if (spread >= best) continue;
    best = spread;
    const double mid =
        std::chrono::duration<double, std::micro>((before + (after - before) / 2).time_since_epoch()).count();
    offset = static_cast<double>(jack) - mid;
  }
  return offset;
}

}  // namespace
}  // namespace tsy

int main(int argc, char** argv) {
  using namespace tsy;
  const double seconds = argc > 1 ? std::atof(argv[1]) : 20.0;
  const int bars = std::clamp(static_cast<int>(seconds / 2), 1, 255);

  const std::string server = "tsy-bench-" + std::to_string(getpid());
  setenv("JACK_DEFAULT_SERVER", server.c_str(), 1);
  const pid_t jackd = StartServer(server);
  if (jackd < 0) {
    std::fprintf(stderr, "jack_timing: jackd could not be started (Debian: jackd1)\n");
    return 1;
  }
  Sink sink;
  sink.client = OpenSinkClient();
  if (!sink.client) {
    std::fprintf(stderr, "jack_timing: the JACK server did not come up\n");
    kill(jackd, SIGTERM);
    return 1;
  }
  sink.input = jack_port_register(sink.client, "in", JACK_DEFAULT_MIDI_TYPE, JackPortIsInput, 0);
  jack_set_process_callback(sink.client, Process, &sink);
  jack_activate(sink.client);

  const CompileResult compiled = CompileSource(DenseSource(bars));
  std::string device = std::string(kSinkName) + ":in";
  ApplyDeviceChoice(device, [](const std::string& text) { std::fprintf(stderr, "output: %s\n", text.c_str()); });
  LoadImage(compiled.image.data(), compiled.image.size());

  auto load = std::make_unique<bench::OtherCoreBusy>();
  const double latencyUs = static_cast<double>(OpenOutputLatency().count());
  const double originUs = std::chrono::duration<double, std::micro>(bench::StartPlaying().time_since_epoch()).count() +
                          JackClockOffsetUs() + latencyUs;
  bench::AwaitTheEnd();
  std::this_thread::sleep_for(std::chrono::milliseconds(100));  // the last period reaches the sink
  load.reset();
  CloseOutput();
  jack_deactivate(sink.client);
  jack_client_close(sink.client);
  kill(jackd, SIGTERM);
  waitpid(jackd, nullptr, 0);

  const size_t count = sink.count.load();
  if (count == 0) {
    std::fprintf(stderr, "jack_timing: no note arrived\n");
    return 1;
  }
  // Every track plays the same rhythm, a note-on every 12 ticks; each arrival
  // belongs to the nearest of those ticks on the system clock, so that a
  // message the server loses does not shift the rest.
  auto idealUs = [&](long tick) { return originUs + (tick <= 1 ? 0 : (tick - 1) * kTickMs * 1000); };
  std::vector<long> ticks;
  for (size_t k = 0; k < count; ++k) {
    const double ticksIn = (static_cast<double>(sink.system[k]) - originUs) / 1000 / kTickMs + 1;
    ticks.push_back(kNoteTicks * std::max(0L, std::lround(ticksIn / kNoteTicks)));
  }
  auto errors = [&](const std::vector<jack_time_t>& stamps) {
    std::vector<double> magnitude;
    for (size_t k = 0; k < count; ++k)
      magnitude.push_back(std::fabs(static_cast<double>(stamps[k]) - idealUs(ticks[k])) / 1000);
    std::sort(magnitude.begin(), magnitude.end());
    return magnitude;
  };
  const size_t expected = static_cast<size_t>(kTracks) * 16 * static_cast<size_t>(bars);
  std::printf(
      "jack_timing: %zu of %zu note-ons arrived through a JACK MIDI port (dummy backend, 48 kHz, 32-frame periods"
      " = 0.67 ms), the other core busy\n",
      count, expected);
  std::printf("  latency of the port (constant): %.3f ms\n", latencyUs / 1000);
  for (const auto& [clock, stamps] :
       {std::pair("JACK's frame clock", &sink.arrivals), {"the system clock", &sink.system}}) {
    const std::vector<double> magnitude = errors(*stamps);
    std::printf("  |arrival - ideal| on %-18s  p50 %.3f ms  p99 %.3f ms  max %.3f ms\n", clock,
                bench::Percentile(magnitude, 0.5), bench::Percentile(magnitude, 0.99), magnitude.back());
  }
  std::printf("  play thread: %s\n",
              RealTimeRefused() ? "no real-time scheduling (refused)" : "real-time (SCHED_FIFO)");
  return 0;
}
