#pragma once

#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "tweak/toast/ToastPosition.h"

namespace platform {
class Timer;
class UIView;
}  // namespace platform

// What a toast view carries while it lives: its dismissal timer, the duration
// and position it waits with in a queue, the completion to call when it is
// gone (YES when a tap dismissed it), and the title and message it says.
struct ToastState {
  std::shared_ptr<platform::Timer> timer;       // ToastTimerKey
  double duration = 0;                          // ToastDurationKey
  std::optional<ToastPosition> position;        // ToastPositionKey
  std::function<void(bool didTap)> completion;  // ToastCompletionKey
  std::optional<std::string> title;
  std::optional<std::string> message;
  bool hiding = false;  // fading out: a second hide changes nothing
};

// What a host view carries: the toasts on screen, the toasts waiting, and
// the activity box.
struct ToastHostState {
  std::vector<std::shared_ptr<platform::UIView>> active;  // ToastActiveKey
  std::deque<std::shared_ptr<platform::UIView>> queue;    // ToastQueueKey
  std::shared_ptr<platform::UIView> activity;             // ToastActivityViewKey
};

// The values the toast operations attach to views, as associated objects
// would: created on first use and dropped when the view is gone (a view at
// the address of a dead one starts afresh). Process-wide; main thread only.
class ToastAttachments {
 public:
  // The state of host view `view`, created on first use.
  static ToastHostState& host(platform::UIView& view);
  // The state of host view `view`, or null when it has none.
  static ToastHostState* findHost(const platform::UIView& view);
  // The state of toast view `view`, created on first use.
  static ToastState& toast(platform::UIView& view);
  // The state of toast view `view`, or null.
  static ToastState* findToast(const platform::UIView& view);
  // Drops what is attached to toast view `view`.
  static void forgetToast(const platform::UIView& view);
  // Toasts on screen and toasts waiting, over every host of the process.
  static size_t visibleCount();
  static size_t queuedCount();
};
