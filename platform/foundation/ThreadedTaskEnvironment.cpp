#include "platform/foundation/ThreadedTaskEnvironment.h"

namespace platform {

ThreadedTaskEnvironment::ThreadedTaskEnvironment(int globalWorkers)
    : main_(std::make_unique<RunLoop>(clock_, "main")), global_(std::make_unique<RunLoop>(clock_, "global")) {
  for (int i = 0; i < std::max(1, globalWorkers); ++i) threads_.emplace_back([loop = global_.get()] { loop->run(); });
  previous_ = install(this);
}

ThreadedTaskEnvironment::~ThreadedTaskEnvironment() {
  install(previous_);
  main_->quit();
  global_->shutdown();
  std::vector<std::thread> threads;
  {
    std::lock_guard lock(mutex_);
    for (auto& loop : serial_) loop->shutdown();
    threads.swap(threads_);
  }
  for (auto& thread : threads)
    if (thread.joinable()) thread.join();
}

std::shared_ptr<RunLoop> ThreadedTaskEnvironment::createSerialLoop(std::string name) {
  auto loop = std::make_shared<RunLoop>(clock_, std::move(name));
  std::lock_guard lock(mutex_);
  serial_.push_back(loop);
  threads_.emplace_back([loop] { loop->run(); });
  return loop;
}

}  // namespace platform
