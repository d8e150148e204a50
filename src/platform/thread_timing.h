#pragma once
// The play thread's claims on the system: a raised priority, and timers that
// wake it when asked rather than when convenient. Each does what the platform
// allows and silently nothing where it is not allowed.

namespace tsy {

// Raises the calling thread to the highest priority the system grants an
// ordinary process (a real-time class where permitted).
void RaiseThreadPriority();

// True once a RaiseThreadPriority of this process was refused the real-time
// class (no RLIMIT_RTPRIO, no CAP_SYS_NICE): timing under load then
// suffers, which the user may want to know.
bool RealTimeRefused();

// From BeginFineTimer to EndFineTimer the calling thread's sleeps end as
// close to their deadline as the system can manage (Linux: no timer slack).
void BeginFineTimer();
void EndFineTimer();

}  // namespace tsy
