#include "platform/thread_timing.h"

#include <pthread.h>

#include <sched.h>
#include <sys/resource.h>
#include <atomic>
#ifdef __linux__
#include <sys/prctl.h>
#include <unistd.h>
#endif

namespace tsy {
namespace {

#ifdef __linux__
constexpr unsigned long kDefaultTimerSlackNs = 50000;  // the kernel's default for a thread
constexpr int kRaisedNice = -10;  // where real-time scheduling is refused but a lower nice is allowed
#endif

std::atomic<bool> realTimeRefused{false};

}  // namespace

void RaiseThreadPriority() {
  sched_param param{};
  param.sched_priority = sched_get_priority_min(SCHED_FIFO);
  // Refused without the right to real-time scheduling (RLIMIT_RTPRIO, which
  // desktops often grant for audio); then a better nice value where
  // RLIMIT_NICE allows it; else the thread keeps the ordinary class.
  if (pthread_setschedparam(pthread_self(), SCHED_FIFO, &param) == 0) return;
  realTimeRefused = true;
#ifdef __linux__
  setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), kRaisedNice);
#endif
}

bool RealTimeRefused() { return realTimeRefused; }

void BeginFineTimer() {
#ifdef __linux__
  prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);
#endif
}

void EndFineTimer() {
#ifdef __linux__
  prctl(PR_SET_TIMERSLACK, kDefaultTimerSlackNs, 0UL, 0UL, 0UL);
#endif
}

}  // namespace tsy
