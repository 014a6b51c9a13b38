#include "platform/foundation/OperationQueue.h"

#include "platform/foundation/TaskEnvironment.h"

namespace platform {

std::shared_ptr<OperationQueue> OperationQueue::create(std::string name) {
  return std::shared_ptr<OperationQueue>(
      new OperationQueue(TaskEnvironment::current().createSerialLoop(std::move(name))));
}

OperationQueue::OperationQueue(std::shared_ptr<RunLoop> loop) : loop_(std::move(loop)) {}

OperationQueue::~OperationQueue() = default;

void OperationQueue::addOperation(std::shared_ptr<Operation> op) {
  std::vector<std::shared_ptr<Operation>> ops;
  ops.push_back(std::move(op));
  addOperations(std::move(ops));
}

void OperationQueue::addOperations(std::vector<std::shared_ptr<Operation>> ops) {
  std::unique_lock lock(mutex_);
  for (auto& op : ops)
    if (op) waiting_.push_back(std::move(op));
  if (!running_) startNextLocked(lock);
}

void OperationQueue::cancelAllOperations() {
  std::lock_guard lock(mutex_);
  for (auto& op : waiting_) op->cancel();
  if (running_) running_->cancel();
}

size_t OperationQueue::operationCount() const {
  std::lock_guard lock(mutex_);
  return waiting_.size() + (running_ ? 1 : 0);
}

// Takes the next operation that was not cancelled and hands it to the loop:
// it holds the queue for its hold time, then runs its body, then the next
// operation starts. Cancelled operations are dropped when their turn comes.
void OperationQueue::startNextLocked(std::unique_lock<std::mutex>&) {
  while (!waiting_.empty() && waiting_.front()->isCancelled()) waiting_.pop_front();
  if (waiting_.empty()) {
    running_.reset();
    return;
  }
  running_ = waiting_.front();
  waiting_.pop_front();
  std::weak_ptr<OperationQueue> weak = weak_from_this();
  auto op = running_;
  loop_->postDelayed(op->holdFirst_, [weak, op] {
    if (op->body_) op->body_();
    op->finished_.store(true, std::memory_order_release);
    if (auto queue = weak.lock()) queue->finishCurrent();
  });
}

void OperationQueue::finishCurrent() {
  std::unique_lock lock(mutex_);
  running_.reset();
  startNextLocked(lock);
}

}  // namespace platform
