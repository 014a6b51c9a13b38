#pragma once

#include "platform/runtime/Object.h"

namespace platform {

namespace springboard {
class SystemProfile;
}

// The home screen's icon controller. The device sends it the appearance
// messages of the home screen: viewWillDisappear:/viewDidDisappear: when an
// app opens over it, viewWillAppear:/viewDidAppear: when it comes back.
// Its own viewWillAppear: asks SpringBoard which app is in front.
//
// It is a plain object, not a view controller: the screen gives it its view
// (the icon pages' object) and, as its parentViewController, the object of
// the home screen's root view controller, whose view holds the icon pages.
class SBIconController final : public Object {
 public:
  // sharedInstance
  static SBIconController* sharedInstance();
  void viewWillAppear(bool animated);
  void viewDidAppear(bool animated);
  void viewWillDisappear(bool animated);
  void viewDidDisappear(bool animated);
  // parentViewController: the home screen's root view controller (set by the screen).
  id parentViewController() const;
  // setParentViewController:
  void setParentViewController(id parent);
  // view: the runtime object of the icon pages (set by the screen).
  id view() const;
  // setView:
  void setView(id view);
  // Whether the home screen is shown (between viewWillAppear: and viewWillDisappear:).
  bool isVisible() const { return visible_; }

  static void registerClass(const springboard::SystemProfile& profile);

 private:
  bool visible_ = true;
  Ref<Object> parent_;
  Ref<Object> view_;
};

}  // namespace platform
