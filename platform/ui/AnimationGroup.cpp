#include "platform/ui/AnimationGroup.h"

#include "platform/foundation/TaskEnvironment.h"

namespace platform {

void AnimationGroup::oneEnded(bool finished) {
  if (!finished) allFinished_ = false;
  if (pending_ > 0) --pending_;
  if (pending_ == 0 && sealed_) complete();
}

void AnimationGroup::seal() {
  sealed_ = true;
  if (pending_ == 0) complete();
}

void AnimationGroup::complete() {
  if (done_) return;
  done_ = true;
  if (!completion_) return;
  TaskEnvironment::current().mainLoop().post(
      [completion = std::move(completion_), finished = allFinished_] { completion(finished); });
}

}  // namespace platform
