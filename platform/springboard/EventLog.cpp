#include "platform/springboard/EventLog.h"

#include <algorithm>
#include <cstdio>

#include "platform/foundation/TaskEnvironment.h"

namespace platform::springboard {

std::string EventLog::fraction(double value) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.2f", value);
  return buf;
}

void EventLog::record(std::string text) {
  entries_.push_back(Entry{TaskEnvironment::current().clock().now(), std::move(text)});
  if (observer_) observer_();
}

std::vector<std::string> EventLog::texts() const { return textsSince(0); }

std::vector<std::string> EventLog::textsSince(size_t index) const {
  std::vector<std::string> out;
  for (size_t i = index; i < entries_.size(); ++i) out.push_back(entries_[i].text);
  return out;
}

bool EventLog::contains(std::string_view text) const { return count(text) > 0; }

size_t EventLog::count(std::string_view text) const {
  return static_cast<size_t>(
      std::count_if(entries_.begin(), entries_.end(), [&](const Entry& e) { return e.text == text; }));
}

}  // namespace platform::springboard
