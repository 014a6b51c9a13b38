#include "platform/springboard/AppPreferencesState.h"

#include "platform/springboard/EventLog.h"
#include "platform/springboard/SwitchesState.h"

namespace platform::springboard {

AppPreferencesState::AppPreferencesState(EventLog& log, SwitchesState& switches) : log_(log), switches_(switches) {}

void AppPreferencesState::setValue(std::string_view domain, std::string_view key, plist::Value value) {
  log_.record("preference " + std::string(domain) + " " + std::string(key) + " = " + value.describe());
  auto it = cached_.find(domain);
  if (it == cached_.end()) it = cached_.emplace(std::string(domain), Domain{}).first;
  // A null value is kept as a pending removal.
  it->second.insert_or_assign(std::string(key), std::move(value));
}

plist::Value AppPreferencesState::value(std::string_view domain, std::string_view key) const {
  if (auto d = cached_.find(domain); d != cached_.end()) {
    if (auto v = d->second.find(key); v != d->second.end()) return v->second;
  }
  return storedValue(domain, key);
}

bool AppPreferencesState::synchronize(std::string_view domain) {
  auto d = cached_.find(domain);
  if (d == cached_.end()) return true;
  auto s = stored_.find(domain);
  if (s == stored_.end()) s = stored_.emplace(std::string(domain), Domain{}).first;
  for (auto& [key, value] : d->second) {
    if (value.isNull()) {
      s->second.erase(key);
    } else {
      s->second.insert_or_assign(key, value);
    }
  }
  cached_.erase(d);
  log_.record("synchronize " + std::string(domain));
  return true;
}

void AppPreferencesState::notifyChanged(std::string_view domain, std::string_view key) {
  log_.record("preferences changed " + std::string(domain) + " " + std::string(key));
  if (domain != kAccessibilityDomain) return;
  // The accessibility system reads the key back from the stored domain.
  bool on = storedValue(domain, key).boolValue();
  if (key == kSmartInvertKey) {
    switches_.setSmartInvertEnabled(on);
  } else if (key == kClassicInvertKey) {
    switches_.setClassicInvertEnabled(on);
  }
}

plist::Value AppPreferencesState::storedValue(std::string_view domain, std::string_view key) const {
  auto d = stored_.find(domain);
  if (d == stored_.end()) return {};
  auto v = d->second.find(key);
  return v == d->second.end() ? plist::Value() : v->second;
}

void AppPreferencesState::setStoredValue(std::string_view domain, std::string_view key, plist::Value value) {
  auto s = stored_.find(domain);
  if (s == stored_.end()) s = stored_.emplace(std::string(domain), Domain{}).first;
  if (value.isNull()) {
    s->second.erase(std::string(key));
  } else {
    s->second.insert_or_assign(std::string(key), std::move(value));
  }
}

void AppPreferencesState::reset() {
  cached_.clear();
  stored_.clear();
}

}  // namespace platform::springboard
