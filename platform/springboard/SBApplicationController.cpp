#include "platform/springboard/SBApplicationController.h"

#include "platform/runtime/MessageSend.h"
#include "platform/runtime/Runtime.h"
#include "platform/springboard/DeviceState.h"
#include "platform/springboard/SBApplication.h"
#include "platform/springboard/SharedInstance.h"
#include "platform/springboard/SpringBoardClasses.h"

namespace platform {

using springboard::DeviceState;
using springboard::SpringBoardClasses;

namespace {

SBApplicationController& controller(id obj) { return *static_cast<SBApplicationController*>(obj); }

}  // namespace

SBApplicationController* SBApplicationController::sharedInstance() {
  return springboard::sharedInstance<SBApplicationController, "SBApplicationController">();
}

id SBApplicationController::applicationWithBundleIdentifier(std::string bundleIdentifier) const {
  return msgSend<id, std::string>(this, SELECTOR("applicationWithBundleIdentifier:"), std::move(bundleIdentifier));
}

ObjectArray SBApplicationController::allApplications() const {
  return msgSend<ObjectArray>(this, SELECTOR("allApplications"));
}

void SBApplicationController::populate() {
  if (populated_) return;
  populated_ = true;
  static ClassHandle appClass("SBApplication");
  for (const auto& installed : DeviceState::shared().apps().installedApps()) {
    Ref<Object> obj = class_createInstance(appClass.get());
    auto* app = dynamic_cast<SBApplication*>(obj.get());
    if (!app) continue;
    app->bundleIdentifier_ = installed.bundleIdentifier;
    app->displayName_ = installed.displayName;
    apps_.emplace(installed.bundleIdentifier, std::move(obj));
  }
}

void SBApplicationController::registerClass(const springboard::SystemProfile&) {
  Class* cls = SpringBoardClasses::define<SBApplicationController>("SBApplicationController");
  class_addMethod(cls->metaclass(), SELECTOR("sharedInstance"), &SpringBoardClasses::sharedInstanceImp, "@@:");
  class_addMethod(
      cls, SELECTOR("applicationWithBundleIdentifier:"),
      +[](id obj, SEL, std::string bundleIdentifier) -> id {
        SBApplicationController& c = controller(obj);
        c.populate();
        auto it = c.apps_.find(bundleIdentifier);
        return it == c.apps_.end() ? nullptr : it->second.get();
      },
      "@@:@");
  class_addMethod(
      cls, SELECTOR("allApplications"),
      +[](id obj, SEL) {
        SBApplicationController& c = controller(obj);
        c.populate();
        ObjectArray all;
        for (const auto& installed : DeviceState::shared().apps().installedApps()) {
          if (auto it = c.apps_.find(installed.bundleIdentifier); it != c.apps_.end()) all.push_back(it->second);
        }
        return all;
      },
      "@@:");
}

}  // namespace platform
