#include "platform/thread_timing.h"

#include <pthread.h>
#include <sched.h>
#ifdef __linux__
#include <sys/prctl.h>
#endif

namespace tsy {
namespace {

#ifdef __linux__
constexpr unsigned long kDefaultTimerSlackNs = 50000;  // the kernel's default for a thread
#endif

}  // namespace

void RaiseThreadPriority() {
  sched_param param{};
  param.sched_priority = sched_get_priority_min(SCHED_FIFO);
  // Refused without the right to real-time scheduling; then the thread keeps
  // the ordinary class, which is what the desktop gives everyone.
  pthread_setschedparam(pthread_self(), SCHED_FIFO, &param);
}

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
