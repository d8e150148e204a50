// Every control at once, from the threads that use them: the shell's play
// keys, its tempo, velocity and mute keys, a display copying the state, and
// the piece restarting itself, all while the play thread runs. Under
// ThreadSanitizer this finds any access the design leaves unsynchronised;
// anywhere it finds a control that waits for ever.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <thread>
#include <vector>

#include "core/engine/engine_call.h"
#include "core/engine/play_controls.h"
#include "core/engine/play_thread.h"
#include "core/engine/state_snapshot.h"
#include "play_test_support.h"

namespace tsy {
namespace {

using namespace std::chrono_literals;

// Counts what reaches the device; the play thread is its only caller.
class CountingOutput : public PlayOutput {
 public:
  void SendShort(MessageWord) override { shorts_.fetch_add(1, std::memory_order_relaxed); }
  void SendLong(const uint8_t*, size_t) override { longs_.fetch_add(1, std::memory_order_relaxed); }
  void Release() override {}
  int Shorts() const { return shorts_.load(); }

 private:
  std::atomic<int> shorts_{0};
  std::atomic<int> longs_{0};
};

constexpr int kRounds = 4;  // of halt, resume, fade and start from the shell

TEST(ConcurrentControls, ShellDisplayAndThePiecesOwnRestartTogether) {
  ClearEngineState();
  CountingOutput output;
  ASSERT_EQ(StartPlayThread(&output), kDeviceOpen);
  Bytes bar;
  for (int n = 0; n < 16; ++n) bar = Join({bar, Note(static_cast<uint8_t>(48 + n % 12), 12)});
  // Track 1 starts the piece again after one bar (FC 00), so the play thread
  // keeps asking for restarts of its own while the shell does the same.
  const Bytes image = Image({Join({bar, {0xFC, 0x00}}), bar, bar, bar});
  ASSERT_TRUE(LoadImage(image.data(), image.size()).ok());
  PlayFromStart();

  std::atomic<bool> done{false};
  const auto playing = [] { return GetStatus() == EngineStatus::kPlaying; };
  std::thread shell([&playing] {
    for (int i = 0; i < kRounds; ++i) {
      WaitFor(playing);  // each control below then finds play going
      Halt();
      Resume();
      WaitFor(playing);
      FadeOut();
      PlayFromStart();
    }
  });
  std::thread keys([&done] {
    for (int i = 0; !done; ++i) {
      EngineState& s = GetState();
      s.tempo = static_cast<int16_t>(60 + i % 400);
      s.velocity[i % kTrackCount] = static_cast<uint8_t>(i % 128);
      s.trackMute[(i + 1) % 4] = static_cast<uint8_t>(i % 2);
      std::this_thread::sleep_for(1ms);
    }
  });
  std::thread display([&done] {
    auto copy = std::make_unique<EngineState>();
    while (!done) {
      ReadEngineState(*copy);
      std::this_thread::sleep_for(2ms);
    }
  });
  shell.join();
  done = true;
  keys.join();
  display.join();

  // A restart the piece asked for just before a halt may still follow it:
  // halting again once no control thread is at work stops play for good.
  EXPECT_TRUE(WaitFor([] {
    Halt();
    return !PlayControlsBusy() && GetStatus() == EngineStatus::kStopped;
  }));
  EXPECT_GT(output.Shorts(), 0);
  EXPECT_TRUE(EndPlayThread(10s));
}

}  // namespace
}  // namespace tsy
