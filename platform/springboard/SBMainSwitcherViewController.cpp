#include "platform/springboard/SBMainSwitcherViewController.h"

#include "platform/runtime/KeyValue.h"
#include "platform/runtime/MessageSend.h"
#include "platform/runtime/Runtime.h"
#include "platform/springboard/DeviceModel.h"
#include "platform/springboard/SBAppLayout.h"
#include "platform/springboard/SharedInstance.h"
#include "platform/springboard/SpringBoardClasses.h"
#include "platform/springboard/SystemProfile.h"

namespace platform {

using springboard::DeviceModel;
using springboard::DeviceState;
using springboard::SpringBoardClasses;
using springboard::SwitcherQuitMethod;

namespace {

SBMainSwitcherViewController& switcher(id obj) { return *static_cast<SBMainSwitcherViewController*>(obj); }

}  // namespace

SBMainSwitcherViewController* SBMainSwitcherViewController::sharedInstance() {
  return springboard::sharedInstance<SBMainSwitcherViewController, "SBMainSwitcherViewController">();
}

ObjectArray SBMainSwitcherViewController::appLayouts() {
  if (respondsToSelector(this, SELECTOR("appLayouts"))) return msgSend<ObjectArray>(this, SELECTOR("appLayouts"));
  return msgSend<ObjectArray>(this, SELECTOR("recentAppLayouts"));
}

void SBMainSwitcherViewController::_quitAppsRepresentedByAppLayout(id appLayout, long reason) {
  msgSend<void, id, long>(this, SELECTOR("_quitAppsRepresentedByAppLayout:forReason:"), appLayout, reason);
}

void SBMainSwitcherViewController::_deleteAppLayout(id appLayout, long reason) {
  msgSend<void, id, long>(this, SELECTOR("_deleteAppLayout:forReason:"), appLayout, reason);
}

void SBMainSwitcherViewController::_deleteAppLayoutsMatchingBundleIdentifier(std::string bundleIdentifier) {
  msgSend<void, std::string>(this, SELECTOR("_deleteAppLayoutsMatchingBundleIdentifier:"), std::move(bundleIdentifier));
}

ObjectArray SBMainSwitcherViewController::currentLayouts() {
  // One layout per running app, most recent first; a layout is kept while its app runs.
  const auto& running = DeviceState::shared().apps().runningApps();
  std::map<std::string, Ref<Object>, std::less<>> kept;
  ObjectArray out;
  for (const std::string& bundle : running) {
    auto it = layouts_.find(bundle);
    Ref<Object> layout = it != layouts_.end() ? it->second : Ref<Object>(SBAppLayout::create(bundle));
    if (!layout) continue;
    kept.emplace(bundle, layout);
    out.push_back(layout);
  }
  layouts_.swap(kept);
  return out;
}

void SBMainSwitcherViewController::quitLayout(id appLayout) {
  auto* layout = dynamic_cast<SBAppLayout*>(appLayout);
  if (!layout) return;
  DeviceModel::shared().quitApp(layout->primaryBundleIdentifier());
}

void SBMainSwitcherViewController::registerClass(const springboard::SystemProfile& profile) {
  Class* cls = SpringBoardClasses::define<SBMainSwitcherViewController>("SBMainSwitcherViewController");
  class_addMethod(cls->metaclass(), SELECTOR("sharedInstance"), &SpringBoardClasses::sharedInstanceImp, "@@:");
  class_addIvar(
      cls, "_gestureManager", +[](id obj) -> id {
        SBMainSwitcherViewController& s = switcher(obj);
        if (!s.gestureManager_)
          s.gestureManager_ = class_createInstance(objc_getClass("SBFluidSwitcherGestureManager"));
        return s.gestureManager_;
      });
  class_addMethod(
      cls, sel_registerName(profile.switcherLayoutsSelector()),
      +[](id obj, SEL) { return switcher(obj).currentLayouts(); }, "@@:");
  switch (profile.quitMethod()) {
    case SwitcherQuitMethod::QuitAppsRepresentedByAppLayout:
      class_addMethod(
          cls, SELECTOR("_quitAppsRepresentedByAppLayout:forReason:"),
          +[](id obj, SEL, id layout, long) { switcher(obj).quitLayout(layout); }, "v@:@q");
      break;
    case SwitcherQuitMethod::DeleteAppLayout:
      class_addMethod(
          cls, SELECTOR("_deleteAppLayout:forReason:"),
          +[](id obj, SEL, id layout, long) { switcher(obj).quitLayout(layout); }, "v@:@q");
      break;
    case SwitcherQuitMethod::DeleteAppLayoutsMatchingBundleIdentifier:
      class_addMethod(
          cls, SELECTOR("_deleteAppLayoutsMatchingBundleIdentifier:"),
          +[](id, SEL, std::string bundleIdentifier) { DeviceModel::shared().quitApp(bundleIdentifier); }, "v@:@");
      break;
  }
}

}  // namespace platform
