#include "core/engine/play_thread.h"

#include <algorithm>
#include <atomic>
#include <climits>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>

#include "core/engine/load_image.h"
#include "core/engine/play_controls.h"
#include "core/engine/seek.h"
#include "core/engine/state_snapshot.h"
#include "core/midi/midi_bytes.h"
#include "platform/thread_name.h"
#include "platform/thread_timing.h"

namespace tsy {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

constexpr milliseconds kResetSettle{100};       // a device needs this after a reset message
constexpr milliseconds kControllerSettle{200};  // and this after every channel's set-up
// Between ticks the loop wakes this often to answer requests (stop, start,
// resume, export). Every tick is met at its exact moment whatever this is;
// waking every millisecond would cost more CPU than all the music's passes.
constexpr milliseconds kRequestPeriod{4};
constexpr milliseconds kStandbyPeriod{1};              // standby answers requests about once a millisecond
constexpr milliseconds kWaitPeriod{1};                 // StartPlayThread polls the handshake this often
constexpr milliseconds kPublishPeriod{10};             // fresh display copies at least this often
constexpr milliseconds kAgeRefreshPeriod{8};           // passes at least this often, for the ages in ms
constexpr uint64_t kTickPsAtTempoOne = 1250000000000;  // 1250 ms in picoseconds

// The thread and what other threads know of it.
struct ThreadControl {
  std::thread thread;
  PlayOutput* output = nullptr;
  std::atomic<bool> exists{false};
  std::atomic<bool> running{false};  // the loop runs while set
  std::atomic<bool> standby{false};
  std::atomic<int> handshake{0};
  std::mutex endMutex;  // guards `ended` for the bounded wait of EndPlayThread
  std::condition_variable endSignal;
  bool ended = false;
};
ThreadControl control;
std::atomic<Clock::rep> clockOrigin{0};  // the play clock's zero, for PlayClockOrigin

std::atomic<uint32_t> startTick{0};
std::atomic<uint32_t> rangeFrom{0};
std::atomic<uint32_t> rangeEnd{0};
std::atomic<bool> rangeLoop{false};

// A new image waiting to take over. The requester keeps the buffer until the
// state is kNoTakeover again; the play thread claims it before it reads it,
// so that a withdrawal never pulls it away while it is read.
enum TakeoverState : int { kNoTakeover, kTakeoverPending, kTakeoverClaimed };
std::atomic<int> takeoverState{kNoTakeover};
std::atomic<const uint8_t*> takeoverBuffer{nullptr};
std::atomic<size_t> takeoverSize{0};

// The image to take over, claimed for the play thread; null when none waits.
const uint8_t* ClaimTakeover() {
  int pending = kTakeoverPending;
  return takeoverState.compare_exchange_strong(pending, kTakeoverClaimed) ? takeoverBuffer.load() : nullptr;
}

bool ImageInitialisesItself() {
  const uint8_t* image = CurrentImage();
  return image && (image[kFlagsField] & kImageFlagOwnInit);
}

void SendController(PlayOutput& output, int channel, uint8_t controller, uint8_t value) {
  output.SendShort(ControlChangeWord(channel, controller, value));
}

// What the user set while playing and a rejoin keeps: mutes, the tempo when
// it is not the music's own, and a fade-out under way, which goes on where
// it had got to.
struct SetByHand {
  uint8_t mutes[kTrackCount];
  int16_t tempo;  // 0: the music's
  bool fading;
  uint32_t fadeTicks;  // ticks since the fade began
};

SetByHand KeepSetByHand(const EngineState& s) {
  SetByHand kept{};
  for (int t = 0; t < kTrackCount; ++t) kept.mutes[t] = s.trackMute[t];
  kept.tempo = s.tempo != s.songTempo ? int16_t{s.tempo} : int16_t{0};
  kept.fading = s.fadeActive != 0;
  kept.fadeTicks = s.tick - s.fadeTick;
  return kept;
}

void RestoreSetByHand(EngineState& s, const SetByHand& kept) {
  for (int t = 0; t < kTrackCount; ++t) s.trackMute[t] = kept.mutes[t];
  if (kept.tempo != 0) s.tempo = kept.tempo;
  if (!kept.fading) return;
  s.fadeActive = 1;
  s.fadeTick = s.tick - kept.fadeTicks;  // the tick may have gone back: the fade's count goes on
  s.fadeStep = -1;                       // the rejoined channels hear the fade's level at the next passes
}

// One play thread's loop with its clock and buffers. Allocated once when the
// thread starts; the loop itself allocates nothing.
class PlayLoop {
 public:
  explicit PlayLoop(PlayOutput* output) : output_(output) {}

  void Run() {
    if (output_) RunWithDevice();
    else RunStandby();
  }

 private:
  void RunWithDevice() {
    BeginFineTimer();
    std::this_thread::sleep_for(kResetSettle);
    output_->SendLong(midi::kGmSystemOn, sizeof midi::kGmSystemOn);
    std::this_thread::sleep_for(kResetSettle);
    RestartClock();
    control.handshake = kDeviceOpen;
    while (control.running) {
      const Clock::time_point now = Clock::now();
      SetPlayClock(ClockMs(now));
      if (!HandleStatus(now)) continue;
      Publish(now);
      std::this_thread::sleep_until(wake_);
    }
    EndFineTimer();
    output_->Release();
  }

  // Acts on the status. Returns false to loop again at once, true to sleep
  // until wake_ first.
  bool HandleStatus(Clock::time_point now) {
    wake_ = now + kRequestPeriod;
    switch (GetStatus()) {
      case EngineStatus::kExportRequested: ConfirmExport(); return false;
      case EngineStatus::kExporting: return true;
      case EngineStatus::kPlaying:
      case EngineStatus::kStarted: return PlayOneLoop(now);
      case EngineStatus::kStopRequested:
        for (int c = 0; c < kChannelCount; ++c) SendController(*output_, c, midi::kAllNotesOff, 0);
        output_->OnClock(ClockEvent::kStop, GetState().tick);
        ConfirmStopped();
        stoppedAt_ = now;
        Publish(now);
        return false;
      case EngineStatus::kStartRequested: StartFromTheTop(); return false;
      case EngineStatus::kResumeRequested:
        GetState().fadeActive = 0;  // a resumed song plays at full volume again
        ConfirmRunning();
        passesDue_ = true;
        start_ += Clock::now() - stoppedAt_;  // the play clock goes on where it stopped
        PublishOrigin();
        output_->OnClock(ClockEvent::kContinue, GetState().tick);
        return false;
      default: RefreshIdle(); return true;
    }
  }

  // The passes of every track, then the tick clock. Returns false when the
  // tick moved, so that the passes of the new tick run at once.
  bool PlayOneLoop(Clock::time_point now) {
    EngineState& state = GetState();
    const bool newTick = passesDue_ || state.tick != passTick_;
    if (newTick && takeoverState == kTakeoverPending && (state.tick % kBarTicks == 0 || inactive_ >= kTrackCount))
      Rejoin(state.tick);
    // Events, ramps and the fade all go by the tick: passes between ticks
    // would only refresh the ages in ms that the displays show.
    if (newTick || now - passesAt_ >= kAgeRefreshPeriod) {
      inactive_ = RunPasses();
      passesDue_ = false;
      passTick_ = state.tick;
      passesAt_ = now;
      if (startDue_) PublishStartState();
      startDue_ = false;
    }
    if (inactive_ >= kTrackCount) {  // every track has ended: the clock stands, or the loop turns
      if (!rangeLoop || !turnable_) return true;
      turnable_ = Rejoin(rangeFrom);
      return false;
    }
    const uint32_t before = state.tick;
    while (Clock::now() >= NextTickAt()) {
      AdvanceTick(state);
      if (rangeEnd != 0 && state.tick >= rangeEnd) return EndOfRange(now);
      // A loop that fell behind still stops at the bar line a takeover waits for.
      if (takeoverState == kTakeoverPending && state.tick % kBarTicks == 0) break;
    }
    if (state.tick != before) return false;
    // Sleep to the next tick's exact moment if it comes before the next loop.
    wake_ = std::min(wake_, NextTickAt());
    return true;
  }

  Clock::time_point NextTickAt() const { return start_ + std::chrono::nanoseconds(nextTickPs_ / 1000); }

  // At the end of the range: the loop turns, or play stops as a halt does.
  bool EndOfRange(Clock::time_point now) {
    if (rangeLoop && Rejoin(rangeFrom)) return false;
    for (int c = 0; c < kChannelCount; ++c) SendController(*output_, c, midi::kAllNotesOff, 0);
    ConfirmStopped();
    stoppedAt_ = now;
    return false;
  }

  // Joins the music anew at `tick` without touching the clock: the image
  // waiting to take over, or the music as loaded, rewound; every channel
  // silenced and set back; the music chased to `tick`. False when the
  // music ends before it.
  bool Rejoin(uint32_t tick) {
    EngineState& s = GetState();
    const SetByHand kept = KeepSetByHand(s);
    const uint8_t* buffer = ClaimTakeover();
    if (buffer) {
      LoadImage(buffer, takeoverSize);
      s.imageGeneration = s.imageGeneration + 1;
    } else {
      RewindTracks();
      ResetEngine();
      startDue_ = true;  // a loop's turn is a start
    }
    const uint32_t reached = SeekAndSendState(tick, true);
    RestoreSetByHand(s, kept);
    if (buffer) takeoverState = kNoTakeover;
    passesDue_ = true;
    return reached == tick;
  }

  // Before other music joins: no note sounds on, no controller stays as the
  // old music left it, and the start's own settings are sent again.
  void SendCleanSlate() {
    for (int c = 0; c < kChannelCount; ++c) {
      SendController(*output_, c, midi::kAllNotesOff, 0);
      SendController(*output_, c, midi::kResetAllControllers, 0);
    }
    if (!ImageInitialisesItself()) SendStartControllers();
  }

  void SendStartControllers() {
    for (int c = 0; c < kChannelCount; ++c) {
      SendController(*output_, c, midi::kVolume, 127);
      for (const midi::ControllerValue& change : midi::kBendRangeSetting)
        SendController(*output_, c, change.controller, change.value);
    }
  }

  // Runs the passes silently up to `tick` and sends what a listener must
  // have there, after a clean slate when other music played before; every
  // later message is the music's own. Everything goes out at `tick`.
  uint32_t SeekAndSendState(uint32_t tick, bool afterOtherMusic) {
    const uint32_t reached = SeekTo(tick, chase_);
    if (afterOtherMusic) SendCleanSlate();
    for (MessageWord word : chase_.Messages()) {
      if (IsShortMessage(word)) output_->SendShort(word);
      else if (IsSysExWord(word)) output_->SendLong(chase_.Slots()[WordSlot(word)].data(), WordLength(word));
    }
    return reached;
  }

  static uint64_t TickPs(const EngineState& state) {
    return kTickPsAtTempoOne / static_cast<uint64_t>(std::max<int>(state.tempo, 1));
  }

  // A tick lasts 1250 / tempo ms. Kept in picoseconds, the sum of tick
  // lengths stays within a microsecond of the exact time for a million
  // ticks; the tempo is read for every tick, so a tempo change applies from
  // the next tick.
  void AdvanceTick(EngineState& state) {
    nextTickPs_ += TickPs(state);
    state.tick = state.tick + 1;
    state.barTick = state.tick % 192;
    output_->OnClock(ClockEvent::kTick, state.tick);
  }

  // Returns the number of tracks without a stream. Every controller,
  // program, bend and system-exclusive message goes out as its pass yields
  // it; note messages wait until all 48 passes have run, in track order.
  int RunPasses() {
    int inactive = 0;
    deferredCount_ = 0;
    for (int t = 0; t < kTrackCount; ++t) {
      const int n = TrackPass(t, messages_, &slots_);
      if (n < 0) {
        ++inactive;
        continue;
      }
      for (int i = 0; i < n && i < kMessageCapacity; ++i) Deliver(messages_[i]);
    }
    for (int i = 0; i < deferredCount_; ++i) output_->SendShort(deferred_[i]);
    return inactive;
  }

  void Deliver(MessageWord word) {
    if (IsNoteMessage(word)) {
      // Beyond the list's room a note goes out at once: late order beats a lost note.
      if (deferredCount_ < kDeferredNoteCapacity) deferred_[deferredCount_++] = word;
      else output_->SendShort(word);
    } else if (IsShortMessage(word)) {
      output_->SendShort(word);
    } else if (IsSysExWord(word)) {
      const size_t length = std::min<size_t>(WordLength(word), kSlotSize);
      output_->SendLong(slots_[WordSlot(word)].data(), length);
    }  // meta words are for the SMF writer only
  }

  // Silences sustain, resets the engine and initialises the device, then
  // starts the clock at tick 0, or at the start tick after chasing the music
  // there (whose next tick then comes a whole tick later).
  void StartFromTheTop() {
    for (int c = 0; c < kChannelCount; ++c) SendController(*output_, c, midi::kSustain, 0);
    ResetEngine();
    if (ImageInitialisesItself()) {
      std::this_thread::sleep_for(kResetSettle);
    } else {
      output_->SendLong(midi::kGmSystemOn, sizeof midi::kGmSystemOn);
      std::this_thread::sleep_for(kResetSettle);
      SendStartControllers();
      std::this_thread::sleep_for(kControllerSettle);
    }
    const uint32_t from = startTick;
    if (from > 0) SeekAndSendState(from, false);
    turnable_ = true;
    startDue_ = true;
    ConfirmRunning();
    RestartClock();
    if (from > 0) nextTickPs_ = TickPs(GetState());
    else GetState().tick = 0;
    // A MIDI clock starts here: from a position, after a Song Position Pointer.
    output_->OnClock(ClockEvent::kStart, from);
  }

  void RestartClock() {
    start_ = Clock::now();
    PublishOrigin();
    nextTickPs_ = 0;
    passesDue_ = true;
  }

  void PublishOrigin() { clockOrigin = start_.time_since_epoch().count(); }

  uint32_t ClockMs(Clock::time_point now) const {
    return static_cast<uint32_t>(std::chrono::duration_cast<milliseconds>(now - start_).count());
  }

  // A fresh copy for the displays whenever the tick moved, and now and then
  // besides (the ages in ms move on between ticks).
  void Publish(Clock::time_point now) {
    const uint32_t tick = GetState().tick;
    if (tick == publishedTick_ && now - publishedAt_ < kPublishPeriod) return;
    PublishEngineState();
    publishedTick_ = tick;
    publishedAt_ = now;
  }

  // Without a device: answer every request, send nothing, play nothing.
  void RunStandby() {
    control.handshake = kStandby;
    EngineStatus previous = EngineStatus::kPlaying;
    while (control.running) {
      const EngineStatus status = GetStatus();
      switch (status) {
        case EngineStatus::kPlaying: break;
        case EngineStatus::kStopRequested: ConfirmStopped(); break;
        // Play never starts; the status stays kStartRequested. One reset per
        // request: resetting again would only undo the shell's changes.
        case EngineStatus::kStartRequested:
          if (previous != status) ResetEngine();
          break;
        case EngineStatus::kResumeRequested: ConfirmRunning(); break;
        case EngineStatus::kExportRequested: ConfirmExport(); break;
        default: RefreshIdle(); break;
      }
      if (status != previous) PublishEngineState();
      previous = status;
      std::this_thread::sleep_for(kStandbyPeriod);
    }
  }

  PlayOutput* output_;
  Clock::time_point start_;      // the moment the play clock counts from
  Clock::time_point stoppedAt_;  // when play last stopped
  Clock::time_point wake_;       // end of the current loop's sleep
  uint64_t nextTickPs_ = 0;      // picoseconds after start_ at which the tick next advances
  bool passesDue_ = true;        // run the passes at the next loop whatever the tick
  bool startDue_ = false;        // publish the start's copy after the next passes
  uint32_t passTick_ = 0;        // the tick the passes last ran at
  Clock::time_point passesAt_;   // and when
  int inactive_ = 0;             // tracks without a stream at the last passes
  uint32_t publishedTick_ = UINT32_MAX;
  Clock::time_point publishedAt_;
  MessageWord messages_[kMessageCapacity];
  MessageSlots slots_;
  MessageWord deferred_[kDeferredNoteCapacity];
  int deferredCount_ = 0;
  ChasedState chase_;
  bool turnable_ = true;  // false once a loop turn found the music ended before its start
};

void PlayThreadMain(PlayOutput* output) {
  NameThisThread("tsy-play");
  RaiseThreadPriority();
  auto loop = std::make_unique<PlayLoop>(output);
  loop->Run();
  std::lock_guard lock(control.endMutex);
  control.ended = true;
  control.endSignal.notify_all();
}

}  // namespace

int StartPlayThread(PlayOutput* output) {
  if (control.exists) return kStandby;
  // The music's own restart and stop (event FC) run on control threads of
  // their own, so the play thread never waits for itself.
  SetMusicRequests(PlayFromStartAsync, HaltAsync);
  control.output = output;
  control.standby = (output == nullptr);
  control.running = true;
  control.ended = false;
  RequestStop();
  control.handshake = kThreadNotCreated;
  try {
    control.thread = std::thread(PlayThreadMain, output);
  } catch (const std::system_error&) {
    control.running = false;
    return kThreadNotCreated;
  }
  control.exists = true;
  while (control.handshake == kThreadNotCreated) std::this_thread::sleep_for(kWaitPeriod);
  while (GetStatus() != EngineStatus::kStopped) std::this_thread::sleep_for(kWaitPeriod);
  return control.handshake;
}

bool PlayThreadRunning() { return control.exists; }

std::chrono::steady_clock::time_point PlayClockOrigin() {
  return Clock::time_point(Clock::duration(clockOrigin.load()));
}

void SetStartTick(uint32_t tick) { startTick = tick; }
uint32_t StartTick() { return startTick; }

void SetPlayRange(const PlayRange& range) {
  rangeFrom = range.from;
  rangeEnd = range.end;
  rangeLoop = range.loop;
}

PlayRange CurrentPlayRange() { return {rangeFrom, rangeEnd, rangeLoop}; }

bool RequestTakeover(const uint8_t* buffer, size_t size) {
  if (!buffer || takeoverState != kNoTakeover) return false;
  takeoverSize = size;
  takeoverBuffer = buffer;
  takeoverState = kTakeoverPending;
  return true;
}

bool TakeoverPending() { return takeoverState != kNoTakeover; }

bool WithdrawTakeover() {
  int pending = kTakeoverPending;
  return takeoverState.compare_exchange_strong(pending, kNoTakeover);
}

bool PlayThreadInStandby() { return control.exists && control.standby; }

bool EndPlayThread(milliseconds limit) {
  if (!control.exists) return true;
  control.running = false;
  bool ended;
  {
    std::unique_lock lock(control.endMutex);
    ended = control.endSignal.wait_for(lock, limit, [] { return control.ended; });
  }
  if (ended) control.thread.join();
  else control.thread.detach();  // it can no longer be waited for; its output is let go below
  if (control.output) control.output->Release();
  control.output = nullptr;
  control.exists = false;
  return ended;
}

}  // namespace tsy
