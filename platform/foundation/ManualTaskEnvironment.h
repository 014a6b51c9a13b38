#pragma once

#include <memory>
#include <optional>
#include <vector>

#include "platform/foundation/ManualClock.h"
#include "platform/foundation/TaskEnvironment.h"

namespace platform {

// The test environment: a manual clock, and every queue driven on the calling
// thread in due-time order, so a test is instant and deterministic. Installs
// itself as the environment in force for its lifetime.
class ManualTaskEnvironment final : public TaskEnvironment {
 public:
  ManualTaskEnvironment();
  ~ManualTaskEnvironment() override;

  const Clock& clock() const override { return clock_; }
  RunLoop& mainLoop() override { return *main_; }
  RunLoop& globalQueue() override { return *global_; }
  std::shared_ptr<RunLoop> createSerialLoop(std::string name) override;

  // The current time.
  TimePoint now() const { return clock_.now(); }
  // Moves the time forward without running anything.
  void advance(Duration delta) { clock_.advance(delta); }
  // Runs every task that is due now, including those posted meanwhile; returns how many ran.
  size_t runUntilIdle();
  // Moves the time forward by `delta`, running each task at its due time in order.
  void fastForwardBy(Duration delta);
  // Runs until no task is queued anywhere (time moves as far as needed), at most `limit` tasks.
  size_t fastForwardUntilNoTasksRemain(size_t limit = 1000000);
  // How long until the next queued task is due (zero when one is due now), or nothing when idle.
  std::optional<Duration> nextPendingDelay() const;

 private:
  RunLoop* earliest(std::optional<TimePoint> dueBy) const;

  ManualClock clock_;
  std::unique_ptr<RunLoop> main_;
  std::unique_ptr<RunLoop> global_;
  std::vector<std::weak_ptr<RunLoop>> serial_;
  TaskEnvironment* previous_ = nullptr;
};

}  // namespace platform
