#pragma once

#include <algorithm>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

namespace platform {

// The observers of a notification centre: callbacks registered under a
// notification name (and, for the in-process centre, a sender), each with a
// token for its removal. The list owns the callbacks; a delivery takes shared
// copies of the matching ones and calls them outside the lock, so an observer
// may add or remove observers while it is being called. Thread-safe.
template <class Callback>
class ObserverList {
 public:
  struct Match {
    uint64_t token;
    std::shared_ptr<Callback> callback;
  };

  // Adds an observer of `name` posted by `sender` (null: by anyone); returns its token (never 0).
  uint64_t add(std::string name, const void* sender, Callback callback) {
    std::lock_guard lock(mutex_);
    const uint64_t token = nextToken_++;
    observers_.push_back({token, std::move(name), sender, std::make_shared<Callback>(std::move(callback))});
    return token;
  }
  // Removes the observer; unknown tokens are ignored.
  void remove(uint64_t token) {
    std::lock_guard lock(mutex_);
    std::erase_if(observers_, [token](const Observer& o) { return o.token == token; });
  }
  // Whether the observer of `token` is still registered.
  bool contains(uint64_t token) const {
    std::lock_guard lock(mutex_);
    return std::any_of(observers_.begin(), observers_.end(), [token](const Observer& o) { return o.token == token; });
  }
  // Number of observers of `name`.
  size_t count(const std::string& name) const {
    std::lock_guard lock(mutex_);
    return static_cast<size_t>(
        std::count_if(observers_.begin(), observers_.end(), [&](const Observer& o) { return o.name == name; }));
  }
  // The observers of `name` that take posts from `sender`, in the order they were added.
  std::vector<Match> matching(const std::string& name, const void* sender = nullptr) const {
    std::lock_guard lock(mutex_);
    std::vector<Match> matches;
    for (const Observer& o : observers_)
      if (o.name == name && (!o.sender || o.sender == sender)) matches.push_back({o.token, o.callback});
    return matches;
  }

 private:
  struct Observer {
    uint64_t token;
    std::string name;
    const void* sender;
    std::shared_ptr<Callback> callback;
  };
  mutable std::mutex mutex_;
  std::vector<Observer> observers_;
  uint64_t nextToken_ = 1;
};

}  // namespace platform
