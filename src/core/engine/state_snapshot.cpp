#include "core/engine/state_snapshot.h"

#include <atomic>
#include <thread>

#include "core/engine/engine_call.h"

namespace tsy {
namespace {

// One published copy under its sequence counter: odd while a publication is
// being written; each publication adds 2.
struct PublishedCopy {
  std::atomic<uint32_t> sequence{0};
  EngineState state;

  void Publish() {
    uint32_t before = sequence.load(std::memory_order_relaxed);
    if (before & 1) return;
    // Acquire: the copy's stores stay behind the odd count.
    if (!sequence.compare_exchange_strong(before, before + 1, std::memory_order_acquire)) return;
    state = GetState();
    sequence.store(before + 2, std::memory_order_release);
  }

  void Read(EngineState& out) {
    for (;;) {
      const uint32_t before = sequence.load(std::memory_order_acquire);
      if (before & 1) {
        std::this_thread::yield();
        continue;
      }
      out = state;
      // A read that also releases keeps the copy's loads ahead of it (a plain
      // load could be answered before them).
      if (sequence.fetch_add(0, std::memory_order_acq_rel) == before) return;
    }
  }

  uint32_t Count() const { return sequence.load(std::memory_order_acquire) / 2; }
};

PublishedCopy gLive;
PublishedCopy gStart;

}  // namespace

void PublishEngineState() { gLive.Publish(); }
void ReadEngineState(EngineState& out) { gLive.Read(out); }
uint32_t PublishedCount() { return gLive.Count(); }

void PublishStartState() { gStart.Publish(); }
void ReadStartState(EngineState& out) { gStart.Read(out); }
uint32_t StartCount() { return gStart.Count(); }

}  // namespace tsy
