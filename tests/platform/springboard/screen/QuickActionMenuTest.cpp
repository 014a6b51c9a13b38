// The quick-action menu of an icon, on both sides of 13.0, and the hooks a plug-in puts on it.
#include "platform/runtime/KeyValue.h"
#include "platform/runtime/MessageSend.h"
#include "platform/runtime/Runtime.h"
#include "platform/runtime/Substrate.h"
#include "platform/springboard/screen/QuickActionMenu.h"
#include "platform/springboard/screen/QuickActionRowView.h"
#include "platform/springboard/screen/ShortcutItem.h"
#include "platform/springboard/screen/ViewObject.h"
#include "tests/platform/springboard/screen/ScreenFixture.h"

namespace platform::test {
namespace {

using springboard::ShortcutItem;

const std::vector<std::string> kMapsItems{"Mark My Location", "Send My Location", "Share App", "Edit Home Screen"};

// The plug-in's way in: one more item at the end of the list, and who activated what.
ObjectArray (*previousItems)(id, SEL) = nullptr;
std::vector<std::string> activated;

ObjectArray addTessraItem(id self, SEL sel) {
  ObjectArray items = previousItems(self, sel);
  items.push_back(ShortcutItem::create("CustomTessraItem", "Tessra", "Customize..."));
  return items;
}

class QuickActionMenuTest : public ScreenFixture {
 protected:
  springboard::QuickActionMenu& menu() { return home().menu(); }
  CGPoint rowCenter(size_t index) {
    CGRect frame = springboard::ScreenInspector::screenFrame(*menu().rows().at(index));
    return {CGRectGetMidX(frame), CGRectGetMidY(frame)};
  }
};

TEST_F(QuickActionMenuTest, AHalfSecondPressOpensTheMenuOfStockItems) {
  press(iconCenter("com.apple.Maps"), 0.6);
  ASSERT_TRUE(menu().isOpen());
  EXPECT_EQ(menu().titles(), kMapsItems);
  EXPECT_TRUE(logged("longpress SBIconView com.apple.Maps"));
  EXPECT_EQ(std::string(object_getClassName(menu().rows()[0]->object())), "_UIContextMenuActionView");
  // A user's app can be deleted; nothing opened.
  menu().close();
  press(iconCenter("com.waze.iphone"));
  EXPECT_EQ(menu().titles(), (std::vector<std::string>{"Share App", "Edit Home Screen", "Delete App"}));
  EXPECT_EQ(model().state().apps().frontApp(), "");
}

TEST_F(QuickActionMenuTest, APressShorterThanHalfASecondIsATap) {
  press(iconCenter("com.apple.Maps"), 0.4);
  EXPECT_FALSE(menu().isOpen());
  EXPECT_EQ(model().state().apps().frontApp(), "com.apple.Maps");
}

TEST_F(QuickActionMenuTest, ATapOnAnAppsOwnItemOpensTheAppAndClosesTheMenu) {
  press(iconCenter("com.apple.Maps"));
  tap(rowCenter(0));
  EXPECT_FALSE(menu().isOpen());
  EXPECT_TRUE(logged("tap _UIContextMenuActionView \"Mark My Location\""));
  EXPECT_TRUE(logged("shortcut \"Mark My Location\" com.apple.Maps"));
  EXPECT_EQ(model().state().apps().frontApp(), "com.apple.Maps");
}

TEST_F(QuickActionMenuTest, ATapOutsideTheMenuClosesIt) {
  press(iconCenter("com.apple.Maps"));
  tap({300, 700});
  EXPECT_FALSE(menu().isOpen());
  EXPECT_EQ(model().state().apps().frontApp(), "");
  EXPECT_FALSE(textVisible("Share App"));
}

TEST_F(QuickActionMenuTest, FromThirteenAHookOnTheIconsItemsAndActivationSeesEverything) {
  ASSERT_TRUE(MSHookMessageEx(objc_getClass("SBIconView"), SELECTOR("applicationShortcutItems"), &addTessraItem,
                              &previousItems));
  static void (*previousActivate)(id, SEL, id, std::string, id) = nullptr;
  activated.clear();
  ASSERT_TRUE(MSHookMessageEx(
      objc_getClass("SBIconView")->metaclass(), SELECTOR("activateShortcut:withBundleIdentifier:forIconView:"),
      +[](id self, SEL sel, id item, std::string bundle, id iconView) {
        std::string type = ShortcutItem::typeOf(item);
        activated.push_back(type + " " + bundle + " " +
                            msgSend<std::string>(iconView, SELECTOR("applicationBundleIdentifier")));
        if (type != "CustomTessraItem") previousActivate(self, sel, item, bundle, iconView);
      },
      &previousActivate));
  press(iconCenter("com.apple.Maps"));
  std::vector<std::string> expected = kMapsItems;
  expected.push_back("Tessra");
  ASSERT_EQ(menu().titles(), expected);
  auto& row = *menu().rows().back();
  EXPECT_EQ(row.subtitle(), "Customize...");
  // The row's labels are reachable as private fields, the subtitle inside its labels view.
  id subtitle = object_getIvar<id>(row.object(), "_subtitleLabel");
  EXPECT_EQ(springboard::ViewObject::viewOf(subtitle), &row.subtitleLabel());
  EXPECT_EQ(row.subtitleLabel().superview(), &row.labelsView());
  EXPECT_EQ(msgSend<std::string>(subtitle, SELECTOR("text")), "Customize...");
  tap(rowCenter(4));
  EXPECT_EQ(activated, std::vector<std::string>{"CustomTessraItem com.apple.Maps com.apple.Maps"});
  EXPECT_FALSE(menu().isOpen());
  EXPECT_EQ(model().state().apps().frontApp(), "");
}

TEST_F(QuickActionMenuTest, FromThirteenTheRowInitializerIsHookable) {
  static id (*previousInit)(id, SEL, std::string, std::string, std::shared_ptr<UIImage>) = nullptr;
  ASSERT_TRUE(MSHookMessageEx(
      objc_getClass("_UIContextMenuActionView"), SELECTOR("initWithTitle:subtitle:image:"),
      +[](id self, SEL sel, std::string title, std::string subtitle, std::shared_ptr<UIImage>) {
        return previousInit(self, sel, title + "!", subtitle, nullptr);
      },
      &previousInit));
  press(iconCenter("com.apple.Maps"));
  EXPECT_EQ(menu().titles().front(), "Mark My Location!");
  EXPECT_EQ(menu().rows().front()->image(), nullptr);
}

TEST_F(QuickActionMenuTest, BelowThirteenTheForceTouchControllerListsAndActivatesTheItems) {
  make("12.4");
  ASSERT_EQ(objc_getClass("_UIContextMenuActionView"), nullptr);
  ASSERT_TRUE(MSHookMessageEx(objc_getClass("SBUIAppIconForceTouchControllerDataProvider"),
                              SELECTOR("applicationShortcutItems"), &addTessraItem, &previousItems));
  static void (*previousLayout)(id, SEL) = nullptr;
  static Ref<Object> lastController;
  lastController = nullptr;
  ASSERT_TRUE(MSHookMessageEx(
      objc_getClass("SBUIIconForceTouchViewController"), SELECTOR("viewDidLayoutSubviews"),
      +[](id self, SEL sel) {
        previousLayout(self, sel);
        lastController = self;
      },
      &previousLayout));
  static void (*previousActivate)(id, SEL, id, id) = nullptr;
  activated.clear();
  ASSERT_TRUE(MSHookMessageEx(
      objc_getClass("SBUIAppIconForceTouchController"),
      SELECTOR("appIconForceTouchShortcutViewController:activateApplicationShortcutItem:"),
      +[](id self, SEL sel, id vc, id item) {
        activated.push_back(ShortcutItem::typeOf(item));
        if (ShortcutItem::typeOf(item) != "CustomTessraItem") return previousActivate(self, sel, vc, item);
        // The plug-in dismisses the menu itself, then opens its panel.
        msgSend<void, bool, std::function<void()>>(vc, SELECTOR("dismissAnimated:withCompletionHandler:"), true,
                                                   [] { activated.push_back("dismissed"); });
      },
      &previousActivate));
  press(iconCenter("com.apple.Maps"));
  std::vector<std::string> expected = kMapsItems;
  expected.push_back("Tessra");
  ASSERT_EQ(menu().titles(), expected);
  EXPECT_NE(lastController, nullptr);
  auto& row = *menu().rows().back();
  EXPECT_EQ(std::string(object_getClassName(row.object())), "SBUIActionView");
  // Below 13.0 the title field is a label holder whose own field is the label.
  id holder = object_getIvar<id>(row.object(), "_titleLabel");
  id label = object_getIvar<id>(holder, "_label");
  EXPECT_EQ(msgSend<std::string>(label, SELECTOR("text")), "Tessra");
  tap(rowCenter(4));
  EXPECT_EQ(activated, (std::vector<std::string>{"CustomTessraItem", "dismissed"}));
  EXPECT_FALSE(menu().isOpen());
  // A stock item goes through the system's handling.
  press(iconCenter("com.apple.Maps"));
  tap(rowCenter(1));
  EXPECT_TRUE(logged("shortcut \"Send My Location\" com.apple.Maps"));
  EXPECT_EQ(model().state().apps().frontApp(), "com.apple.Maps");
  lastController = nullptr;
}

TEST_F(QuickActionMenuTest, RightToLeftPutsTheMenuAgainstItsIconsTrailingEdgeAndTheImagesOnTheLeft) {
  make("13.3", springboard::DeviceKind::Phone, "ar");
  press(iconCenter("com.apple.Maps"));
  ASSERT_TRUE(menu().isOpen());
  auto& row = *menu().rows().front();
  CGRect rowFrame = springboard::ScreenInspector::screenFrame(row);
  CGRect labels = springboard::ScreenInspector::screenFrame(row.labelsView());
  EXPECT_EQ(row.titleLabel().effectiveTextAlignment(), NSTextAlignment::Right);
  EXPECT_EQ(CGRectGetMaxX(labels), CGRectGetMaxX(rowFrame) - 16);
  // Maps is in the second column from the right: the platter ends at its icon's right edge.
  CGPoint icon = iconCenter("com.apple.Maps");
  EXPECT_EQ(CGRectGetMaxX(rowFrame), icon.x + 30);
}

TEST_F(QuickActionMenuTest, TheMenuClosesWhenTheDeviceLocks) {
  press(iconCenter("com.apple.Maps"));
  model().lock();
  screen().update();
  EXPECT_FALSE(menu().isOpen());
}

TEST_F(QuickActionMenuTest, AMenuNearTheBottomOpensAboveItsIcon) {
  press(iconCenter("com.apple.mobilesafari"));
  ASSERT_TRUE(menu().isOpen());
  CGRect last = springboard::ScreenInspector::screenFrame(*menu().rows().back());
  EXPECT_LT(CGRectGetMaxY(last), iconCenter("com.apple.mobilesafari").y);
}

}  // namespace
}  // namespace platform::test
