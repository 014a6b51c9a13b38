// View controllers, presentation and dismissal, windows with levels and a key
// window, touches routed across windows, and alerts tapped by title.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/foundation/ManualTaskEnvironment.h"
#include "platform/ui/UIAlertController.h"
#include "platform/ui/UIApplication.h"
#include "platform/ui/UIButton.h"
#include "platform/ui/UITapGestureRecognizer.h"
#include "platform/ui/UIWindow.h"

namespace platform {
namespace {

// Logs its lifecycle calls with its name.
class Logged : public UIViewController {
 public:
  Logged(std::string name, std::vector<std::string>* log) : name_(std::move(name)), log_(log) {}
  void viewDidLoad() override { log_->push_back(name_ + ".didLoad"); }
  void viewWillAppear(bool) override { log_->push_back(name_ + ".willAppear"); }
  void viewDidAppear(bool) override { log_->push_back(name_ + ".didAppear"); }
  void viewWillDisappear(bool) override { log_->push_back(name_ + ".willDisappear"); }
  void viewDidDisappear(bool) override { log_->push_back(name_ + ".didDisappear"); }

 private:
  std::string name_;
  std::vector<std::string>* log_;
};

class ControllerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window->setRootViewController(root);
    window->makeKeyAndVisible();
    log.clear();
  }
  void forward(double s) { env.fastForwardBy(seconds(s)); }

  ManualTaskEnvironment env;
  std::vector<std::string> log;
  std::shared_ptr<UIWindow> window = std::make_shared<UIWindow>(CGRectMake(0, 0, 375, 812));
  std::shared_ptr<Logged> root = std::make_shared<Logged>("root", &log);
};

TEST_F(ControllerTest, ViewLoadsOnFirstUseAndFillsTheWindow) {
  auto vc = std::make_shared<Logged>("vc", &log);
  EXPECT_FALSE(vc->isViewLoaded());
  UIView* v = vc->view();
  EXPECT_TRUE(vc->isViewLoaded());
  EXPECT_EQ(vc->view(), v);
  EXPECT_EQ(log, (std::vector<std::string>{"vc.didLoad"}));
  EXPECT_EQ(v->viewController(), vc.get());
  EXPECT_EQ(root->view()->superview(), window.get());
  EXPECT_EQ(root->view()->frame(), window->bounds());
}

TEST_F(ControllerTest, OverFullScreenCrossDissolvePresentationAndDismissal) {
  auto panel = std::make_shared<Logged>("panel", &log);
  panel->setModalPresentationStyle(UIModalPresentationStyle::OverFullScreen);
  panel->setModalTransitionStyle(UIModalTransitionStyle::CrossDissolve);
  bool presented = false;
  root->showViewController(panel, root.get());
  root->presentViewController(std::make_shared<Logged>("other", &log), true, nullptr);  // ignored: busy
  EXPECT_EQ(root->presentedViewController(), panel);
  EXPECT_EQ(panel->presentingViewController(), root);
  EXPECT_EQ(panel->view()->superview(), window.get());
  EXPECT_EQ(panel->view()->layer().presentation().opacity, 0);  // fading in
  forward(UIViewController::kTransitionDuration);
  EXPECT_EQ(panel->view()->layer().presentation().opacity, 1);
  EXPECT_EQ(log, (std::vector<std::string>{"panel.didLoad", "panel.willAppear", "panel.didAppear"}));
  log.clear();
  panel->dismissViewControllerAnimated(true, [&] { presented = true; });
  EXPECT_EQ(root->presentedViewController(), panel);  // until the dismissal ends
  forward(UIViewController::kTransitionDuration);
  EXPECT_TRUE(presented);
  EXPECT_EQ(root->presentedViewController(), nullptr);
  EXPECT_EQ(panel->presentingViewController(), nullptr);
  EXPECT_EQ(panel->view()->superview(), nullptr);
  EXPECT_EQ(log, (std::vector<std::string>{"panel.willDisappear", "panel.didDisappear"}));
}

TEST_F(ControllerTest, FullScreenPresentationHidesThePresenter) {
  auto vc = std::make_shared<Logged>("vc", &log);
  int completions = 0;
  root->presentViewController(vc, false, [&] { ++completions; });
  env.runUntilIdle();
  EXPECT_EQ(completions, 1);
  EXPECT_EQ(log, (std::vector<std::string>{"vc.didLoad", "vc.willAppear", "root.willDisappear", "vc.didAppear",
                                           "root.didDisappear"}));
  log.clear();
  root->dismissViewControllerAnimated(false, nullptr);
  env.runUntilIdle();
  EXPECT_EQ(log,
            (std::vector<std::string>{"vc.willDisappear", "root.willAppear", "vc.didDisappear", "root.didAppear"}));
}

TEST_F(ControllerTest, ChainOfPresentedControllersEndsAtTheTop) {
  auto a = std::make_shared<Logged>("a", &log), b = std::make_shared<Logged>("b", &log);
  root->presentViewController(a, false, nullptr);
  env.runUntilIdle();
  a->presentViewController(b, false, nullptr);
  env.runUntilIdle();
  UIViewController* top = UIApplication::sharedApplication().keyWindow()->rootViewController().get();
  while (top->presentedViewController()) top = top->presentedViewController().get();
  EXPECT_EQ(top, b.get());
  // Dismissing from the bottom takes the whole stack away.
  root->dismissViewControllerAnimated(false, nullptr);
  env.runUntilIdle();
  EXPECT_EQ(root->presentedViewController(), nullptr);
  EXPECT_EQ(a->presentedViewController(), nullptr);
  EXPECT_EQ(b->view()->superview(), nullptr);
}

TEST_F(ControllerTest, WindowsOrderByLevelAndOneIsKey) {
  auto alertWindow = std::make_shared<UIWindow>();
  EXPECT_TRUE(alertWindow->isHidden());
  EXPECT_TRUE(window->isKeyWindow());
  alertWindow->setWindowLevel(UIWindowLevelAlert + 1);
  alertWindow->makeKeyAndVisible();
  EXPECT_TRUE(alertWindow->isKeyWindow());
  EXPECT_FALSE(window->isKeyWindow());
  auto windows = UIApplication::sharedApplication().windows();
  ASSERT_GE(windows.size(), 2u);
  EXPECT_EQ(windows.back(), alertWindow.get());
  alertWindow.reset();
  EXPECT_EQ(UIApplication::sharedApplication().keyWindow(), nullptr);
}

TEST_F(ControllerTest, ScreenTouchesGoToTheFrontWindowThatTakesThem) {
  int backTaps = 0, frontTaps = 0;
  root->view()->addGestureRecognizer(
      std::make_shared<UITapGestureRecognizer>([&](UIGestureRecognizer&) { ++backTaps; }));
  auto front = std::make_shared<UIWindow>(CGRectMake(0, 0, 375, 100));
  front->setWindowLevel(UIWindowLevelStatusBar);
  front->addGestureRecognizer(std::make_shared<UITapGestureRecognizer>([&](UIGestureRecognizer&) { ++frontTaps; }));
  front->makeKeyAndVisible();
  auto& app = UIApplication::sharedApplication();
  EXPECT_TRUE(app.sendTouch(UITouchPhase::Began, {10, 50}));
  app.sendTouch(UITouchPhase::Ended, {10, 50});
  app.sendTouch(UITouchPhase::Began, {10, 500});
  app.sendTouch(UITouchPhase::Ended, {10, 500});
  EXPECT_EQ(frontTaps, 1);
  EXPECT_EQ(backTaps, 1);
  front->setHidden(true);
  app.sendTouch(UITouchPhase::Began, {10, 50});
  app.sendTouch(UITouchPhase::Ended, {10, 50});
  EXPECT_EQ(backTaps, 2);
}

TEST_F(ControllerTest, SharedApplicationCanBeReplacedWithoutLosingWindows) {
  struct HomeScreen : UIApplication {};
  auto home = std::make_shared<HomeScreen>();
  UIApplication::setSharedApplication(home);
  EXPECT_EQ(&UIApplication::sharedApplication(), home.get());
  EXPECT_EQ(UIApplication::sharedApplication().keyWindow(), window.get());
  UIApplication::setSharedApplication(nullptr);
  EXPECT_NE(&UIApplication::sharedApplication(), home.get());
}

class AlertTest : public ControllerTest {
 protected:
  std::shared_ptr<UIAlertController> makeAlert() {
    auto alert = UIAlertController::alertControllerWithTitle("Reset all app customizations?",
                                                             "Do you really want to delete all your app "
                                                             "customizations?\nIt can NOT be undone.",
                                                             UIAlertControllerStyle::Alert);
    alert->addAction(UIAlertAction::actionWithTitle("Cancel", UIAlertActionStyle::Cancel,
                                                    [&](UIAlertAction&) { handled.push_back("Cancel"); }));
    alert->addAction(UIAlertAction::actionWithTitle("Reset", UIAlertActionStyle::Destructive, [&](UIAlertAction& a) {
      handled.push_back(a.title());
      presenterAtHandler = root->presentedViewController();
    }));
    return alert;
  }
  std::vector<std::string> handled;
  std::shared_ptr<UIViewController> presenterAtHandler;
};

TEST_F(AlertTest, TappingByTitleDismissesThenRunsTheHandler) {
  auto alert = makeAlert();
  root->presentViewController(alert, true, nullptr);
  forward(1);
  EXPECT_EQ(alert->modalPresentationStyle(), UIModalPresentationStyle::OverFullScreen);
  auto shown = alert->displayedActions();
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[0]->title(), "Reset");  // cancel goes last
  EXPECT_EQ(shown[1]->title(), "Cancel");
  EXPECT_FALSE(alert->tapActionWithTitle("Nope"));
  EXPECT_TRUE(alert->tapActionWithTitle("Reset"));
  EXPECT_FALSE(alert->tapActionWithTitle("Reset"));  // one choice only
  EXPECT_TRUE(handled.empty());
  forward(1);
  EXPECT_EQ(handled, (std::vector<std::string>{"Reset"}));
  EXPECT_EQ(presenterAtHandler, nullptr);  // the alert was gone before the handler ran
}

TEST_F(AlertTest, ARealTouchOnAButtonChoosesItsAction) {
  auto alert = makeAlert();
  root->presentViewController(alert, false, nullptr);
  env.runUntilIdle();
  UIButton* cancel = nullptr;
  for (const auto& box : alert->view()->subviews()) {
    for (const auto& sub : box->subviews()) {
      auto* b = dynamic_cast<UIButton*>(sub.get());
      if (b && b->currentTitle() == "Cancel") cancel = b;
    }
  }
  ASSERT_NE(cancel, nullptr);
  CGPoint p = cancel->convertPoint({10, 10}, nullptr);
  window->tap(p);
  forward(1);
  EXPECT_EQ(handled, (std::vector<std::string>{"Cancel"}));
}

TEST_F(AlertTest, AlertWindowLivesWhileItPresentsAndGoesAfterwards) {
  std::weak_ptr<UIWindow> weakWindow;
  {
    auto overlay = std::make_shared<UIWindow>();
    overlay->setWindowLevel(UIWindowLevelAlert + 1);
    auto holder = std::make_shared<UIViewController>();
    overlay->setRootViewController(holder);
    overlay->makeKeyAndVisible();
    holder->presentViewController(makeAlert(), true, nullptr);
    weakWindow = overlay;
  }
  EXPECT_FALSE(weakWindow.expired());  // held by the presentation
  forward(1);
  auto alert =
      std::static_pointer_cast<UIAlertController>(weakWindow.lock()->rootViewController()->presentedViewController());
  ASSERT_TRUE(alert);
  alert->tapActionWithTitle("Cancel");
  alert.reset();
  forward(1);
  EXPECT_EQ(handled, (std::vector<std::string>{"Cancel"}));
  EXPECT_TRUE(weakWindow.expired());  // nothing holds it once the alert is gone
}

}  // namespace
}  // namespace platform
