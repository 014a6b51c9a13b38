#pragma once

#include <sys/types.h>

#include "platform/foundation/Clock.h"

namespace platform {

// Whether another process of the device still runs, and waiting for it to
// end. A process that has ended but was not yet reaped by its parent (a
// zombie: a detached host's parent is whatever adopted it, which may reap it
// late) has ended: it is counted as gone at once. Stateless.
class ProcessState {
 public:
  // Whether `pid` exists and has not ended.
  static bool isRunning(pid_t pid);
  // Waits until `pid` has ended, at most `timeout`, woken by the end itself (a pidfd) rather than by polling
  // where the kernel allows; reaps it when it is a child of this process. False when it still runs.
  static bool waitUntilEnded(pid_t pid, Duration timeout);
};

}  // namespace platform
