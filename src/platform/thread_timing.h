#pragma once
// The play thread's claims on the system: a raised priority, and timers that
// wake it when asked rather than when convenient. Each does what the platform
// allows and silently nothing where it is not allowed.

namespace tsy {

// Raises the calling thread to the highest priority the system grants an
// ordinary process (a real-time class where permitted).
void RaiseThreadPriority();

// From BeginFineTimer to EndFineTimer the calling thread's sleeps end as
// close to their deadline as the system can manage (Linux: no timer slack).
void BeginFineTimer();
void EndFineTimer();

}  // namespace tsy
