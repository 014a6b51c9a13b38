#include <gtest/gtest.h>

#include <optional>

#include "platform/foundation/ManualTaskEnvironment.h"
#include "platform/ui/UIAlertController.h"
#include "platform/ui/UIApplication.h"
#include "platform/ui/UIScreen.h"
#include "platform/ui/UIWindow.h"
#include "tweak/support/KelvaneTweakUtils.h"

namespace {

using platform::UIAlertController;
using platform::UIViewController;
using platform::UIWindow;

class KelvaneTweakUtilsAlertTest : public ::testing::Test {
 protected:
  void SetUp() override {
    appWindow_ = std::make_shared<UIWindow>();
    appWindow_->setRootViewController(std::make_shared<UIViewController>());
    appWindow_->makeKeyAndVisible();
  }
  void TearDown() override {
    // A presentation holds its window: close what is still shown so no window outlives the test.
    if (auto root = appWindow_->rootViewController(); root && root->presentedViewController())
      root->dismissViewControllerAnimated(false, nullptr);
    settle();
  }
  // Lets the queued presentation and its animation run.
  void settle() { env_.fastForwardBy(platform::seconds(1)); }
  std::shared_ptr<UIAlertController> shownAlert() {
    return std::dynamic_pointer_cast<UIAlertController>(KelvaneTweakUtils::topMostController());
  }

  platform::ManualTaskEnvironment env_;
  std::shared_ptr<UIWindow> appWindow_;
};

TEST_F(KelvaneTweakUtilsAlertTest, AlertIsShownFromTheMainQueueInAWindowAboveAlerts) {
  KelvaneTweakUtils::showAlertWithTitle("Tessra", "Apply now?", std::vector<std::string>{"Yes", "No"}, nullptr);
  EXPECT_FALSE(KelvaneTweakUtils::isAlreadyShowingAnAlert());  // nothing before the main queue runs
  settle();
  auto alert = shownAlert();
  ASSERT_TRUE(alert);
  EXPECT_TRUE(KelvaneTweakUtils::isAlreadyShowingAnAlert());
  EXPECT_EQ(alert->title(), "Tessra");
  EXPECT_EQ(alert->message(), "Apply now?");
  EXPECT_EQ(alert->preferredStyle(), platform::UIAlertControllerStyle::Alert);
  ASSERT_EQ(alert->actions().size(), 2u);
  EXPECT_EQ(alert->actions()[0]->title(), "Yes");
  EXPECT_EQ(alert->actions()[1]->title(), "No");
  for (const auto& action : alert->actions()) EXPECT_EQ(action->style(), platform::UIAlertActionStyle::Default);

  UIWindow* window = platform::UIApplication::sharedApplication().keyWindow();
  ASSERT_NE(window, appWindow_.get());
  EXPECT_EQ(window->windowLevel(), platform::UIWindowLevelAlert + 1);
  EXPECT_EQ(window->frame(), platform::UIScreen::mainScreen().bounds());
  EXPECT_FALSE(window->isHidden());
  EXPECT_EQ(window->backgroundColor(), platform::UIColor::clearColor());
  EXPECT_EQ(window->rootViewController()->view()->backgroundColor(), platform::UIColor::clearColor());
}

TEST_F(KelvaneTweakUtilsAlertTest, TappingAButtonReportsItsTitle) {
  std::vector<std::string> tapped;
  KelvaneTweakUtils::showAlertWithTitle("Tessra", "Apply now?", std::vector<std::string>{"Yes", "No"},
                                        [&](const std::string& title) { tapped.push_back(title); });
  settle();
  ASSERT_TRUE(shownAlert());
  ASSERT_TRUE(shownAlert()->tapActionWithTitle("No"));
  settle();
  EXPECT_EQ(tapped, std::vector<std::string>{"No"});
  EXPECT_FALSE(KelvaneTweakUtils::isAlreadyShowingAnAlert());
}

TEST_F(KelvaneTweakUtilsAlertTest, AlertWithoutCompletionOrWithOneButtonJustCloses) {
  KelvaneTweakUtils::showAlertWithTitle("Title", "Message", std::vector<std::string>{"OK"}, nullptr);
  settle();
  ASSERT_TRUE(shownAlert()->tapActionWithTitle("OK"));
  settle();
  EXPECT_FALSE(KelvaneTweakUtils::isAlreadyShowingAnAlert());

  KelvaneTweakUtils::showAlertWithTitle("Title", "Message", std::string("Close"));
  settle();
  auto alert = shownAlert();
  ASSERT_TRUE(alert);
  ASSERT_EQ(alert->actions().size(), 1u);
  EXPECT_EQ(alert->actions()[0]->title(), "Close");
  ASSERT_TRUE(alert->tapActionWithTitle("Close"));
  settle();
  EXPECT_FALSE(KelvaneTweakUtils::isAlreadyShowingAnAlert());
}

TEST_F(KelvaneTweakUtilsAlertTest, TopMostControllerFollowsThePresentedChain) {
  auto root = appWindow_->rootViewController();
  EXPECT_EQ(KelvaneTweakUtils::topMostController(), root);
  auto a = std::make_shared<UIViewController>();
  auto b = std::make_shared<UIViewController>();
  root->presentViewController(a, false, nullptr);
  a->presentViewController(b, false, nullptr);
  settle();
  EXPECT_EQ(KelvaneTweakUtils::topMostController(), b);
  EXPECT_FALSE(KelvaneTweakUtils::isAlreadyShowingAnAlert());
}

TEST(KelvaneTweakUtilsNoWindowTest, TopMostControllerWithoutKeyWindowIsNull) {
  platform::ManualTaskEnvironment env;
  EXPECT_EQ(KelvaneTweakUtils::topMostController(), nullptr);
  EXPECT_FALSE(KelvaneTweakUtils::isAlreadyShowingAnAlert());
}

}  // namespace
