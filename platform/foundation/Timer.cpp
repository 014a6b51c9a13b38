#include "platform/foundation/Timer.h"

#include "platform/foundation/Dispatch.h"

namespace platform {

Timer::Timer(Duration interval, Repeats repeats, Callback callback)
    : interval_(std::max(interval, Duration::zero())), repeats_(repeats), callback_(std::move(callback)) {}

std::shared_ptr<Timer> Timer::scheduledTimer(Duration interval, Repeats repeats, Callback callback) {
  auto timer = std::make_shared<Timer>(interval, repeats, std::move(callback));
  timer->schedule();
  return timer;
}

void Timer::schedule() {
  // Like a run loop retaining its timers: the pending task keeps the timer
  // alive until it fires or finds itself invalidated.
  dispatch_get_main_queue().postDelayed(interval_, [self = shared_from_this()] { self->fire(); });
}

void Timer::fire() {
  if (!valid_) return;
  // Keep the timer alive while its callback runs, even if the owner drops it.
  auto self = shared_from_this();
  if (repeats_ == Repeats::No) valid_ = false;
  if (callback_) callback_(*this);
  // A repeating timer with a zero interval would spin the loop forever.
  if (repeats_ == Repeats::Yes && valid_ && interval_ > Duration::zero()) schedule();
}

}  // namespace platform
