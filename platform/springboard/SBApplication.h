#pragma once

#include <string>

#include "platform/runtime/Object.h"

namespace platform {

namespace springboard {
class SystemProfile;
}

// SpringBoard's object for one installed application. There is one per app
// for the life of the home screen (SBApplicationController owns them), so
// values attached to it live as long as SpringBoard runs. Its process state
// changes only through _updateProcess:withState:, which the device calls
// whenever the app starts, comes to the front, goes to the background or quits.
class SBApplication final : public Object {
 public:
  // bundleIdentifier
  std::string bundleIdentifier() const;
  // displayName
  std::string displayName() const;
  // processState: the current SBApplicationProcessState (null before the app first ran).
  id processState() const;
  // _updateProcess:withState: — takes the new state, then SpringBoard asks which app is in front.
  void _updateProcess(id process, id state);
  // Whether the app keeps Control Center from opening (the system answers NO).
  bool suppressesControlCenter() const;
  // Whether the app keeps the cover sheet gesture (Notification Center) from opening (NO).
  bool suppressesCoverSheetGesture() const;

  static void registerClass(const springboard::SystemProfile& profile);

 private:
  friend class SBApplicationController;
  std::string bundleIdentifier_;
  std::string displayName_;
  Ref<Object> processState_;
};

}  // namespace platform
