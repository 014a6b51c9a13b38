#pragma once

#include <memory>
#include <string>

#include "platform/foundation/Clock.h"
#include "platform/foundation/RunLoop.h"

namespace platform {

// Where a process's clock and queues come from: the main run loop, the global
// background queue of default priority, and a loop for each serial operation
// queue. The host programs install a ThreadedTaskEnvironment (steady clock,
// worker threads); tests install a ManualTaskEnvironment (manual clock,
// everything driven on the test thread).
class TaskEnvironment {
 public:
  virtual ~TaskEnvironment();
  // The environment in force; a threaded one is created on first use if none was installed.
  static TaskEnvironment& current();

  // The clock every queue, timer and animation reads.
  virtual const Clock& clock() const = 0;
  // The main run loop (the main queue).
  virtual RunLoop& mainLoop() = 0;
  // The global background queue of default priority.
  virtual RunLoop& globalQueue() = 0;
  // A new loop that runs one task at a time, for a serial operation queue.
  virtual std::shared_ptr<RunLoop> createSerialLoop(std::string name) = 0;

 protected:
  // Makes `env` the environment in force; returns the one it replaces.
  static TaskEnvironment* install(TaskEnvironment* env);
};

}  // namespace platform
