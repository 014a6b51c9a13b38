#pragma once

#include <atomic>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/foundation/Clock.h"
#include "platform/foundation/RunLoop.h"

namespace platform {

// One unit of work for an OperationQueue. When its turn comes it checks once
// whether it was cancelled; if not, it keeps the queue busy for `holdFirst`
// (the operation sleeping on the queue's thread) and then runs its body there.
class Operation {
 public:
  explicit Operation(Task body, Duration holdFirst = Duration::zero())
      : body_(std::move(body)), holdFirst_(holdFirst) {}
  // Marks the operation cancelled; it is skipped unless it has already started.
  void cancel() { cancelled_.store(true, std::memory_order_release); }
  // Whether cancel() was called.
  bool isCancelled() const { return cancelled_.load(std::memory_order_acquire); }
  // Whether the body has run.
  bool isFinished() const { return finished_.load(std::memory_order_acquire); }

 private:
  friend class OperationQueue;
  Task body_;
  Duration holdFirst_;
  std::atomic<bool> cancelled_{false};
  std::atomic<bool> finished_{false};
};

// A serial operation queue (NSOperationQueue with one concurrent operation),
// running on a loop of its own from the environment in force. Operations run
// one at a time in the order added; waiting ones can be cancelled.
class OperationQueue : public std::enable_shared_from_this<OperationQueue> {
 public:
  // Creates a queue; always hold it in a shared_ptr.
  static std::shared_ptr<OperationQueue> create(std::string name);
  ~OperationQueue();

  // Adds one operation at the end of the queue.
  void addOperation(std::shared_ptr<Operation> op);
  // Adds operations in order, without waiting for them.
  void addOperations(std::vector<std::shared_ptr<Operation>> ops);
  // Cancels every operation not yet started; they are dropped when their turn comes.
  void cancelAllOperations();
  // Operations added and not yet finished or skipped (the running one included).
  size_t operationCount() const;

 private:
  explicit OperationQueue(std::shared_ptr<RunLoop> loop);
  void startNextLocked(std::unique_lock<std::mutex>& lock);
  void finishCurrent();

  std::shared_ptr<RunLoop> loop_;
  mutable std::mutex mutex_;
  std::deque<std::shared_ptr<Operation>> waiting_;
  std::shared_ptr<Operation> running_;
};

}  // namespace platform
