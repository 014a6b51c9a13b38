#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/runtime/Object.h"

namespace platform {

class UIImage;

namespace springboard {

class QuickActionMenu;

// The objects behind the force-touch menu below 13.0, as plain runtime
// objects: the controller of the shown menu (SBUIIconForceTouchViewController),
// the data provider that lists the icon's items
// (SBUIAppIconForceTouchControllerDataProvider) and one action of a row
// (SBUIAction). Their messages are registered by QuickActionClasses.
class ForceTouchViewController final : public Object {
 public:
  // The menu it controls; cleared when the menu closes.
  QuickActionMenu* menu = nullptr;
};

class ForceTouchDataProvider final : public Object {
 public:
  std::string bundleIdentifier;
};

class ForceTouchAction final : public Object {
 public:
  std::string title;
  std::string subtitle;
  std::shared_ptr<UIImage> image;
  std::function<void()> handler;
};

}  // namespace springboard
}  // namespace platform
