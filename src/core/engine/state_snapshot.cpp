#include "core/engine/state_snapshot.h"

#include <atomic>
#include <thread>

#include "core/engine/engine_call.h"

namespace tsy {
namespace {

// Odd while a publication is being written; each publication adds 2.
std::atomic<uint32_t> gSequence{0};
EngineState gPublished;

}  // namespace

void PublishEngineState() {
  uint32_t sequence = gSequence.load(std::memory_order_relaxed);
  if (sequence & 1) return;
  // Acquire: the copy's stores stay behind the odd count.
  if (!gSequence.compare_exchange_strong(sequence, sequence + 1, std::memory_order_acquire)) return;
  gPublished = GetState();
  gSequence.store(sequence + 2, std::memory_order_release);
}

void ReadEngineState(EngineState& out) {
  for (;;) {
    const uint32_t before = gSequence.load(std::memory_order_acquire);
    if (before & 1) {
      std::this_thread::yield();
      continue;
    }
    out = gPublished;
    // A read that also releases keeps the copy's loads ahead of it (a plain
    // load could be answered before them).
    if (gSequence.fetch_add(0, std::memory_order_acq_rel) == before) return;
  }
}

uint32_t PublishedCount() { return gSequence.load(std::memory_order_acquire) / 2; }

}  // namespace tsy
