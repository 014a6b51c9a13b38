#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <thread>

#include "platform/foundation/Clock.h"
#include "platform/foundation/Dispatch.h"
#include "platform/foundation/OperationQueue.h"
#include "platform/foundation/RunLoop.h"
#include "platform/foundation/ThreadedTaskEnvironment.h"

namespace platform {
namespace {

// The host programs' environment really runs background work on other threads
// and brings results back to the thread that runs the main loop.
TEST(ThreadedTaskEnvironmentTest, BackgroundWorkPostsBackToTheMainLoop) {
  ThreadedTaskEnvironment env;
  std::thread::id mainThread = std::this_thread::get_id();
  std::thread::id workerThread, resultThread;
  dispatch_async(dispatch_get_global_queue(), [&] {
    workerThread = std::this_thread::get_id();
    dispatch_async(dispatch_get_main_queue(), [&] {
      resultThread = std::this_thread::get_id();
      env.mainLoop().quit();
    });
  });
  env.mainLoop().run();
  EXPECT_NE(workerThread, mainThread);
  EXPECT_EQ(resultThread, mainThread);
}

// Workers of a loop that is shut down may get to run() late (a thread starts slowly): they must return at once,
// or destroying the environment waits for them forever.
TEST(ThreadedTaskEnvironmentTest, WorkersThatStartAfterShutdownReturnAtOnce) {
  SteadyClock clock;
  RunLoop loop(clock, "workers");
  loop.shutdown();
  std::thread early([&] { loop.run(); });
  early.join();
  std::thread late([&] { loop.run(); });  // hangs when the first runner re-armed the loop
  late.join();
  // Quitting, unlike shutting down, lets the loop run again once it has stopped.
  RunLoop reusable(clock, "main");
  reusable.quit();
  reusable.run();
  bool ran = false;
  reusable.post([&] {
    ran = true;
    reusable.quit();
  });
  reusable.run();
  EXPECT_TRUE(ran);
}

TEST(ThreadedTaskEnvironmentTest, SerialQueueRunsOperationsInOrderOnItsOwnThread) {
  ThreadedTaskEnvironment env;
  auto queue = OperationQueue::create("serial");
  std::vector<int> order;
  std::promise<void> done;
  for (int i = 0; i < 5; ++i)
    queue->addOperation(std::make_shared<Operation>(
        [&, i] {
          order.push_back(i);
          if (i == 4) done.set_value();
        },
        std::chrono::milliseconds(1)));
  ASSERT_EQ(done.get_future().wait_for(std::chrono::seconds(10)), std::future_status::ready);
  EXPECT_EQ(order, (std::vector<int>{0, 1, 2, 3, 4}));
}

}  // namespace
}  // namespace platform
