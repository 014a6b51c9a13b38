#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/foundation/ObserverList.h"
#include "platform/foundation/PropertyList.h"

namespace platform {

// A notification inside one process (NSNotification).
struct Notification {
  std::string name;
  const void* object = nullptr;
  plist::Value userInfo;
};

// The in-process notification centre (NSNotificationCenter): block observers
// by name, optionally filtered by the posting object; posts are delivered
// synchronously on the posting thread.
class NotificationCenter {
 public:
  using Block = std::function<void(const Notification&)>;

  // The process's default centre.
  static NotificationCenter& defaultCenter();

  // Observes `name` (from `object` only, unless null); returns a token (never 0).
  uint64_t addObserver(std::string name, const void* object, Block block);
  // Removes the observer; unknown tokens are ignored.
  void removeObserver(uint64_t token);
  // Delivers to every matching observer now.
  void postNotification(const std::string& name, const void* object = nullptr, const plist::Value& userInfo = {});

 private:
  ObserverList<Block> observers_;
};

}  // namespace platform
