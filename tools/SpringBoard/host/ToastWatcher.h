#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace platform::springboard {
class EventLog;
}

namespace tessra::device {

// Watches the plug-in's toasts through their in-process announcements and
// writes each into the device's event log, the same line when it appears and
// when it has faded out: `toast "TITLE" "MESSAGE" 3.0s` (nil for a missing
// text). Keeps what is on screen and what waits, for expectations. Main
// thread only; the log must outlive the watcher.
class ToastWatcher {
 public:
  // The announcement the toasts post (in-process).
  static constexpr const char* kToastsDidChangeNotification = "TessraToastsDidChangeNotification";

  struct Toast {
    std::optional<std::string> title;
    std::optional<std::string> message;
    double duration = 0;
  };

  explicit ToastWatcher(platform::springboard::EventLog& log);
  ~ToastWatcher();
  ToastWatcher(const ToastWatcher&) = delete;
  ToastWatcher& operator=(const ToastWatcher&) = delete;

  // The toasts on screen, oldest first, then those waiting in order.
  std::vector<Toast> visibleOrQueued() const;
  // How many toasts are on screen or waiting, over the whole home screen.
  size_t count() const { return visibleCount_ + queuedCount_; }

  // The trace text of a toast.
  static std::string describe(const Toast& toast);

 private:
  platform::springboard::EventLog& log_;
  uint64_t observer_ = 0;
  std::vector<Toast> visible_;
  std::vector<Toast> queued_;
  size_t visibleCount_ = 0;
  size_t queuedCount_ = 0;
};

}  // namespace tessra::device
