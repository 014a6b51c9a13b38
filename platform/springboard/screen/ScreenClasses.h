#pragma once

#include <string>
#include <vector>

namespace platform::springboard {

class SystemProfile;

// The screen's view classes that only lay out (their objects answer what every "UIView" answers).
inline constexpr const char* kPlainViewClasses[] = {
    "SBHomeScreenView",
    "SBWallpaperView",
    "SBIconScrollView",
    "SBIconListView",
    "SBIconPageDotsView",
    "SBDockView",
    "SBFloatingDockView",
    "MTLumaDodgePillView",
    "SBAppSceneView",
    "SiriPresentationView",
    "SPUISearchView",
    "SBDashBoardView",
    "CSCoverSheetView",
    "NCNotificationListView",
    "CCUIModularControlCenterOverlayView",
    "CCUIToggleView",
    "SBBannerView",
    "SBEdgeGestureView",
    "_UIContextMenuContainerView",
    "SBUIIconForceTouchWindow",
    "SBAlertView",
};

// The class of the home screen's root view controller, the icon controller's parent.
inline constexpr const char* kHomeScreenControllerClass = "SBHomeScreenViewController";

// Registers the runtime classes of the device's screen for one device: the
// view base classes ("UIView", "UILabel"), the view controller base
// ("UIViewController") and the home screen's controller, the home screen's views, the
// status bar of the system version, the quick-action classes of the version
// (the context menu from 13.0, the force-touch controller below) and the
// shortcut item. Classes of another version that an earlier device left
// behind are made absent first. The screen registers them when it is made,
// before any plug-in loads, so that hooks find them.
class ScreenClasses {
 public:
  // Registers every screen class that exists on `profile`'s device.
  static void registerAll(const SystemProfile& profile);
  // Every name registerAll() may register, on any device.
  static const std::vector<std::string>& allNames();
};

}  // namespace platform::springboard
