#include "platform/ui/Animator.h"

#include <algorithm>

#include "platform/foundation/TaskEnvironment.h"

namespace platform {

// Rides along with each queued tick: if the environment drops the task unrun
// (a test's environment ends), the animator forgets that tick was pending.
struct TickGuard {
  TimePoint when;
  bool ran = false;
  ~TickGuard() {
    if (ran) return;
    auto& pending = Animator::shared().pendingWakes_;
    auto it = std::find(pending.begin(), pending.end(), when);
    if (it != pending.end()) pending.erase(it);
  }
};

Animator& Animator::shared() {
  static Animator* animator = new Animator();  // never destroyed: queued ticks may outlive statics
  return *animator;
}

TimePoint Animator::now() { return TaskEnvironment::current().clock().now(); }

void Animator::add(const std::shared_ptr<FrameTicker>& ticker) {
  running_.push_back(ticker);
  if (!ticking_) schedule();
}

size_t Animator::runningCount() const {
  size_t n = 0;
  for (const auto& w : running_) n += w.expired() ? 0 : 1;
  return n;
}

void Animator::tick() {
  ticking_ = true;
  TimePoint t = now();
  // Tickers added while stepping are stepped in this same pass.
  for (size_t i = 0; i < running_.size(); ++i) {
    std::shared_ptr<FrameTicker> ticker = running_[i].lock();
    if (!ticker || !ticker->step(t)) running_[i].reset();
  }
  running_.erase(std::remove_if(running_.begin(), running_.end(), [](const auto& w) { return w.expired(); }),
                 running_.end());
  ticking_ = false;
  schedule();
}

void Animator::schedule() {
  if (running_.empty()) return;
  TimePoint t = now();
  TimePoint desired = t + seconds(kFrameInterval);
  for (const auto& w : running_) {
    if (auto ticker = w.lock()) {
      TimePoint d = ticker->deadline();
      if (d < desired) desired = std::max(d, t);
    }
  }
  for (TimePoint p : pendingWakes_) {
    if (p <= desired) return;  // a tick comes soon enough
  }
  pendingWakes_.push_back(desired);
  auto guard = std::make_shared<TickGuard>();
  guard->when = desired;
  TaskEnvironment::current().mainLoop().postDelayed(desired - t, [guard] {
    guard->ran = true;
    auto& self = Animator::shared();
    auto it = std::find(self.pendingWakes_.begin(), self.pendingWakes_.end(), guard->when);
    if (it != self.pendingWakes_.end()) self.pendingWakes_.erase(it);
    self.tick();
  });
}

void Animator::pushContext(BlockContext context) { contexts_.push_back(std::move(context)); }

void Animator::popContext() {
  if (!contexts_.empty()) contexts_.pop_back();
}

const Animator::BlockContext* Animator::currentContext() const {
  if (contexts_.empty() || contexts_.back().disabled) return nullptr;
  return &contexts_.back();
}

}  // namespace platform
