#include "platform/springboard/screen/HomeScreenView.h"

#include <algorithm>
#include <map>

#include "platform/springboard/DeviceModel.h"
#include "platform/springboard/NotificationBanners.h"
#include "platform/springboard/SBAlertController.h"
#include "platform/springboard/SBAlertItem.h"
#include "platform/springboard/SBAlertItemsController.h"
#include "platform/springboard/SystemAlerts.h"
#include "platform/springboard/screen/AppSceneView.h"
#include "platform/springboard/screen/BannerView.h"
#include "platform/springboard/screen/ControlCenterView.h"
#include "platform/springboard/screen/CoverSheetView.h"
#include "platform/springboard/screen/DockView.h"
#include "platform/springboard/screen/EdgeGestureView.h"
#include "platform/springboard/screen/IconPagesView.h"
#include "platform/springboard/screen/QuickActionItems.h"
#include "platform/springboard/screen/QuickActionMenu.h"
#include "platform/springboard/screen/ShortcutItem.h"
#include "platform/springboard/screen/StatusBarView.h"
#include "platform/springboard/screen/SystemAlertView.h"
#include "platform/springboard/screen/SystemOverlayView.h"
#include "platform/ui/CAGradientLayer.h"

namespace platform::springboard {

namespace {

// The apps that go into the dock when they are installed, in this order.
constexpr const char* kDockApps[] = {"com.apple.mobilephone", "com.apple.mobilesafari", "com.apple.MobileSMS",
                                     "com.apple.Music",       "com.apple.mobilemail",   "com.apple.camera"};

// The Flipswitch identifier behind each switch name of the status bar and Control Center.
const std::map<std::string, std::string, std::less<>>& flipswitchNames() {
  static const std::map<std::string, std::string, std::less<>> names{
      {"airplane", "airplane-mode"}, {"cellular", "cellular-data"},         {"wifi", "wifi"},
      {"dnd", "do-not-disturb"},     {"orientation-lock", "rotation-lock"}, {"low-power", "low-power"},
      {"location", "location"}};
  return names;
}

bool isOverlayApp(const std::string& bundleIdentifier) {
  return bundleIdentifier == "com.apple.siri" || bundleIdentifier == "com.apple.Spotlight";
}

// The wallpaper: a diagonal gradient from deep blue through violet to amber.
class WallpaperView final : public UIView {
 public:
  WallpaperView() : UIView(CGRectZero, std::make_shared<CAGradientLayer>()) {
    auto& gradient = static_cast<CAGradientLayer&>(layer());
    gradient.setColors({UIColor(0.05, 0.22, 0.62, 1), UIColor(0.45, 0.2, 0.6, 1), UIColor(0.95, 0.55, 0.3, 1)});
    gradient.setLocations({0, 0.55, 1});
    gradient.setStartPoint({0, 0});
    gradient.setEndPoint({1, 1});
    setUserInteractionEnabled(false);
  }
};

}  // namespace

HomeScreenView::HomeScreenView(DeviceModel& model) : ScreenView("SBHomeScreenView"), model_(model) {
  const SystemProfile& profile = model.state().profile();
  wallpaper_ = std::make_shared<WallpaperView>();
  auto wallpaperHolder = std::make_shared<ScreenView>("SBWallpaperView");
  pages_ = std::make_shared<IconPagesView>(profile, *this);
  dock_ = std::make_shared<DockView>(profile, *this);
  app_ = std::make_shared<AppSceneView>();
  siri_ = std::make_shared<SystemOverlayView>(SystemOverlayView::Kind::Siri);
  spotlight_ = std::make_shared<SystemOverlayView>(SystemOverlayView::Kind::Spotlight);
  notificationCenter_ = std::make_shared<CoverSheetView>(profile, CoverSheetView::Mode::NotificationCenter);
  controlCenter_ = std::make_shared<ControlCenterView>([this](const std::string& name) { toggleSwitch(name); },
                                                       [this] { model_.dismissSystemOverlays(); });
  lockScreen_ = std::make_shared<CoverSheetView>(profile, CoverSheetView::Mode::LockScreen);
  banner_ = std::make_shared<BannerView>();
  systemAlert_ = std::make_shared<SystemAlertView>([this] {
    // The alert's button ends the alert item, as the system's alert does.
    if (SBAlertItem* item = shownAlertItem()) item->setActive(false);
    systemAlert_->hide();
    model_.state().eventLog().record("system alert dismissed");
  });
  menu_ = std::make_shared<QuickActionMenu>(profile, *this);
  statusBar_ = std::make_shared<StatusBarView>(profile);
  grabber_ = std::make_shared<ScreenView>("MTLumaDodgePillView");
  grabber_->setBackgroundColor(UIColor(0.1, 0.1, 0.1, 0.8));
  grabber_->setUserInteractionEnabled(false);
  auto closeMenuThen = [this](auto action) {
    return [this, action] {
      if (menu_->isOpen()) {
        menu_->close();
        return;
      }
      action();
    };
  };
  bottom_ =
      std::make_shared<EdgeGestureView>(EdgeGestureView::Direction::Up, closeMenuThen([this] { model_.swipeHome(); }));
  topLeading_ = std::make_shared<EdgeGestureView>(EdgeGestureView::Direction::Down,
                                                  closeMenuThen([this] { model_.openNotificationCenter(); }));
  topTrailing_ = std::make_shared<EdgeGestureView>(EdgeGestureView::Direction::Down,
                                                   closeMenuThen([this] { model_.openControlCenter(); }));
  wallpaperHolder->addSubview(wallpaper_);
  wallpaper_ = wallpaperHolder;
  for (const auto& view : std::vector<std::shared_ptr<UIView>>{
           wallpaper_, pages_, dock_, app_, siri_, spotlight_, notificationCenter_, controlCenter_, lockScreen_,
           statusBar_, banner_, systemAlert_, menu_, grabber_, topLeading_, topTrailing_, bottom_}) {
    addSubview(view);
  }
  rebuildIcons();
}

HomeScreenView::~HomeScreenView() = default;

void HomeScreenView::rebuildIcons() {
  std::vector<InstalledApp> docked, paged;
  installed_.clear();
  const auto& apps = model_.state().apps().installedApps();
  for (const char* preferred : kDockApps) {
    auto it =
        std::find_if(apps.begin(), apps.end(), [&](const InstalledApp& a) { return a.bundleIdentifier == preferred; });
    if (it != apps.end() && docked.size() < DockView::capacity(model_.state().profile())) docked.push_back(*it);
  }
  for (const InstalledApp& app : apps) {
    installed_.push_back(app.bundleIdentifier);
    if (isOverlayApp(app.bundleIdentifier)) continue;
    bool inDock = std::any_of(docked.begin(), docked.end(),
                              [&](const InstalledApp& d) { return d.bundleIdentifier == app.bundleIdentifier; });
    if (!inDock) paged.push_back(app);
  }
  pages_->setApps(paged);
  dock_->setApps(docked);
  setNeedsLayout();
}

IconView* HomeScreenView::iconFor(const std::string& bundleIdentifier) const {
  if (IconView* icon = pages_->iconFor(bundleIdentifier)) return icon;
  return dock_->iconFor(bundleIdentifier);
}

void HomeScreenView::showSceneContent(std::shared_ptr<UIImage> image) { app_->showContent(std::move(image)); }

void HomeScreenView::sync(const std::string& time, const std::string& date) {
  std::vector<std::string> installed;
  for (const InstalledApp& app : model_.state().apps().installedApps()) installed.push_back(app.bundleIdentifier);
  if (installed != installed_) rebuildIcons();

  const AppsState& apps = model_.state().apps();
  const std::string& front = apps.frontApp();
  if (!front.empty() || apps.locked()) menu_->close();
  const InstalledApp* frontApp = front.empty() ? nullptr : apps.installedApp(front);
  app_->showApp(frontApp ? front : std::string(), frontApp ? frontApp->displayName : std::string());
  siri_->setHidden(!apps.siriVisible());
  spotlight_->setHidden(!apps.spotlightVisible());
  notificationCenter_->setHidden(!apps.notificationCenterVisible());
  controlCenter_->setHidden(!apps.controlCenterVisible());
  lockScreen_->setHidden(!apps.locked());
  notificationCenter_->setTime(time, date);
  // The banner presented last, while nothing has hidden or dismissed it (once per sync: showing and hiding animate).
  if (auto banner = NotificationBanners::shownBanner()) {
    const InstalledApp* sender = apps.installedApp(banner->bundleIdentifier);
    std::string title = banner->title.value_or("");
    if (banner->subtitle) title += (title.empty() ? "" : " - ") + *banner->subtitle;
    banner_->show(sender ? sender->displayName : banner->bundleIdentifier, title, banner->message.value_or(""));
  } else {
    banner_->hide();
  }
  lockScreen_->setTime(time, date);

  SwitchesState& switches = model_.state().switches();
  auto on = [&switches](std::string_view name) {
    return switches.state(SwitchesState::fullIdentifier(name)) == FSSwitchState::On;
  };
  StatusBarState bar;
  bar.time = time;
  bar.wifi = on("wifi");
  bar.cellular = on("cellular-data");
  bar.airplane = on("airplane-mode");
  bar.bluetooth = switches.bluetoothEnabled();
  bar.doNotDisturb = on("do-not-disturb");
  bar.location = on("location");
  bar.orientationLock = on("rotation-lock");
  bar.lowPower = on("low-power");
  bar.batteryPercent = model_.state().battery().percent();
  bar.charging = model_.state().battery().isCharging();
  statusBar_->setState(bar);
  const bool overlay = apps.locked() || apps.siriVisible() || apps.spotlightVisible() || apps.controlCenterVisible() ||
                       apps.notificationCenterVisible();
  statusBar_->setDarkContent(frontApp && !overlay);

  std::map<std::string, bool> lit;
  for (const auto& [name, identifier] : flipswitchNames()) lit[name] = on(identifier);
  lit["bluetooth"] = bar.bluetooth;
  controlCenter_->setStates(lit);

  // The system alert shown, as the device holds it.
  if (SBAlertItem* item = shownAlertItem()) {
    systemAlert_->show(item->title().value_or(""), item->message().value_or(""));
  } else {
    systemAlert_->hide();
  }

  grabber_->setHidden(!frontApp || apps.locked());
  // The grabber fades as the device's change asked (a plug-in hides it inside an animation block).
  const double alpha = model_.state().display().homeGrabberAlpha();
  if (grabber_->alpha() != alpha) {
    const double duration = model_.state().display().homeGrabberAnimationDuration();
    if (duration > 0) {
      UIView::animateWithDuration(duration, [this, alpha] { grabber_->setAlpha(alpha); });
    } else {
      grabber_->setAlpha(alpha);
    }
  }
}

SBAlertItem* HomeScreenView::shownAlertItem() const {
  if (SystemAlerts::lastAlert() != PresentationState::Shown) return nullptr;
  SBAlertItemsController* items = SBAlertItemsController::sharedInstance();
  SBAlertController* controller = items ? items->lastController() : nullptr;
  return controller ? controller->alertItem() : nullptr;
}

void HomeScreenView::toggleSwitch(const std::string& name) {
  SwitchesState& switches = model_.state().switches();
  if (name == "bluetooth") {
    switches.setBluetoothEnabled(!switches.bluetoothEnabled());
    return;
  }
  auto it = flipswitchNames().find(name);
  if (it == flipswitchNames().end()) return;
  std::string identifier = SwitchesState::fullIdentifier(it->second);
  bool isOn = switches.state(identifier) == FSSwitchState::On;
  switches.setState(identifier, isOn ? FSSwitchState::Off : FSSwitchState::On);
}

void HomeScreenView::iconTapped(const std::string& bundleIdentifier) {
  if (menu_->isOpen()) return;
  model_.openApp(bundleIdentifier);
}

void HomeScreenView::iconPressed(const std::string& bundleIdentifier) {
  IconView* icon = iconFor(bundleIdentifier);
  if (!icon) return;
  model_.state().eventLog().record("quick actions " + bundleIdentifier);
  menu_->open(*icon);
}

void HomeScreenView::performStockShortcut(id item, const std::string& bundleIdentifier) {
  const std::string type = ShortcutItem::typeOf(item);
  model_.state().eventLog().record("shortcut \"" + ShortcutItem::titleOf(item) + "\" " + bundleIdentifier);
  // An app's own item opens the app; the home screen's own (share, edit, delete) end here.
  if (!type.empty() && !QuickActionItems::isHomeScreenType(type)) model_.openApp(bundleIdentifier);
}

void HomeScreenView::layoutContents() {
  const CGRect screen = bounds();
  const CGSize size = screen.size;
  const SystemProfile& profile = model_.state().profile();
  const bool tablet = profile.kind() == DeviceKind::Tablet;
  const double barHeight = StatusBarView::heightFor(profile);
  const double bottomStrip = tablet ? 20 : 34;
  const CGRect dockFrame = DockView::frameFor(profile, size, dock_->iconCount());
  for (UIView* full : std::initializer_list<UIView*>{wallpaper_.get(), app_.get(), siri_.get(), spotlight_.get(),
                                                     notificationCenter_.get(), controlCenter_.get(), lockScreen_.get(),
                                                     systemAlert_.get(), menu_.get()}) {
    full->setFrame(screen);
  }
  wallpaper_->subviews().front()->setFrame(screen);
  pages_->setFrame(CGRectMake(0, barHeight, size.width, dockFrame.origin.y - barHeight - 8));
  dock_->setFrame(dockFrame);
  const double bannerWidth = std::min(size.width - 16, 420.0);
  banner_->setFrame(CGRectMake((size.width - bannerWidth) / 2, barHeight + 4, bannerWidth, 76));
  statusBar_->setFrame(CGRectMake(0, 0, size.width, barHeight));
  const double grabberWidth = tablet ? 315 : 134;
  grabber_->setFrame(CGRectMake((size.width - grabberWidth) / 2, size.height - 8 - 5, grabberWidth, 5));
  grabber_->layer().setCornerRadius(2.5);
  const bool rtl = effectiveUserInterfaceLayoutDirection() == UIUserInterfaceLayoutDirection::RightToLeft;
  const CGRect leftHalf = CGRectMake(0, 0, size.width / 2, barHeight);
  const CGRect rightHalf = CGRectMake(size.width / 2, 0, size.width - size.width / 2, barHeight);
  topLeading_->setFrame(rtl ? rightHalf : leftHalf);
  topTrailing_->setFrame(rtl ? leftHalf : rightHalf);
  bottom_->setFrame(CGRectMake(0, size.height - bottomStrip, size.width, bottomStrip));
}

}  // namespace platform::springboard
