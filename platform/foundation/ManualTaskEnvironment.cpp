#include "platform/foundation/ManualTaskEnvironment.h"

#include <algorithm>

namespace platform {

ManualTaskEnvironment::ManualTaskEnvironment()
    : main_(std::make_unique<RunLoop>(clock_, "main")), global_(std::make_unique<RunLoop>(clock_, "global")) {
  previous_ = install(this);
}

ManualTaskEnvironment::~ManualTaskEnvironment() { install(previous_); }

std::shared_ptr<RunLoop> ManualTaskEnvironment::createSerialLoop(std::string name) {
  auto loop = std::make_shared<RunLoop>(clock_, std::move(name));
  std::erase_if(serial_, [](const std::weak_ptr<RunLoop>& w) { return w.expired(); });
  serial_.push_back(loop);
  return loop;
}

RunLoop* ManualTaskEnvironment::earliest(std::optional<TimePoint> dueBy) const {
  RunLoop* best = nullptr;
  RunLoop::Next bestNext;
  auto consider = [&](RunLoop* loop) {
    auto next = loop->next();
    if (!next || (dueBy && next->due > *dueBy)) return;
    if (!best || next->due < bestNext.due || (next->due == bestNext.due && next->sequence < bestNext.sequence)) {
      best = loop;
      bestNext = *next;
    }
  };
  consider(main_.get());
  consider(global_.get());
  for (const auto& weak : serial_)
    if (auto loop = weak.lock()) consider(loop.get());
  return best;
}

size_t ManualTaskEnvironment::runUntilIdle() {
  size_t ran = 0;
  while (RunLoop* loop = earliest(clock_.now())) {
    if (loop->runOneDueTask()) ++ran;
  }
  return ran;
}

void ManualTaskEnvironment::fastForwardBy(Duration delta) {
  const TimePoint end = clock_.now() + std::max(delta, Duration::zero());
  while (RunLoop* loop = earliest(end)) {
    clock_.advanceTo(loop->next()->due);
    loop->runOneDueTask();
  }
  clock_.advanceTo(end);
}

size_t ManualTaskEnvironment::fastForwardUntilNoTasksRemain(size_t limit) {
  size_t ran = 0;
  while (ran < limit) {
    RunLoop* loop = earliest(std::nullopt);
    if (!loop) break;
    clock_.advanceTo(loop->next()->due);
    if (loop->runOneDueTask()) ++ran;
  }
  return ran;
}

std::optional<Duration> ManualTaskEnvironment::nextPendingDelay() const {
  RunLoop* loop = earliest(std::nullopt);
  if (!loop) return std::nullopt;
  return std::max(loop->next()->due - clock_.now(), Duration::zero());
}

}  // namespace platform
