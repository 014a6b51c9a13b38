#pragma once

#include "platform/foundation/Clock.h"

namespace platform {

// How long a process waits before each attempt to reach the bus again:
// `initial` after the first failure, doubling after each further one, never
// more than `maximum`; a successful connection starts the sequence afresh.
// A plain value, owned by the connection's thread.
class ReconnectBackoff {
 public:
  ReconnectBackoff() = default;
  ReconnectBackoff(Duration initial, Duration maximum);

  // The wait before the next attempt; each call doubles the following one up to the maximum.
  Duration next();
  // Starts again from the initial wait (after a successful connection).
  void reset() { current_ = initial_; }

  Duration initial() const { return initial_; }
  Duration maximum() const { return maximum_; }

 private:
  Duration initial_ = seconds(0.05);
  Duration maximum_ = seconds(2);
  Duration current_ = initial_;
};

}  // namespace platform
