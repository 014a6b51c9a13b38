#include "platform/foundation/Dispatch.h"

namespace platform {

RunLoop& dispatch_get_main_queue() { return TaskEnvironment::current().mainLoop(); }

RunLoop& dispatch_get_global_queue(long, unsigned long) { return TaskEnvironment::current().globalQueue(); }

void dispatch_async(RunLoop& queue, Task task) { queue.post(std::move(task)); }

void dispatch_after(Duration delay, RunLoop& queue, Task task) { queue.postDelayed(delay, std::move(task)); }

std::shared_ptr<DispatchBlock> dispatch_block_create(Task task) {
  return std::make_shared<DispatchBlock>(std::move(task));
}

void dispatch_async(RunLoop& queue, const std::shared_ptr<DispatchBlock>& block) {
  if (block) queue.post([block] { (*block)(); });
}

void dispatch_after(Duration delay, RunLoop& queue, const std::shared_ptr<DispatchBlock>& block) {
  if (block) queue.postDelayed(delay, [block] { (*block)(); });
}

void dispatch_block_cancel(const std::shared_ptr<DispatchBlock>& block) {
  if (block) block->cancel();
}

void performAfterDelay(const void* target, Duration delay, Task task) {
  dispatch_get_main_queue().postDelayed(delay, std::move(task), target);
}

void cancelPreviousPerformRequests(const void* target) { dispatch_get_main_queue().cancelTasksForTarget(target); }

}  // namespace platform
