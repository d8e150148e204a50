#pragma once
// What the timing benchmarks share: the other core kept busy while they
// measure, play from the start to the end, and percentiles of sorted
// deviations.

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <thread>
#include <vector>

#include "core/engine/engine_call.h"
#include "core/engine/play_controls.h"
#include "core/engine/play_thread.h"

namespace tsy::bench {

// Spins on another core for as long as it lives, as a busy desktop would.
class OtherCoreBusy {
 public:
  OtherCoreBusy()
      : load_([this] {
          volatile double x = 1;
          while (busy_) x = x * 1.0000001 + 1e-9;
        }) {}
  ~OtherCoreBusy() {
    busy_ = false;
    load_.join();
  }
  OtherCoreBusy(const OtherCoreBusy&) = delete;
  OtherCoreBusy& operator=(const OtherCoreBusy&) = delete;

  std::thread::native_handle_type handle() { return load_.native_handle(); }

 private:
  std::atomic<bool> busy_{true};
  std::thread load_;
};

// The value below which a share `p` (0..1) of `sorted` lies.
inline double Percentile(const std::vector<double>& sorted, double p) {
  const size_t i = static_cast<size_t>(std::ceil(p * static_cast<double>(sorted.size()))) - 1;
  return sorted[std::min(i, sorted.size() - 1)];
}

// Play from the start, and the play clock's origin once it runs.
inline std::chrono::steady_clock::time_point StartPlaying() {
  PlayFromStart();
  while (GetStatus() != EngineStatus::kPlaying) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  return PlayClockOrigin();
}

// Returns once every track has reached its end.
inline void AwaitTheEnd() {
  for (bool ended = false; !ended;) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    ended = true;
    for (int t = 0; t < kTrackCount; ++t) ended = ended && GetState().trackPos[t] == nullptr;
  }
}

}  // namespace tsy::bench
