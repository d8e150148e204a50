#include "display/current_state.h"

#include <thread>

#include "core/engine/state_snapshot.h"

namespace tsy {

// A publication under way at the call may have copied the record before this
// thread's changes; the second one completed after the call began after it.
void PublishCurrentState() {
  const uint32_t before = PublishedCount();
  for (;;) {
    PublishEngineState();
    if (PublishedCount() - before >= 2) return;
    std::this_thread::yield();
  }
}

}  // namespace tsy
