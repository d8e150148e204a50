// The published copies: a reader always gets one whole publication, and the
// start's copy is kept apart from the live one.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "core/engine/state_snapshot.h"
#include "test_image.h"

namespace tsy::test {
namespace {

TEST(StateSnapshot, ReaderSeesWholePublicationsWhileTheEngineRuns) {
  ClearEngineState();
  PublishEngineState();  // nothing an earlier test published is read
  std::atomic<bool> done{false};
  std::thread writer([&] {
    EngineState& s = GetState();
    for (uint32_t k = 1; k <= 2000; ++k) {
      s.tick = k;
      s.ccTick[15][127] = k;
      s.dueTick[0] = k;
      PublishEngineState();
    }
    done = true;
  });
  static EngineState copy;
  int torn = 0;
  uint32_t lastCount = 0;
  while (!done) {
    ReadEngineState(copy);
    if (copy.tick != copy.ccTick[15][127] || copy.tick != copy.dueTick[0]) ++torn;
    EXPECT_GE(PublishedCount(), lastCount);
    lastCount = PublishedCount();
  }
  writer.join();
  ReadEngineState(copy);
  EXPECT_EQ(torn, 0);
  EXPECT_EQ(copy.tick, 2000u);
}

// The start's copy stays as it was published while the live copy moves on.
TEST(StateSnapshot, TheStartsCopyKeepsThePositionPlayStartedAt) {
  ClearEngineState();
  EngineState& s = GetState();
  const uint32_t starts = StartCount();
  s.tick = 384;
  PublishStartState();
  for (uint32_t tick = 385; tick < 400; ++tick) {
    s.tick = tick;
    PublishEngineState();
  }
  static EngineState copy;
  ReadStartState(copy);
  EXPECT_EQ(copy.tick, 384u);
  EXPECT_EQ(StartCount(), starts + 1);
  ReadEngineState(copy);
  EXPECT_EQ(copy.tick, 399u);
}

}  // namespace
}  // namespace tsy::test
