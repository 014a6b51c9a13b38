#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "platform/foundation/Dispatch.h"
#include "platform/foundation/ManualTaskEnvironment.h"
#include "platform/foundation/RunLoop.h"
#include "platform/foundation/Timer.h"

namespace platform {
namespace {

class RunLoopTest : public ::testing::Test {
 protected:
  ManualTaskEnvironment env;
  std::vector<std::string> order;
  auto record(std::string what) {
    return [this, what] { order.push_back(what); };
  }
};

TEST_F(RunLoopTest, TasksDueAtTheSameTimeRunInPostingOrderAcrossQueues) {
  dispatch_async(dispatch_get_main_queue(), record("main 1"));
  dispatch_async(dispatch_get_global_queue(), record("global"));
  dispatch_async(dispatch_get_main_queue(), record("main 2"));
  EXPECT_EQ(env.runUntilIdle(), 3u);
  EXPECT_EQ(order, (std::vector<std::string>{"main 1", "global", "main 2"}));
}

TEST_F(RunLoopTest, DelayedWorkWaitsForTheClock) {
  dispatch_after(seconds(0.3), dispatch_get_main_queue(), record("later"));
  dispatch_after(seconds(0.1), dispatch_get_main_queue(), record("sooner"));
  EXPECT_EQ(env.runUntilIdle(), 0u);
  EXPECT_EQ(env.nextPendingDelay(), seconds(0.1));

  env.fastForwardBy(seconds(0.1));
  EXPECT_EQ(order, std::vector<std::string>{"sooner"});
  EXPECT_EQ(env.nextPendingDelay(), seconds(0.2));

  env.fastForwardBy(seconds(0.2));
  EXPECT_EQ(order, (std::vector<std::string>{"sooner", "later"}));
  EXPECT_FALSE(env.nextPendingDelay().has_value());
}

TEST_F(RunLoopTest, FastForwardRunsEachTaskAtItsOwnTime) {
  std::vector<TimePoint> times;
  auto start = env.now();
  dispatch_after(seconds(0.5), dispatch_get_main_queue(), [&] {
    times.push_back(env.now());
    // Work posted from inside a task, due within the window, runs in the same call.
    dispatch_after(seconds(0.25), dispatch_get_main_queue(), [&] { times.push_back(env.now()); });
  });
  env.fastForwardBy(seconds(1));
  ASSERT_EQ(times.size(), 2u);
  EXPECT_EQ(times[0] - start, seconds(0.5));
  EXPECT_EQ(times[1] - start, seconds(0.75));
  EXPECT_EQ(env.now() - start, seconds(1));
}

TEST_F(RunLoopTest, AdvanceMovesTimeWithoutRunningAnything) {
  dispatch_after(seconds(0.1), dispatch_get_main_queue(), record("due"));
  env.advance(seconds(1));
  EXPECT_TRUE(order.empty());
  env.runUntilIdle();
  EXPECT_EQ(order, std::vector<std::string>{"due"});
}

TEST_F(RunLoopTest, CancelledBlocksNeverRun) {
  auto block = dispatch_block_create(record("cancelled"));
  dispatch_after(seconds(1), dispatch_get_main_queue(), block);
  dispatch_after(seconds(1), dispatch_get_main_queue(), record("kept"));
  dispatch_block_cancel(block);
  env.fastForwardBy(seconds(2));
  EXPECT_EQ(order, std::vector<std::string>{"kept"});
  EXPECT_TRUE(block->isCancelled());
}

TEST_F(RunLoopTest, CancellingRequestsForATargetLeavesOtherTargetsAlone) {
  int a = 0, b = 0;
  performAfterDelay(&a, seconds(1), record("a1"));
  performAfterDelay(&b, seconds(1), record("b"));
  performAfterDelay(&a, seconds(2), record("a2"));
  cancelPreviousPerformRequests(&a);
  env.fastForwardBy(seconds(3));
  EXPECT_EQ(order, std::vector<std::string>{"b"});
}

TEST_F(RunLoopTest, OneShotTimerFiresOnceAndInvalidatesItself) {
  int fired = 0;
  auto timer = Timer::scheduledTimer(seconds(1), Repeats::No, [&](Timer&) { ++fired; });
  env.fastForwardBy(seconds(0.999));
  EXPECT_EQ(fired, 0);
  env.fastForwardBy(seconds(5));
  EXPECT_EQ(fired, 1);
  EXPECT_FALSE(timer->isValid());
}

TEST_F(RunLoopTest, RepeatingTimerStopsWhenInvalidatedFromItsCallback) {
  int fired = 0;
  Timer::scheduledTimer(seconds(0.5), Repeats::Yes, [&](Timer& t) {
    if (++fired == 3) t.invalidate();
  });
  env.fastForwardBy(seconds(10));
  EXPECT_EQ(fired, 3);
  EXPECT_FALSE(env.nextPendingDelay().has_value());
}

TEST_F(RunLoopTest, InvalidatedTimerNeverFires) {
  int fired = 0;
  auto timer = Timer::scheduledTimer(seconds(1), Repeats::No, [&](Timer&) { ++fired; });
  timer->invalidate();
  env.fastForwardBy(seconds(2));
  EXPECT_EQ(fired, 0);
}

// Something a task captures that posts work on its loop when it is destroyed.
struct PostsWhenDestroyed {
  RunLoop* loop = nullptr;
  std::atomic<bool>* posted = nullptr;
  ~PostsWhenDestroyed() {
    loop->post([posted = posted] { posted->store(true); });
  }
};

TEST_F(RunLoopTest, AFinishedTaskIsDestroyedOutsideTheLoopsLock) {
  SteadyClock clock;
  RunLoop loop(clock, "destructor-posts");
  std::atomic<bool> posted{false};
  std::atomic<bool> done{false};
  auto guard = std::make_shared<PostsWhenDestroyed>(PostsWhenDestroyed{&loop, &posted});
  loop.post([guard = std::move(guard)] {});
  std::thread runner([&] {
    loop.run();
    done.store(true);
  });
  for (int i = 0; i < 500 && !posted.load(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  EXPECT_TRUE(posted.load());
  loop.shutdown();
  for (int i = 0; i < 500 && !done.load(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  // A loop stuck on its own lock never ends: stop here rather than hang on the join.
  if (!done.load()) {
    ADD_FAILURE() << "the loop's thread is stuck";
    std::abort();
  }
  runner.join();
}

TEST_F(RunLoopTest, ACancelledTaskIsDestroyedOutsideTheLoopsLock) {
  RunLoop& loop = env.mainLoop();
  std::atomic<bool> posted{false};
  int target = 0;
  auto guard = std::make_shared<PostsWhenDestroyed>(PostsWhenDestroyed{&loop, &posted});
  loop.post([guard = std::move(guard)] {}, &target);
  EXPECT_EQ(loop.cancelTasksForTarget(&target), 1u);
  env.runUntilIdle();
  EXPECT_TRUE(posted.load());
}

}  // namespace
}  // namespace platform
