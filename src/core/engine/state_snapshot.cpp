#include "core/engine/state_snapshot.h"

#include <atomic>
#include <thread>

#include "core/engine/engine_call.h"

namespace tsy {
namespace {

// One published copy, kept in two slots taken in turn, each under its own
// sequence counter (odd while it is written). A reader copies the newest
// complete slot; only a writer that laps both slots while it copies makes it
// copy again, so a slow reader is not starved by a writer that publishes
// every tick.
struct PublishedCopy {
  struct Slot {
    std::atomic<uint32_t> sequence{0};
    EngineState state;
  };
  std::atomic<bool> publishing{false};
  std::atomic<uint32_t> count{0};  // publications completed
  Slot slots[2];

  void Publish() {
    if (publishing.exchange(true, std::memory_order_acquire)) return;  // another thread publishes now
    const uint32_t n = count.load(std::memory_order_relaxed);
    Slot& slot = slots[(n + 1) & 1];
    // Acquire: the copy's stores stay behind the odd count.
    slot.sequence.fetch_add(1, std::memory_order_acquire);
    slot.state = GetState();
    slot.sequence.fetch_add(1, std::memory_order_release);
    count.store(n + 1, std::memory_order_release);
    publishing.store(false, std::memory_order_release);
  }

  void Read(EngineState& out) {
    for (;;) {
      Slot& slot = slots[count.load(std::memory_order_acquire) & 1];
      const uint32_t before = slot.sequence.load(std::memory_order_acquire);
      if (before & 1) {
        std::this_thread::yield();
        continue;
      }
      out = slot.state;
      // A read that also releases keeps the copy's loads ahead of it (a plain
      // load could be answered before them).
      if (slot.sequence.fetch_add(0, std::memory_order_acq_rel) == before) return;
    }
  }

  uint32_t Count() const { return count.load(std::memory_order_acquire); }
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
