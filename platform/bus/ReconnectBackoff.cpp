#include "platform/bus/ReconnectBackoff.h"

#include <algorithm>

namespace platform {

ReconnectBackoff::ReconnectBackoff(Duration initial, Duration maximum)
    : initial_(std::max(initial, Duration(1))), maximum_(std::max(maximum, initial_)), current_(initial_) {}

Duration ReconnectBackoff::next() {
  Duration wait = current_;
  current_ = std::min(current_ * 2, maximum_);
  return wait;
}

}  // namespace platform
