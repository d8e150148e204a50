#pragma once
// The thread that keeps a display moving with the music: at idle priority,
// once per refresh period, it repaints when the engine's tick counter has
// moved since its last paint, so it paints at most once a period and not at
// all while play stands still.

#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

namespace tsy {

class RefreshThread {
 public:
  RefreshThread() = default;
  RefreshThread(const RefreshThread&) = delete;
  RefreshThread& operator=(const RefreshThread&) = delete;
  ~RefreshThread() { Stop(); }

  // Starts the loop: `periodMs` gives the period (read every turn, so a
  // changed DispRate takes effect), `paint` repaints. Nothing if running.
  void Start(std::function<int()> periodMs, std::function<void()> paint);
  // Ends the loop at once (not after the period) and waits for it.
  void Stop();
  bool running() const { return thread_.joinable(); }

 private:
  void Loop();

  std::function<int()> periodMs_;
  std::function<void()> paint_;
  std::thread thread_;
  std::mutex mutex_;
  std::condition_variable wake_;
  bool stop_ = false;
};

}  // namespace tsy
