#pragma once

#include <map>
#include <string>
#include <string_view>

#include "platform/foundation/PropertyList.h"

namespace platform::springboard {

class EventLog;
class SwitchesState;

// Application preference domains as CoreFoundation's app-value calls see them
// ("com.apple.Accessibility"), kept in memory. A value set by the home screen
// is at first only in the home screen's own cache; synchronizing a domain
// writes the cache to the stored domain and reads it back; the accessibility
// system reads a stored key only when told that it changed
// (GSSendAppPreferencesChanged), and only then do the invert-colours modes
// follow: "InvertColorsEnabled" is smart invert, "AXSClassicInvertColorsPreference"
// classic invert. Owned by DeviceModel; main thread only.
class AppPreferencesState {
 public:
  static constexpr std::string_view kAccessibilityDomain = "com.apple.Accessibility";
  static constexpr std::string_view kSmartInvertKey = "InvertColorsEnabled";
  static constexpr std::string_view kClassicInvertKey = "AXSClassicInvertColorsPreference";

  AppPreferencesState(EventLog& log, SwitchesState& switches);

  // CFPreferencesSetAppValue: sets (null removes) `key` in the process cache of `domain`.
  void setValue(std::string_view domain, std::string_view key, plist::Value value);
  // CFPreferencesCopyAppValue: the cached value, else the stored one; null when absent.
  plist::Value value(std::string_view domain, std::string_view key) const;
  // CFPreferencesAppSynchronize: writes the cached changes of `domain` and reloads it. Always succeeds.
  bool synchronize(std::string_view domain);
  // GSSendAppPreferencesChanged: the accessibility system reads `key` of `domain` from the store.
  void notifyChanged(std::string_view domain, std::string_view key);

  // The value in the stored domain, as another process would read it.
  plist::Value storedValue(std::string_view domain, std::string_view key) const;
  // A change made outside the home screen (the Settings app): stored at once.
  void setStoredValue(std::string_view domain, std::string_view key, plist::Value value);

  // Empties every domain (no log entry).
  void reset();

 private:
  using Domain = std::map<std::string, plist::Value, std::less<>>;
  EventLog& log_;
  SwitchesState& switches_;
  std::map<std::string, Domain, std::less<>> cached_;  // changes not yet synchronized
  std::map<std::string, Domain, std::less<>> stored_;
};

}  // namespace platform::springboard
