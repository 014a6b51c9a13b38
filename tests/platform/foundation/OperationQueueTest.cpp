#include <gtest/gtest.h>

#include <vector>

#include "platform/foundation/Dispatch.h"
#include "platform/foundation/ManualTaskEnvironment.h"
#include "platform/foundation/OperationQueue.h"

namespace platform {
namespace {

class OperationQueueTest : public ::testing::Test {
 protected:
  ManualTaskEnvironment env;
  std::shared_ptr<OperationQueue> queue = OperationQueue::create("test");
  std::vector<std::pair<int, Duration>> ran;  // (operation, time since start)
  TimePoint start = env.now();

  std::shared_ptr<Operation> step(int id, Duration hold) {
    return std::make_shared<Operation>([this, id] { ran.emplace_back(id, env.now() - start); }, hold);
  }
};

TEST_F(OperationQueueTest, RunsOneOperationAtATimeEachAfterItsHold) {
  const Duration frame = seconds(1.0 / 60);
  queue->addOperations({step(1, frame), step(2, frame), step(3, frame)});
  EXPECT_EQ(queue->operationCount(), 3u);
  env.fastForwardUntilNoTasksRemain();
  ASSERT_EQ(ran.size(), 3u);
  EXPECT_EQ(ran[0], std::make_pair(1, frame));
  EXPECT_EQ(ran[1], std::make_pair(2, 2 * frame));
  EXPECT_EQ(ran[2], std::make_pair(3, 3 * frame));
  EXPECT_EQ(queue->operationCount(), 0u);
}

TEST_F(OperationQueueTest, CancellingDropsWaitingOperationsButNotTheStartedOne) {
  const Duration frame = seconds(1.0 / 60);
  queue->addOperations({step(1, frame), step(2, frame), step(3, frame)});
  env.fastForwardBy(frame / 2);  // operation 1 has passed its check and is holding
  queue->cancelAllOperations();
  queue->addOperation(step(4, frame));
  env.fastForwardUntilNoTasksRemain();
  ASSERT_EQ(ran.size(), 2u);
  EXPECT_EQ(ran[0].first, 1);
  EXPECT_EQ(ran[1], std::make_pair(4, 2 * frame));
}

TEST_F(OperationQueueTest, AnOperationCanPostBackToTheMainQueue) {
  int onMain = 0;
  queue->addOperation(std::make_shared<Operation>(
      [&] { dispatch_async(dispatch_get_main_queue(), [&] { onMain = RunLoop::current() == &env.mainLoop(); }); },
      seconds(0.01)));
  env.fastForwardBy(seconds(0.02));
  EXPECT_EQ(onMain, 1);
}

}  // namespace
}  // namespace platform
