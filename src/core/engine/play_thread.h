#pragma once
// The play thread: the engine's clock. It keeps the tick counter in step with
// the tempo, runs the 48 track passes about once a millisecond and delivers
// their messages, note messages last; and it answers the requests that other
// threads post through the play status (stop, start, resume, export).

#include <chrono>

#include "core/engine/play_output.h"

namespace tsy {

constexpr int kDeferredNoteCapacity = 512;  // note messages held back within one loop

// The handshake of a starting play thread.
enum PlayHandshake : int {
  kThreadNotCreated = 0,
  kDeviceOpen = 1,  // messages go to the output
  kStandby = 2,     // no device: the thread answers requests and plays nothing
};

// Creates the play thread for `output` (null: standby), after posting
// RequestStop, and waits until it has answered with kStopped. Returns the
// handshake; kStandby also when a play thread exists already (the existing
// thread is left alone).
int StartPlayThread(PlayOutput* output);

// True from StartPlayThread until EndPlayThread.
bool PlayThreadRunning();
// The moment the play clock counts from: tick k (k >= 1) is due
// (k - 1) × 1250 / tempo ms after it. Moves with every start and resume.
std::chrono::steady_clock::time_point PlayClockOrigin();

// True when the running thread has no device.
bool PlayThreadInStandby();

// Ends the play thread: clears its running flag and waits for it at most
// `limit`. Then releases the output (again, if the thread already did) and
// forgets the thread, whether or not it has ended. Returns false when the
// thread did not end in time.
bool EndPlayThread(std::chrono::milliseconds limit);

}  // namespace tsy
