#include "core/engine/play_controls.h"

#include <atomic>
#include <chrono>
#include <system_error>
#include <thread>

#include "core/engine/engine_call.h"
#include "core/engine/load_image.h"
#include "core/engine/play_thread.h"

namespace tsy {
namespace {

using std::chrono::milliseconds;

constexpr milliseconds kPollPeriod{1};      // how often a waiting control looks at the status
constexpr milliseconds kDeviceSettle{100};  // what a control leaves the device after its request
constexpr milliseconds kCloseLimit{10000};  // the longest CloseOutput waits for the play thread
// How long TakeEngine waits for a play thread to hand the engine over; one
// that answers at all does so within a loop (a start in progress takes 300 ms).
constexpr milliseconds kHandOverLimit{5000};

// The control threads of the asynchronous forms, by what they run.
std::atomic<bool> playFromStartBusy{false};
std::atomic<bool> haltBusy{false};
std::atomic<int> controlThreads{0};  // control threads not yet finished

// A restart that no one has looked at yet is playing all the same.
bool IsPlaying(EngineStatus status) { return status == EngineStatus::kPlaying || status == EngineStatus::kStarted; }

// Track t's stream in the engine's image, or null for an absent track
// (offset 0) or an offset outside the image.
const uint8_t* TrackStream(const uint8_t* image, int t) {
  const uint32_t offset = ImageTrackOffset(image, t + 1);
  if (offset == 0 || offset >= kObjectBufferSize) return nullptr;
  const uint8_t* stream = image + offset;
  return StreamEndInImage(stream) > stream ? stream : nullptr;
}

// Runs `control` on a detached thread unless `busy` says one is running.
// The control clears `busy` itself when it has done its work.
void RunDetached(std::atomic<bool>& busy, void (*control)()) {
  if (busy.exchange(true)) return;
  ++controlThreads;
  try {
    std::thread([control] {
      control();
      --controlThreads;
    }).detach();
  } catch (const std::system_error&) {
    busy = false;
    --controlThreads;
  }
}

}  // namespace

void PlayFromStart() { PlayFromTick(0); }

void PlayFromTick(uint32_t tick) {
  if (CurrentImage()) {
    Halt();
    RewindTracks();
    ResetEngine();
    SetStartTick(tick);
    RequestStart();
  }
  playFromStartBusy = false;
}

void RewindTracks() {
  const uint8_t* image = CurrentImage();
  for (int t = 0; t < kTrackCount; ++t) LoadTrack(t, image ? TrackStream(image, t) : nullptr);
}

void TakeEngine() {
  Halt();
  RequestExport();
  const auto limit = std::chrono::steady_clock::now() + kHandOverLimit;
  while (PlayThreadRunning() && GetStatus() != EngineStatus::kExporting && std::chrono::steady_clock::now() < limit)
    std::this_thread::sleep_for(kPollPeriod);
  if (GetStatus() != EngineStatus::kExporting) ConfirmExport();
}

void Halt() {
  if (IsPlaying(GetStatus())) {
    RequestStop();
    // Waiting ends, too, if the play thread goes away meanwhile.
    while (GetStatus() != EngineStatus::kStopped && PlayThreadRunning()) std::this_thread::sleep_for(kPollPeriod);
    std::this_thread::sleep_for(kDeviceSettle);
  }
  haltBusy = false;
}

void Resume() {
  std::this_thread::sleep_for(kDeviceSettle);
  if (GetStatus() == EngineStatus::kStopped) RequestResume();
}

void FadeOut() {
  if (IsPlaying(GetStatus())) {
    StartFade();
    std::this_thread::sleep_for(kDeviceSettle);
  }
}

void PlayFromStartAsync() { RunDetached(playFromStartBusy, PlayFromStart); }

void HaltAsync() { RunDetached(haltBusy, Halt); }

bool PlayControlsBusy() { return controlThreads > 0; }

void CloseOutput() {
  if (!PlayThreadRunning()) return;
  Halt();
  // A control thread still at work would post its request to a thread that
  // is about to go; give it the same bound as the play thread.
  const auto limit = std::chrono::steady_clock::now() + kCloseLimit;
  while (controlThreads > 0 && std::chrono::steady_clock::now() < limit) std::this_thread::sleep_for(kPollPeriod);
  EndPlayThread(milliseconds(kCloseLimit));
}

}  // namespace tsy
