#pragma once

#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/prctl.h>
#include <sys/wait.h>

#include <condition_variable>
#include <filesystem>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/bus/BusDaemon.h"
#include "platform/bus/BusLocation.h"
#include "platform/bus/ReconnectBackoff.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/ThreadedTaskEnvironment.h"

namespace platform::bustest {

// Every wait on real cross-process traffic ends by this deadline.
inline constexpr Duration kWait = seconds(10);
// Tests reconnect quickly.
inline ReconnectBackoff fastBackoff() { return ReconnectBackoff(seconds(0.01), seconds(0.2)); }

// Things that arrive on other threads, and a bounded wait for them.
template <typename T>
class Inbox {
 public:
  void push(T value) {
    {
      std::lock_guard lock(mutex_);
      items_.push_back(std::move(value));
    }
    changed_.notify_all();
  }
  // Waits until `ready(items)` holds; false when the deadline passed first.
  bool waitUntil(const std::function<bool(const std::vector<T>&)>& ready, Duration timeout = kWait) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, timeout, [&] { return ready(items_); });
  }
  bool waitForCount(size_t count, Duration timeout = kWait) {
    return waitUntil([count](const std::vector<T>& items) { return items.size() >= count; }, timeout);
  }
  std::vector<T> items() const {
    std::lock_guard lock(mutex_);
    return items_;
  }

 private:
  mutable std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<T> items_;
};

// A device root in a fresh temporary folder; its bus daemon is stopped and the folder removed at the end.
// The test process adopts the daemons it starts (child subreaper), so a killed one is reaped here.
class TempDevice {
 public:
  TempDevice() {
    prctl(PR_SET_CHILD_SUBREAPER, 1);
    char pattern[] = "/tmp/tessra-bus-test-XXXXXX";
    root_ = mkdtemp(pattern);
  }
  ~TempDevice() {
    BusDaemon::stop(root_);
    std::error_code ec;
    std::filesystem::remove_all(root_, ec);
  }
  const std::filesystem::path& root() const { return root_; }

  void startBus() {
    auto started = BusDaemon::start(root_);
    ASSERT_TRUE(started.ok) << started.error;
  }
  // Kills the daemon outright, as a crash would, and reaps it.
  void killBus() {
    auto pid = BusDaemon::runningPid(root_);
    ASSERT_TRUE(pid.has_value());
    ASSERT_EQ(kill(*pid, SIGKILL), 0);
    waitpid(*pid, nullptr, 0);
    ASSERT_FALSE(BusDaemon::isRunning(root_));
  }

 private:
  std::filesystem::path root_;
};

// The process's main loop, run by a thread of the test as a host's main thread would.
class MainLoopThread {
 public:
  MainLoopThread() : thread_([this] { env_.mainLoop().run(); }) {}
  ~MainLoopThread() {
    env_.mainLoop().quit();
    thread_.join();
  }
  std::thread::id id() const { return thread_.get_id(); }
  ThreadedTaskEnvironment& env() { return env_; }

 private:
  ThreadedTaskEnvironment env_;
  std::thread thread_;
};

// Collects the process's log lines while alive.
class LogCapture {
 public:
  LogCapture() {
    previous_ = Log::setSink([this](const std::string& line) { lines_.push(line); });
  }
  ~LogCapture() { Log::setSink(previous_); }
  std::vector<std::string> lines() const { return lines_.items(); }
  bool contains(const std::string& part) const {
    for (const auto& line : lines())
      if (line.find(part) != std::string::npos) return true;
    return false;
  }

 private:
  mutable Inbox<std::string> lines_;
  Log::Sink previous_;
};

}  // namespace platform::bustest
