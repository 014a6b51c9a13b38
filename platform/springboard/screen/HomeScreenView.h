#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/springboard/screen/IconView.h"
#include "platform/springboard/screen/ScreenView.h"

namespace platform {
class NCNotificationRequest;
class UIImage;
class SBAlertItem;
}

namespace platform::springboard {

class AppSceneView;
class BannerView;
class ControlCenterView;
class CoverSheetView;
class DeviceModel;
class DockView;
class EdgeGestureView;
class IconPagesView;
class QuickActionMenu;
class StatusBarView;
class SystemAlertView;
class SystemOverlayView;

// The whole screen of the device (SBHomeScreenView), back to front: the
// wallpaper, the icon pages, the dock, the app in front, Siri, Spotlight,
// Notification Center, Control Center, the lock screen, the status bar, a
// banner (which slides over the status bar), a system alert, the quick-action
// menu, the home grabber and the edge strips of the system gestures. sync() makes the views follow the device's state; the
// views act on the device through its operations (which call the home
// screen's hookable methods). Conventions of the touches:
//   - a tap on an icon opens its app, a long press (0.5 s) opens its quick-action menu;
//   - a swipe up from the bottom 34 points (20 on a tablet) is the home gesture: it closes an
//     open menu, unlocks, closes Notification or Control Center, or goes home;
//   - a pull down from the top strip (the status bar's height) opens Notification Center on
//     the leading half and Control Center on the trailing half (mirrored right-to-left);
//   - a tap on Control Center's veil, or outside an open menu, closes it.
// Owned by DeviceScreen; main thread.
class HomeScreenView final : public ScreenView, public IconViewDelegate {
 public:
  explicit HomeScreenView(DeviceModel& model);
  ~HomeScreenView() override;

  // Brings every view up to date with the device; the time and date are what the device's clock says.
  void sync(const std::string& time, const std::string& date);

  IconPagesView& pages() const { return *pages_; }
  DockView& dock() const { return *dock_; }
  StatusBarView& statusBar() const { return *statusBar_; }
  QuickActionMenu& menu() const { return *menu_; }
  ControlCenterView& controlCenter() const { return *controlCenter_; }
  BannerView& banner() const { return *banner_; }
  SystemAlertView& systemAlert() const { return *systemAlert_; }
  AppSceneView& appScene() const { return *app_; }
  // The picture the app in front draws itself, shown as its scene (null: the plain scene).
  void showSceneContent(std::shared_ptr<UIImage> image);
  // The icon of an app on the pages or in the dock, or null.
  IconView* iconFor(const std::string& bundleIdentifier) const;

  // IconViewDelegate.
  void iconTapped(const std::string& bundleIdentifier) override;
  void iconPressed(const std::string& bundleIdentifier) override;
  void performStockShortcut(id item, const std::string& bundleIdentifier) override;

 protected:
  void layoutContents() override;

 private:
  void rebuildIcons();
  // The item of the system alert on screen, or null.
  SBAlertItem* shownAlertItem() const;
  void toggleSwitch(const std::string& name);

  DeviceModel& model_;
  std::vector<std::string> installed_;  // the bundle identifiers the icons were made for
  std::shared_ptr<UIView> wallpaper_;
  std::shared_ptr<IconPagesView> pages_;
  std::shared_ptr<DockView> dock_;
  std::shared_ptr<AppSceneView> app_;
  std::shared_ptr<SystemOverlayView> siri_;
  std::shared_ptr<SystemOverlayView> spotlight_;
  std::shared_ptr<CoverSheetView> notificationCenter_;
  std::shared_ptr<ControlCenterView> controlCenter_;
  std::shared_ptr<CoverSheetView> lockScreen_;
  std::shared_ptr<BannerView> banner_;
  std::shared_ptr<SystemAlertView> systemAlert_;
  std::shared_ptr<QuickActionMenu> menu_;
  std::shared_ptr<StatusBarView> statusBar_;
  std::shared_ptr<UIView> grabber_;
  std::shared_ptr<EdgeGestureView> topLeading_;
  std::shared_ptr<EdgeGestureView> topTrailing_;
  std::shared_ptr<EdgeGestureView> bottom_;
};

}  // namespace platform::springboard
