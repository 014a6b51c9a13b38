#include "platform/foundation/RunLoop.h"

#include <atomic>

namespace platform {

namespace {

// One sequence for every loop of the process, so tasks posted to different
// loops for the same time still have a total order.
std::atomic<uint64_t> g_sequence{1};
thread_local RunLoop* t_current = nullptr;

}  // namespace

RunLoop::RunLoop(const Clock& clock, std::string name) : clock_(clock), name_(std::move(name)) {}

RunLoop::~RunLoop() = default;

void RunLoop::post(Task task, const void* target) { postDelayed(Duration::zero(), std::move(task), target); }

void RunLoop::postDelayed(Duration delay, Task task, const void* target) {
  if (!task) return;
  if (delay < Duration::zero()) delay = Duration::zero();
  {
    std::lock_guard lock(mutex_);
    queue_.push(Entry{clock_.now() + delay, g_sequence.fetch_add(1), std::move(task), target});
  }
  wake_.notify_one();
}

size_t RunLoop::cancelTasksForTarget(const void* target) {
  if (!target) return 0;
  std::lock_guard lock(mutex_);
  std::vector<Entry> kept;
  size_t dropped = 0;
  while (!queue_.empty()) {
    Entry entry = std::move(const_cast<Entry&>(queue_.top()));
    queue_.pop();
    if (entry.target == target)
      ++dropped;
    else
      kept.push_back(std::move(entry));
  }
  for (auto& entry : kept) queue_.push(std::move(entry));
  return dropped;
}

std::optional<RunLoop::Next> RunLoop::next() const {
  std::lock_guard lock(mutex_);
  if (queue_.empty()) return std::nullopt;
  return Next{queue_.top().due, queue_.top().sequence};
}

size_t RunLoop::pendingCount() const {
  std::lock_guard lock(mutex_);
  return queue_.size();
}

RunLoop* RunLoop::current() { return t_current; }

void RunLoop::runEntry(Entry& entry) {
  RunLoop* outer = t_current;
  t_current = this;
  entry.task();
  t_current = outer;
  if (observer_ && (entry.target == nullptr || entry.target != quietTarget_)) observer_();
}

void RunLoop::setTaskObserver(std::function<void()> observer, const void* quietTarget) {
  observer_ = std::move(observer);
  quietTarget_ = quietTarget;
}

bool RunLoop::runOneDueTask() {
  Entry entry;
  {
    std::lock_guard lock(mutex_);
    if (queue_.empty() || queue_.top().due > clock_.now()) return false;
    entry = std::move(const_cast<Entry&>(queue_.top()));
    queue_.pop();
  }
  runEntry(entry);
  return true;
}

void RunLoop::run() {
  std::unique_lock lock(mutex_);
  ++runners_;
  while (!quitting_ && !shutDown_) {
    if (queue_.empty()) {
      wake_.wait(lock);
      continue;
    }
    TimePoint now = clock_.now();
    if (queue_.top().due > now) {
      wake_.wait_for(lock, queue_.top().due - now);
      continue;
    }
    Entry entry = std::move(const_cast<Entry&>(queue_.top()));
    queue_.pop();
    lock.unlock();
    runEntry(entry);
    lock.lock();
  }
  // The last runner to leave re-arms the loop for a later run().
  if (--runners_ == 0) quitting_ = false;
}

void RunLoop::shutdown() {
  {
    std::lock_guard lock(mutex_);
    shutDown_ = true;
  }
  wake_.notify_all();
}

void RunLoop::quit() {
  {
    std::lock_guard lock(mutex_);
    quitting_ = true;
  }
  wake_.notify_all();
}

}  // namespace platform
