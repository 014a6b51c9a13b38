#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/foundation/Clock.h"

namespace platform::springboard {

// The record of everything done to the simulated device, in order: each entry
// has the time from the environment's clock and a short text such as
// "wifi -> off", "volume -> 0.40" or "quit com.foo". Tests and tools read it
// to see what the system did; it is cleared when the device is configured.
// Main thread only.
class EventLog {
 public:
  struct Entry {
    TimePoint time;
    std::string text;
  };

  // A fraction as the log writes it, with two decimals ("0.40").
  static std::string fraction(double value);
  // "on" or "off".
  static const char* onOff(bool on) { return on ? "on" : "off"; }

  // Appends `text` stamped with the current time.
  void record(std::string text);
  // Every entry, oldest first.
  const std::vector<Entry>& entries() const { return entries_; }
  // The texts only, oldest first.
  std::vector<std::string> texts() const;
  // The texts recorded since entry `index` (for looking at what one step did).
  std::vector<std::string> textsSince(size_t index) const;
  // Whether some entry's text equals `text`.
  bool contains(std::string_view text) const;
  // How many entries have text `text`.
  size_t count(std::string_view text) const;
  size_t size() const { return entries_.size(); }
  // Forgets every entry.
  void clear() { entries_.clear(); }
  // Runs `observer` after every entry is recorded (one observer; an empty one removes it). For keepers of the
  // device's state, which every change goes through.
  void setObserver(std::function<void()> observer) { observer_ = std::move(observer); }

 private:
  std::vector<Entry> entries_;
  std::function<void()> observer_;
};

}  // namespace platform::springboard
