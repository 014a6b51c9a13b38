#pragma once

#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/foundation/TaskEnvironment.h"

namespace platform {

// The host programs' environment: the steady clock, a main loop that the
// host's main thread runs (mainLoop().run()), a global queue served by worker
// threads, and one thread per serial loop. Installs itself for its lifetime;
// stops and joins its threads when destroyed.
class ThreadedTaskEnvironment final : public TaskEnvironment {
 public:
  explicit ThreadedTaskEnvironment(int globalWorkers = 2);
  ~ThreadedTaskEnvironment() override;

  const Clock& clock() const override { return clock_; }
  RunLoop& mainLoop() override { return *main_; }
  RunLoop& globalQueue() override { return *global_; }
  std::shared_ptr<RunLoop> createSerialLoop(std::string name) override;

 private:
  SteadyClock clock_;
  std::unique_ptr<RunLoop> main_;
  std::unique_ptr<RunLoop> global_;
  std::mutex mutex_;
  std::vector<std::thread> threads_;
  std::vector<std::shared_ptr<RunLoop>> serial_;
  TaskEnvironment* previous_ = nullptr;
};

}  // namespace platform
