#include "midiout/jack_midi_port.h"

#ifdef TSY_HAVE_JACK
#include <jack/jack.h>
#include <jack/midiport.h>
#include <jack/ringbuffer.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <thread>

#include "midiout/library_logs.h"
#endif

namespace tsy {

#ifdef TSY_HAVE_JACK
namespace {

constexpr const char* kClientName = "Tessaly32";
constexpr const char* kPortName = "out";
constexpr size_t kRingBytes = 1 << 16;  // about 6,000 short messages: several periods of the densest music
// Beyond one period: the process callback starts a little after its
// period's moment, and JACK's clock is read from another thread.
constexpr jack_time_t kLatencyMarginUs = 250;
// The longest a closing port waits for its last messages to reach JACK.
constexpr std::chrono::milliseconds kMostDrain{250};

// One message in the ring: when it is due on JACK's clock, its length, then its bytes.
struct Header {
  jack_time_t due;
  uint32_t length;
};

// A client of the server that runs now, or null; the libraries stay quiet.
jack_client_t* OpenClient() {
  QuietLibraryLogs();
  jack_status_t status{};
  return jack_client_open(kClientName, JackNoStartServer, &status);
}

class JackMidiPort final : public ByteOutput {
 public:
  ~JackMidiPort() override {
    if (client_) {
      Drain();
      jack_deactivate(client_);
      jack_client_close(client_);
    }
    if (ring_) jack_ringbuffer_free(ring_);
  }

  // Registers the port and starts the callback; false when the server refuses.
  bool Open(const std::string& target) {
    client_ = OpenClient();
    if (!client_) return false;
    port_ = jack_port_register(client_, kPortName, JACK_DEFAULT_MIDI_TYPE, JackPortIsOutput, 0);
    ring_ = jack_ringbuffer_create(kRingBytes);
    if (!port_ || !ring_) return false;
    jack_ringbuffer_mlock(ring_);  // the process callback never waits for a page
    const double periodUs = 1e6 * jack_get_buffer_size(client_) / jack_get_sample_rate(client_);
    latencyUs_ = static_cast<jack_time_t>(periodUs) + kLatencyMarginUs;
    jack_set_process_callback(client_, Process, this);
    jack_on_info_shutdown(client_, Shutdown, this);
    if (jack_activate(client_) != 0) return false;
    return target.empty() || jack_connect(client_, jack_port_name(port_), target.c_str()) == 0;
  }

  BackendKind kind() const override { return BackendKind::kSystemPort; }
  void Reset() override { SilenceEveryChannel(*this); }

  std::chrono::microseconds latency() const override { return std::chrono::microseconds(latencyUs_); }

 private:
  // Lets what is still queued (the silence of Reset, last of all) reach
  // JACK before the port goes: the ring emptied, then two more periods, so
  // that the one that took its last messages has reached every client
  // after ours. Bounded, and not waited for once the server is gone.
  void Drain() const {
    if (!ring_ || jack_ringbuffer_read_space(ring_) == 0) return;
    using std::chrono::steady_clock;
    const steady_clock::time_point limit = steady_clock::now() + kMostDrain;
    auto waitFor = [&](auto done) {
      while (!gone_ && !done() && steady_clock::now() < limit)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    };
    waitFor([&] { return jack_ringbuffer_read_space(ring_) == 0; });
    const uint32_t emptiedAt = periods_.load();
    waitFor([&] { return periods_.load() - emptiedAt >= 2; });
  }

  // A message the ring has no room for is lost, as one a device did not take.
  void Send(const uint8_t* bytes, size_t length) override {
    if (gone_.load(std::memory_order_relaxed)) return;
    const Header header{jack_get_time() + latencyUs_, static_cast<uint32_t>(length)};
    if (jack_ringbuffer_write_space(ring_) < sizeof header + length) return;
    jack_ringbuffer_write(ring_, reinterpret_cast<const char*>(&header), sizeof header);
    jack_ringbuffer_write(ring_, reinterpret_cast<const char*>(bytes), length);
  }

  // The period's messages, each at the frame of its moment; a message whose
  // moment has passed goes first thing, never before one sent earlier.
  int WritePeriod(jack_nframes_t frames) {
    void* buffer = jack_port_get_buffer(port_, frames);
    jack_midi_clear_buffer(buffer);
    const jack_nframes_t cycleStart = jack_last_frame_time(client_);
    jack_nframes_t earliest = 0;
    Header header;
    while (jack_ringbuffer_peek(ring_, reinterpret_cast<char*>(&header), sizeof header) == sizeof header) {
      // The sender writes a header before its bytes: a message is read whole.
      if (jack_ringbuffer_read_space(ring_) < sizeof header + header.length) break;
      const auto offset = static_cast<int32_t>(jack_time_to_frames(client_, header.due) - cycleStart);
      if (offset >= static_cast<int32_t>(frames)) break;  // a later period's
      const jack_nframes_t at = std::max(earliest, static_cast<jack_nframes_t>(std::max(offset, 0)));
      jack_midi_data_t* data = jack_midi_event_reserve(buffer, at, header.length);
      // The period's buffer is full: the rest go in the next. A message too
      // long for an empty buffer never goes, and is lost rather than block
      // every later one.
      if (!data && jack_midi_get_event_count(buffer) > 0) break;
      jack_ringbuffer_read_advance(ring_, sizeof header);
      if (data) jack_ringbuffer_read(ring_, reinterpret_cast<char*>(data), header.length);
      else jack_ringbuffer_read_advance(ring_, header.length);
      earliest = at;
    }
    periods_.fetch_add(1, std::memory_order_release);
    return 0;
  }

  static int Process(jack_nframes_t frames, void* self) {
    return static_cast<JackMidiPort*>(self)->WritePeriod(frames);
  }

  // Runs in a thread of libjack's as a signal handler would: write(2) only.
  static void Shutdown(jack_status_t, const char*, void* self) {
    static_cast<JackMidiPort*>(self)->gone_.store(true);
    const char* program = program_invocation_short_name;
    constexpr char kText[] = ": the JACK server has stopped; play goes on unheard\n";
    [[maybe_unused]] ssize_t written = write(STDERR_FILENO, program, std::strlen(program));
    written = write(STDERR_FILENO, kText, sizeof kText - 1);
  }

  jack_client_t* client_ = nullptr;
  jack_port_t* port_ = nullptr;
  jack_ringbuffer_t* ring_ = nullptr;
  jack_time_t latencyUs_ = 0;
  std::atomic<bool> gone_{false};
  std::atomic<uint32_t> periods_{0};  // process callbacks run
};

}  // namespace

std::optional<std::vector<std::string>> JackMidiInputs() {
  jack_client_t* client = OpenClient();
  if (!client) return std::nullopt;
  std::vector<std::string> names;
  if (const char** ports = jack_get_ports(client, nullptr, JACK_DEFAULT_MIDI_TYPE, JackPortIsInput)) {
    for (const char** port = ports; *port; ++port) names.emplace_back(*port);
    jack_free(ports);
  }
  jack_client_close(client);
  return names;
}

std::unique_ptr<OutputBackend> OpenJackMidiPort(const std::string& target) {
  auto port = std::make_unique<JackMidiPort>();
  if (!port->Open(target)) return nullptr;
  return port;
}

#else

std::optional<std::vector<std::string>> JackMidiInputs() { return std::nullopt; }

std::unique_ptr<OutputBackend> OpenJackMidiPort(const std::string&) { return nullptr; }

#endif

}  // namespace tsy
