#pragma once
// The play thread: the engine's clock. It keeps the tick counter in step with
// the tempo, runs the 48 track passes about once a millisecond and delivers
// their messages, note messages last; and it answers the requests that other
// threads post through the play status (stop, start, resume, export).

#include <chrono>
#include <cstddef>
#include <cstdint>

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

// The tick that the next start from the top plays from; 0: the top. A start
// at a later tick runs the passes silently up to it and sends the chased
// state (seek.h) before the first note. Set with every start (PlayFromTick).
void SetStartTick(uint32_t tick);
uint32_t StartTick();

// The passage play keeps to. When the tick reaches `end` (0: none), play
// stops, or with `loop` joins the music again at `from`: every channel is
// silenced and set back, then the music is chased to `from` afresh. With
// `loop` and no end, the turn comes when every track has ended. Mutes and a
// tempo changed by hand are kept at a turn.
struct PlayRange {
  uint32_t from = 0;
  uint32_t end = 0;
  bool loop = false;
};
void SetPlayRange(const PlayRange& range);
PlayRange CurrentPlayRange();

// Asks the playing thread to go on with the image in `buffer` (`size` bytes,
// as LoadImage takes it) at the next bar line (tick multiple of 192), or at
// once when every track has ended: the channels are silenced and set back,
// the new image is chased to that tick, and play goes on with the tick count
// and the clock untouched, mutes and a tempo changed by hand kept. The
// buffer must stay as it is while TakeoverPending(). False, and nothing
// asked, while another takeover is pending.
bool RequestTakeover(const uint8_t* buffer, size_t size);
bool TakeoverPending();
// Withdraws a takeover the play thread has not begun; false when it has (the
// buffer is still read until TakeoverPending() is false) or there is none.
bool WithdrawTakeover();

// Ends the play thread: clears its running flag and waits for it at most
// `limit`. Then releases the output (again, if the thread already did) and
// forgets the thread, whether or not it has ended. Returns false when the
// thread did not end in time.
bool EndPlayThread(std::chrono::milliseconds limit);

}  // namespace tsy
