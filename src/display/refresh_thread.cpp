#include "display/refresh_thread.h"

#include <algorithm>
#include <chrono>

#include "core/engine/engine_call.h"
#include "platform/thread_name.h"

#if defined(__linux__)
#include <pthread.h>
#include <sched.h>
#endif

namespace tsy {
namespace {

// Lowers the calling thread to the idle class where the system has one, so
// painting never takes time from the play thread; silently nothing elsewhere.
void LowerToIdlePriority() {
#if defined(__linux__)
  sched_param param{};
  param.sched_priority = 0;
  pthread_setschedparam(pthread_self(), SCHED_IDLE, &param);
#endif
}

// True when `tick` differs from `lastTick`, which then takes its value.
bool TickMoved(uint32_t tick, uint32_t& lastTick) {
  if (tick == lastTick) return false;
  lastTick = tick;
  return true;
}

}  // namespace

void RefreshThread::Start(std::function<int()> periodMs, std::function<void()> paint) {
  if (thread_.joinable()) return;
  periodMs_ = std::move(periodMs);
  paint_ = std::move(paint);
  stop_ = false;
  thread_ = std::thread([this] { Loop(); });
}

void RefreshThread::Stop() {
  if (!thread_.joinable()) return;
  {
    std::lock_guard lock(mutex_);
    stop_ = true;
  }
  wake_.notify_all();
  thread_.join();
}

void RefreshThread::Loop() {
  NameThisThread("tsy-refresh");
  LowerToIdlePriority();
  const EngineState& engine = GetState();
  uint32_t lastTick = 0;
  std::unique_lock lock(mutex_);
  while (!stop_) {
    lock.unlock();
    if (TickMoved(engine.tick, lastTick)) paint_();
    lock.lock();
    const auto period = std::chrono::milliseconds(std::max(1, periodMs_()));
    wake_.wait_for(lock, period, [this] { return stop_; });
  }
}

}  // namespace tsy
