#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "platform/foundation/ManualTaskEnvironment.h"
#include "platform/runtime/MessageSend.h"
#include "platform/runtime/Runtime.h"
#include "platform/ui/UIView.h"
#include "platform/ui/UIWindow.h"
#include "tweak/toast/TSToastManager.h"

namespace tessra::testing {

// A host view filling a 375 × 812 window on the manual clock, and a device
// whose orientation the test chooses (UIDevice's orientation, through the runtime).
class ToastFixture : public ::testing::Test {
 protected:
  static inline long orientation = 1;

  ToastFixture() {
    orientation = 1;
    installDevice();
    window = std::make_shared<platform::UIWindow>(platform::CGRectMake(0, 0, 375, 812));
    window->makeKeyAndVisible();
    host = std::make_shared<platform::UIView>(platform::CGRectMake(0, 0, 375, 812));
    window->addSubview(host);
    TSToastManager::ts_setQueueEnabled(false);
    TSToastManager::setTapToDismissEnabled(true);
    TSToastManager::setDefaultDuration(3.0);
    TSToastManager::setDefaultPosition(std::string(ToastPositionBottom));
  }

  void forward(double s) { env.fastForwardBy(platform::seconds(s)); }
  size_t toastsOnScreen() const { return host->subviews().size(); }

  platform::ManualTaskEnvironment env;
  std::shared_ptr<platform::UIWindow> window;
  std::shared_ptr<platform::UIView> host;

 private:
  static void installDevice() {
    if (platform::objc_getClass("UIDevice")) return;
    platform::Class* cls =
        platform::Runtime::allocateClass<platform::Object>("UIDevice", platform::Runtime::rootClass());
    platform::Runtime::registerClass(cls);
    static platform::Ref<platform::Object> device = platform::class_createInstance(cls);
    platform::class_addMethod(
        cls->metaclass(), SELECTOR("currentDevice"),
        +[](platform::id, platform::SEL) -> platform::id { return device.get(); });
    platform::class_addMethod(
        cls, SELECTOR("orientation"), +[](platform::id, platform::SEL) { return orientation; });
  }
};

}  // namespace tessra::testing
