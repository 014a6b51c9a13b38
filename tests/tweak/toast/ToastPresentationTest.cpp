#include <gtest/gtest.h>

#include <vector>

#include "platform/foundation/NotificationCenter.h"
#include "tests/tweak/toast/ToastFixture.h"
#include "tweak/toast/TessraToast.h"

namespace tessra::testing {
namespace {

using platform::CGPoint;

class ToastPresentationTest : public ToastFixture {
 protected:
  ToastPresentationTest() {
    observer_ = platform::NotificationCenter::defaultCenter().addObserver(
        TessraToast::kDidChangeNotification, nullptr, [this](const platform::Notification& n) {
          const platform::plist::Value* message = n.userInfo.find("message");
          events.push_back(n.userInfo["event"].string() + " " + (message ? message->string() : "nil"));
        });
  }
  ~ToastPresentationTest() override { platform::NotificationCenter::defaultCenter().removeObserver(observer_); }

  std::shared_ptr<platform::UIView> makeToast(const std::string& message) {
    return TessraToast::ts_toastViewForMessage(*host, message, std::nullopt, nullptr, nullptr);
  }

  std::vector<std::string> events;

 private:
  uint64_t observer_ = 0;
};

// --- Showing and hiding

TEST_F(ToastPresentationTest, AToastFadesInStaysItsDurationAndFadesOut) {
  auto toast = makeToast("one");
  std::vector<bool> completions;
  TessraToast::ts_showToast(*host, toast, 2.0, ToastPositionBottom, [&](bool tap) { completions.push_back(tap); });
  EXPECT_EQ(toast->superview(), host.get());
  EXPECT_EQ(toast->alpha(), 1.0);  // the model value; the fade is 0.2 s
  forward(0.2 + 2.0 - 0.01);
  EXPECT_EQ(toast->superview(), host.get());
  forward(0.02 + 0.2);
  EXPECT_EQ(toast->superview(), nullptr);
  EXPECT_EQ(completions, std::vector<bool>{false});
  EXPECT_EQ(events, (std::vector<std::string>{"shown one", "hidden one"}));
}

TEST_F(ToastPresentationTest, ATapDismissesAtOnceAndTellsTheCompletion) {
  auto toast = makeToast("tap me");
  std::vector<bool> completions;
  TessraToast::ts_showToast(*host, toast, 3.0, ToastPositionCenter, [&](bool tap) { completions.push_back(tap); });
  forward(0.5);
  window->tap(CGPoint{375.0 / 2, 812.0 / 2});
  forward(0.21);
  EXPECT_EQ(toast->superview(), nullptr);
  EXPECT_EQ(completions, std::vector<bool>{true});
  forward(5);
  EXPECT_EQ(completions, std::vector<bool>{true});  // the timer never fires afterwards
}

TEST_F(ToastPresentationTest, HidingTwiceCallsTheCompletionOnce) {
  auto toast = makeToast("once");
  int completions = 0;
  TessraToast::ts_showToast(*host, toast, 3.0, ToastPositionCenter, [&](bool) { ++completions; });
  forward(0.5);
  TessraToast::hideToast(*host);
  forward(0.1);
  TessraToast::hideToast(*host, toast.get());
  forward(1);
  EXPECT_EQ(completions, 1);
}

// --- Queueing

TEST_F(ToastPresentationTest, WithQueueingToastsShowOneAfterAnotherEachForItsOwnDuration) {
  TSToastManager::ts_setQueueEnabled(true);
  auto a = makeToast("a"), b = makeToast("b"), c = makeToast("c");
  TessraToast::ts_showToast(*host, a, 1.0, ToastPositionBottom, nullptr);
  TessraToast::ts_showToast(*host, b, 2.0, ToastPositionTop, nullptr);
  TessraToast::ts_showToast(*host, c, 1.0, ToastPositionBottom, nullptr);
  EXPECT_EQ(toastsOnScreen(), 1u);
  forward(0.2 + 1.0 + 0.2 + 0.01);  // a gone
  EXPECT_EQ(a->superview(), nullptr);
  EXPECT_EQ(b->superview(), host.get());
  forward(0.2 + 2.0 - 0.02);
  EXPECT_EQ(b->superview(), host.get());  // b keeps its own 2 s
  forward(0.2 + 0.03);
  EXPECT_EQ(c->superview(), host.get());
  EXPECT_EQ(toastsOnScreen(), 1u);
  EXPECT_EQ(events, (std::vector<std::string>{"shown a", "queued b", "queued c", "hidden a", "shown b", "hidden b",
                                              "shown c"}));
}

TEST_F(ToastPresentationTest, WithoutQueueingToastsOverlapEachWithItsTimer) {
  auto a = makeToast("a"), b = makeToast("b");
  TessraToast::ts_showToast(*host, a, 1.0, ToastPositionBottom, nullptr);
  forward(0.5);
  TessraToast::ts_showToast(*host, b, 1.0, ToastPositionBottom, nullptr);
  EXPECT_EQ(toastsOnScreen(), 2u);
  forward(0.2 + 1.0 + 0.2 - 0.5 + 0.01);
  EXPECT_EQ(a->superview(), nullptr);
  EXPECT_EQ(b->superview(), host.get());
}

TEST_F(ToastPresentationTest, HideAllToastsEmptiesTheQueueFirst) {
  TSToastManager::ts_setQueueEnabled(true);
  auto a = makeToast("a"), b = makeToast("b");
  TessraToast::ts_showToast(*host, a, 3.0, ToastPositionBottom, nullptr);
  TessraToast::ts_showToast(*host, b, 3.0, ToastPositionBottom, nullptr);
  TessraToast::hideAllToasts(*host);
  forward(10);
  EXPECT_EQ(toastsOnScreen(), 0u);
  EXPECT_EQ(b->superview(), nullptr);
}

// --- Positions and defaults

TEST_F(ToastPresentationTest, NamedPositionsFollowTheSafeAreaAndAnyOtherNameIsBottom) {
  window->setSafeAreaInsets(platform::UIEdgeInsetsMake(44, 0, 34, 0));
  auto toast = makeToast("x");
  const double h = toast->frame().size.height;
  EXPECT_EQ(TessraToast::ts_centerPointForPosition(*host, "toastpositiontop", *toast).y, 44 + 10 + h / 2);
  EXPECT_EQ(TessraToast::ts_centerPointForPosition(*host, ToastPositionCenter, *toast).y, 406);
  const CGPoint bottom = TessraToast::ts_centerPointForPosition(*host, "somewhere", *toast);
  EXPECT_EQ(bottom.x, 187.5);
  EXPECT_EQ(bottom.y, 812 - h / 2 - (34 + 10));
  const CGPoint given = TessraToast::ts_centerPointForPosition(*host, CGPoint{20, 30}, *toast);
  EXPECT_EQ(given.x, 20);
  EXPECT_EQ(given.y, 30);
}

TEST_F(ToastPresentationTest, HeldInLandscapeABottomToastTurnsAndSitsAgainstTheSide) {
  orientation = 4;  // landscape right
  auto toast = makeToast("turned");
  const auto size = toast->bounds().size;
  TessraToast::ts_showToast(*host, toast, 3.0, ToastPositionBottom, nullptr);
  EXPECT_EQ(toast->transform(), platform::CGAffineTransformMakeRotation(TessraToast::kLandscapeRightRotation));
  EXPECT_NEAR(toast->frame().size.width, size.height, 1e-9);
  EXPECT_NEAR(toast->center().x, 375 - size.height / 2 - 10, 1e-9);
  EXPECT_EQ(toast->center().y, 406);

  orientation = 3;  // landscape left
  auto other = makeToast("other side");
  const auto otherSize = other->bounds().size;
  TessraToast::ts_showToast(*host, other, 3.0, ToastPositionBottom, nullptr);
  EXPECT_NEAR(other->center().x, 10 + otherSize.height / 2, 1e-9);
}

TEST_F(ToastPresentationTest, OnlyNamesAndPointsCanBecomeTheDefaultPosition) {
  TSToastManager::setDefaultPosition(std::string(ToastPositionTop));
  TSToastManager::setDefaultPosition(42);
  TSToastManager::setDefaultPosition(std::any());
  EXPECT_TRUE(TSToastManager::defaultPosition().isTop());
  TSToastManager::setDefaultPosition(CGPoint{1, 2});
  ASSERT_NE(TSToastManager::defaultPosition().point(), nullptr);
  EXPECT_EQ(TSToastManager::defaultPosition().point()->y, 2);
}

TEST_F(ToastPresentationTest, TheActivityBoxShowsOnceAndGoes) {
  TessraToast::makeToastActivity(*host, ToastPositionCenter);
  TessraToast::makeToastActivity(*host, ToastPositionCenter);
  ASSERT_EQ(toastsOnScreen(), 1u);
  EXPECT_EQ(host->subviews().front()->bounds().size.width, 100);
  EXPECT_EQ(host->subviews().front()->center().y, 406);
  TessraToast::hideToastActivity(*host);
  forward(0.3);
  EXPECT_EQ(toastsOnScreen(), 0u);
}

}  // namespace
}  // namespace tessra::testing
