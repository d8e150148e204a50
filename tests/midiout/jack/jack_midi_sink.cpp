// A JACK MIDI sink for the tests and the timing benchmark: a client of the
// name given with one MIDI input port "in" that writes every message it
// receives to standard output, one a line: the moment of its frame on
// JACK's clock in microseconds, then its bytes in hex. It prints "ready"
// once its port takes messages, and ends on SIGTERM or SIGINT after
// writing what it has received.
//
//   jack_midi_sink NAME [--connect PORT]
//
// With --connect it connects PORT (an output) to its input itself.

#include <jack/jack.h>
#include <jack/midiport.h>
#include <jack/ringbuffer.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <string>
#include <thread>

namespace {

// One received message as the process callback hands it on.
struct Arrival {
  jack_time_t usec;  // the message's frame on JACK's clock, in microseconds
  uint32_t size;     // bytes used of `bytes`; longer messages are cut
  uint8_t bytes[64];
};

jack_client_t* client = nullptr;
jack_port_t* input = nullptr;
jack_ringbuffer_t* arrivals = nullptr;
std::atomic<bool> stop{false};
std::atomic<unsigned> dropped{0};

void OnSignal(int) { stop = true; }

int Process(jack_nframes_t frames, void*) {
  void* buffer = jack_port_get_buffer(input, frames);
  const jack_nframes_t cycleStart = jack_last_frame_time(client);
  const uint32_t count = jack_midi_get_event_count(buffer);
  for (uint32_t i = 0; i < count; ++i) {
    jack_midi_event_t event;
    if (jack_midi_event_get(&event, buffer, i) != 0) continue;
    Arrival arrival{};
    arrival.usec = jack_frames_to_time(client, cycleStart + event.time);
    arrival.size = static_cast<uint32_t>(std::min<size_t>(event.size, sizeof arrival.bytes));
    std::memcpy(arrival.bytes, event.buffer, arrival.size);
    if (jack_ringbuffer_write_space(arrivals) < sizeof arrival) {
      ++dropped;
      continue;
    }
    jack_ringbuffer_write(arrivals, reinterpret_cast<const char*>(&arrival), sizeof arrival);
  }
  return 0;
}

void Drain() {
  Arrival arrival;
  while (jack_ringbuffer_read_space(arrivals) >= sizeof arrival) {
    jack_ringbuffer_read(arrivals, reinterpret_cast<char*>(&arrival), sizeof arrival);
    std::printf("%llu", static_cast<unsigned long long>(arrival.usec));
    for (uint32_t i = 0; i < arrival.size; ++i) std::printf(" %02x", arrival.bytes[i]);
    std::printf("\n");
  }
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2 && !(argc == 4 && std::strcmp(argv[2], "--connect") == 0)) {
    std::fprintf(stderr, "usage: jack_midi_sink NAME [--connect PORT]\n");
    return 2;
  }
  jack_status_t status{};
  client = jack_client_open(argv[1], static_cast<jack_options_t>(JackNoStartServer | JackUseExactName), &status);
  if (!client) {
    std::fprintf(stderr, "jack_midi_sink: no JACK server (status 0x%x)\n", status);
    return 1;
  }
  input = jack_port_register(client, "in", JACK_DEFAULT_MIDI_TYPE, JackPortIsInput, 0);
  arrivals = jack_ringbuffer_create(1 << 22);
  if (!input || !arrivals) return 1;
  jack_set_process_callback(client, Process, nullptr);
  if (jack_activate(client) != 0) return 1;
  if (argc == 4 && jack_connect(client, argv[3], jack_port_name(input)) != 0) {
    std::fprintf(stderr, "jack_midi_sink: cannot connect %s\n", argv[3]);
    return 1;
  }
  std::signal(SIGTERM, OnSignal);
  std::signal(SIGINT, OnSignal);
  std::printf("ready\n");
  std::fflush(stdout);
  while (!stop) {
    Drain();
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  jack_deactivate(client);
  Drain();
  if (dropped) std::fprintf(stderr, "jack_midi_sink: %u messages dropped\n", dropped.load());
  jack_client_close(client);
  return 0;
}
