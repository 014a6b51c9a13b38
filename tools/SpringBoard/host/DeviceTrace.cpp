#include "tools/SpringBoard/host/DeviceTrace.h"

#include <cstdio>

#include "platform/foundation/NotificationCenter.h"
#include "platform/springboard/EventLog.h"

namespace tessra::device {

DeviceTrace::DeviceTrace(platform::springboard::EventLog& eventLog, const platform::Clock& clock,
                         platform::TimePoint origin)
    : eventLog_(eventLog), clock_(clock), origin_(origin), mainThread_(std::this_thread::get_id()) {
  eventIndex_ = eventLog_.size();
  observer_ = platform::NotificationCenter::defaultCenter().addObserver(
      kDebugLineNotification, nullptr, [this](const platform::Notification& notification) {
        const platform::plist::Value* message = notification.userInfo.find("message");
        if (message && message->isString()) addDebugLine(message->string());
      });
}

DeviceTrace::~DeviceTrace() { platform::NotificationCenter::defaultCenter().removeObserver(observer_); }

std::string DeviceTrace::format(platform::Duration sinceOrigin, const std::string& text) {
  char stamp[32];
  std::snprintf(stamp, sizeof stamp, "[%10.3f] ", platform::toSeconds(sinceOrigin));
  return stamp + text;
}

void DeviceTrace::append(platform::TimePoint time, std::string text) {
  std::lock_guard lock(mutex_);
  lines_.push_back(format(time - origin_, text));
  while (lines_.size() > kMaxLines) {
    lines_.pop_front();
    ++firstNumber_;
  }
}

void DeviceTrace::collectEvents() {
  // Debug lines logged off the main thread wait here, so they come after what happened before them.
  std::vector<std::pair<platform::TimePoint, std::string>> waiting;
  {
    std::lock_guard lock(mutex_);
    waiting.swap(offThread_);
  }
  const auto& entries = eventLog_.entries();
  if (eventIndex_ > entries.size()) eventIndex_ = 0;  // the device was configured afresh
  size_t next = 0;
  for (; eventIndex_ < entries.size(); ++eventIndex_) {
    const auto& entry = entries[eventIndex_];
    while (next < waiting.size() && waiting[next].first < entry.time) {
      append(waiting[next].first, waiting[next].second);
      ++next;
    }
    append(entry.time, "event: " + entry.text);
  }
  for (; next < waiting.size(); ++next) append(waiting[next].first, waiting[next].second);
}

void DeviceTrace::note(const std::string& text) {
  collectEvents();
  append(clock_.now(), text);
}

void DeviceTrace::addDebugLine(const std::string& message) {
  platform::TimePoint now = clock_.now();
  if (std::this_thread::get_id() == mainThread_) {
    collectEvents();
    append(now, message);
    return;
  }
  std::lock_guard lock(mutex_);
  offThread_.emplace_back(now, message);
}

DeviceTrace::Lines DeviceTrace::since(uint64_t cursor) {
  collectEvents();
  Lines result;
  std::lock_guard lock(mutex_);
  uint64_t endNumber = firstNumber_ + lines_.size();
  uint64_t from = cursor < firstNumber_ ? firstNumber_ : cursor >= endNumber ? endNumber : cursor + 1;
  for (uint64_t n = from; n < endNumber; ++n) result.lines.push_back(lines_[n - firstNumber_]);
  result.cursor = endNumber - 1;
  return result;
}

uint64_t DeviceTrace::end() {
  collectEvents();
  std::lock_guard lock(mutex_);
  return firstNumber_ + lines_.size() - 1;
}

void DeviceTrace::skipEvents() { eventIndex_ = eventLog_.size(); }

}  // namespace tessra::device
