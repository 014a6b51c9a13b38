#include "platform/springboard/SBFloatingDockView.h"

#include "platform/runtime/Runtime.h"
#include "platform/springboard/SpringBoardClasses.h"
#include "platform/springboard/SystemProfile.h"

namespace platform {

void SBFloatingDockView::registerClass(const springboard::SystemProfile& profile) {
  if (!profile.hasFloatingDock()) return;
  Class* view = objc_getClass("UIView");
  Class* cls = view ? Runtime::allocateClass("SBFloatingDockView", view)
                    : Runtime::allocateClass<SBFloatingDockView>("SBFloatingDockView", Runtime::rootClass());
  if (!cls->respondsTo(SELECTOR("layoutSubviews"))) {
    class_addMethod(
        cls, SELECTOR("layoutSubviews"), +[](id, SEL) {});
  }
  springboard::SpringBoardClasses::add(cls);
}

}  // namespace platform
