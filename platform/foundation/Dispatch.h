#pragma once

#include <atomic>
#include <memory>

#include "platform/foundation/RunLoop.h"
#include "platform/foundation/TaskEnvironment.h"

namespace platform {

// The dispatch calls the system makes, on the queues of the environment in
// force. Queues are RunLoops.

// The main queue (the main run loop).
RunLoop& dispatch_get_main_queue();
// The global background queue; every priority maps to the one default queue.
RunLoop& dispatch_get_global_queue(long priority = 0, unsigned long flags = 0);
// Runs `task` on `queue` as soon as it gets to it.
void dispatch_async(RunLoop& queue, Task task);
// Runs `task` on `queue` once `delay` has passed.
void dispatch_after(Duration delay, RunLoop& queue, Task task);

// A block that can be cancelled before it runs (dispatch_block_create).
class DispatchBlock {
 public:
  explicit DispatchBlock(Task task) : task_(std::move(task)) {}
  // Runs the block unless it was cancelled.
  void operator()() const {
    if (!cancelled_.load(std::memory_order_acquire) && task_) task_();
  }
  // Stops the block from running when it comes due; a running block finishes.
  void cancel() { cancelled_.store(true, std::memory_order_release); }
  // Whether cancel() was called.
  bool isCancelled() const { return cancelled_.load(std::memory_order_acquire); }

 private:
  Task task_;
  std::atomic<bool> cancelled_{false};
};

// Makes a cancellable block.
std::shared_ptr<DispatchBlock> dispatch_block_create(Task task);
// Queues a cancellable block.
void dispatch_async(RunLoop& queue, const std::shared_ptr<DispatchBlock>& block);
// Queues a cancellable block after `delay`.
void dispatch_after(Duration delay, RunLoop& queue, const std::shared_ptr<DispatchBlock>& block);
// Cancels a block (dispatch_block_cancel).
void dispatch_block_cancel(const std::shared_ptr<DispatchBlock>& block);

// performSelector:afterDelay: and cancelPreviousPerformRequestsWithTarget: on
// the main loop: delayed requests grouped by the object they are for.
void performAfterDelay(const void* target, Duration delay, Task task);
// Drops every delayed request still pending for `target`.
void cancelPreviousPerformRequests(const void* target);

}  // namespace platform
