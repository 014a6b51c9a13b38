#pragma once

#include <string>
#include <unordered_map>

#include "platform/runtime/Object.h"

namespace platform {

namespace springboard {
class SystemProfile;
}

// SpringBoard's registry of application objects: one SBApplication for each
// installed app (Siri and Spotlight included), created with the controller
// and kept for the life of the home screen.
class SBApplicationController final : public Object {
 public:
  // sharedInstance
  static SBApplicationController* sharedInstance();
  // applicationWithBundleIdentifier: — the app object, or null when no such app is installed.
  id applicationWithBundleIdentifier(std::string bundleIdentifier) const;
  // allApplications
  ObjectArray allApplications() const;

  static void registerClass(const springboard::SystemProfile& profile);

 private:
  void populate();
  bool populated_ = false;
  std::unordered_map<std::string, Ref<Object>> apps_;
};

}  // namespace platform
