// A run loop's task observer: called after each task, except those of the quiet target.
#include <gtest/gtest.h>

#include <vector>

#include "platform/foundation/ManualClock.h"
#include "platform/foundation/RunLoop.h"

namespace platform {
namespace {

TEST(RunLoopObserverTest, EveryTaskButTheQuietTargetsIsObservedAfterItRan) {
  ManualClock clock;
  RunLoop loop(clock, "test");
  std::vector<std::string> seen;
  const int quiet = 0, other = 0;
  loop.setTaskObserver([&] { seen.push_back("observed"); }, &quiet);
  loop.post([&] { seen.push_back("plain"); });
  loop.post([&] { seen.push_back("quiet"); }, &quiet);
  loop.post([&] { seen.push_back("other"); }, &other);
  while (loop.runOneDueTask()) {
  }
  EXPECT_EQ(seen, (std::vector<std::string>{"plain", "observed", "quiet", "other", "observed"}));

  seen.clear();
  loop.setTaskObserver(nullptr);
  loop.post([&] { seen.push_back("plain"); });
  while (loop.runOneDueTask()) {
  }
  EXPECT_EQ(seen, std::vector<std::string>{"plain"});
}

}  // namespace
}  // namespace platform
