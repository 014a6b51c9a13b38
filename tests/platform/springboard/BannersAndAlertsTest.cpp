#include <gtest/gtest.h>

#include "platform/runtime/MessageSend.h"
#include "platform/runtime/Runtime.h"
#include "platform/springboard/NotificationBanners.h"
#include "platform/springboard/SBAlertController.h"
#include "platform/springboard/SBAlertItemsController.h"
#include "platform/springboard/SystemAlerts.h"
#include "tests/platform/springboard/DeviceFixture.h"

namespace platform {
namespace {

using springboard::NotificationBanners;
using springboard::PresentationState;
using springboard::SystemAlerts;

class BannersAndAlertsTest : public test::DeviceFixture {};

TEST_F(BannersAndAlertsTest, EachVersionPresentsAndDismissesBannersWithItsOwnMethods) {
  Class* destination = objc_getClass("SBNotificationBannerDestination");
  EXPECT_TRUE(class_respondsToSelector(
      destination, SELECTOR("_presentNotificationViewController:modal:forRequest:sourceAction:completion:")));
  EXPECT_FALSE(class_respondsToSelector(destination,
                                        SELECTOR("_presentNotificationViewController:modal:forRequest:completion:")));
  EXPECT_TRUE(class_respondsToSelector(destination, SELECTOR("_dismissPresentedBannerAnimated:reason:forceIfSticky:")));
  EXPECT_FALSE(class_respondsToSelector(destination, SELECTOR("dismissPresentedBannerAnimated:")));

  configure("12.4");
  destination = objc_getClass("SBNotificationBannerDestination");
  EXPECT_FALSE(class_respondsToSelector(
      destination, SELECTOR("_presentNotificationViewController:modal:forRequest:sourceAction:completion:")));
  EXPECT_TRUE(class_respondsToSelector(destination,
                                       SELECTOR("_presentNotificationViewController:modal:forRequest:completion:")));
  EXPECT_TRUE(class_respondsToSelector(destination, SELECTOR("dismissPresentedBannerAnimated:")));

  EXPECT_EQ(NotificationBanners::lastBanner(), PresentationState::None);
  ASSERT_TRUE(NotificationBanners::post({"com.apple.MobileSMS", "Alice", "Hi", std::nullopt, nullptr}));
  EXPECT_EQ(NotificationBanners::lastBanner(), PresentationState::Shown);
  EXPECT_EQ(NotificationBanners::shownBanner()->title, "Alice");
  EXPECT_TRUE(
      log().contains("banner com.apple.MobileSMS \"Alice\" presented with "
                     "_presentNotificationViewController:modal:forRequest:completion:"));
  msgSend<void, bool>(msgSend<id>(objc_getClass("SBNotificationBannerDestination"), SELECTOR("sharedInstance")),
                      SELECTOR("dismissPresentedBannerAnimated:"), false);
  EXPECT_EQ(NotificationBanners::lastBanner(), PresentationState::Hidden);
  EXPECT_FALSE(NotificationBanners::shownBanner().has_value());
}

TEST_F(BannersAndAlertsTest, AlertsOfAnyItemClassShowAndGoAway) {
  EXPECT_EQ(SystemAlerts::lastAlert(), PresentationState::None);
  EXPECT_EQ(SystemAlerts::raise("SBLowPowerAlertItem", "Low Battery", std::nullopt), "");
  EXPECT_EQ(SystemAlerts::lastAlert(), PresentationState::Shown);
  EXPECT_TRUE(objc_getClass("SBLowPowerAlertItem")->isSubclassOf(objc_getClass("SBAlertItem")));
  EXPECT_TRUE(log().contains("system alert SBLowPowerAlertItem \"Low Battery\" shown"));
  SBAlertItemsController* items = SBAlertItemsController::sharedInstance();
  id item = msgSend<id>(items->lastController(), SELECTOR("alertItem"));
  msgSend<void, id>(items, SELECTOR("deactivateAlertItem:"), item);
  EXPECT_EQ(SystemAlerts::lastAlert(), PresentationState::Hidden);
  EXPECT_TRUE(log().contains("system alert SBLowPowerAlertItem deactivated"));

  // The class made for an earlier device is made again under the new device's alert item.
  configure("13.3");
  EXPECT_EQ(SystemAlerts::raise("SBLowPowerAlertItem", std::nullopt, "again"), "");
  EXPECT_EQ(SystemAlerts::lastAlert(), PresentationState::Shown);

  EXPECT_EQ(SystemAlerts::raise("SpringBoard", "T", "M"), "the class SpringBoard is not an alert item");
  EXPECT_EQ(SystemAlerts::raise("Not A Class", "T", "M"), "'Not A Class' is not a class name");
  EXPECT_EQ(SystemAlerts::raise("9Lives", "T", "M"), "'9Lives' is not a class name");
  EXPECT_EQ(SystemAlerts::lastAlert(), PresentationState::Shown);  // nothing new was raised
}

}  // namespace
}  // namespace platform
