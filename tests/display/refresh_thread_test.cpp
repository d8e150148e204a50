// The refresh thread paints only when the engine's tick has moved.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "core/engine/engine_call.h"
#include "display/refresh_thread.h"

namespace tsy {
namespace {

// Waits until `done` holds, giving up after a generous while.
template <typename Condition>
bool WaitFor(Condition done) {
  for (int i = 0; i < 5000 && !done(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  return done();
}

TEST(RefreshThread, PaintsOncePerTickChangeAndStopsPromptly) {
  ClearEngineState();
  std::atomic<int> paints{0};
  RefreshThread refresh;
  refresh.Start([] { return 1; }, [&] { ++paints; });
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  EXPECT_EQ(paints, 0);  // tick 0 has not moved

  GetState().tick = 5;
  ASSERT_TRUE(WaitFor([&] { return paints == 1; }));
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  EXPECT_EQ(paints, 1);  // still 5: no more paints

  GetState().tick = 6;
  ASSERT_TRUE(WaitFor([&] { return paints == 2; }));
  refresh.Stop();
  EXPECT_FALSE(refresh.running());
}

TEST(RefreshThread, StopEndsAWaitOfALongPeriod) {
  RefreshThread refresh;
  refresh.Start([] { return 60000; }, [] {});
  refresh.Stop();  // returns without waiting out the minute
  EXPECT_FALSE(refresh.running());
}

}  // namespace
}  // namespace tsy
