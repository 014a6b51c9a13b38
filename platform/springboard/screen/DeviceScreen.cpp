#include "platform/springboard/screen/DeviceScreen.h"

#include <cxxabi.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <typeinfo>

#include "platform/runtime/Runtime.h"
#include "platform/springboard/DeviceModel.h"
#include "platform/springboard/SBIconController.h"
#include "platform/springboard/screen/AppSceneView.h"
#include "platform/springboard/screen/BannerView.h"
#include "platform/springboard/screen/HomeScreenView.h"
#include "platform/springboard/screen/IconPagesView.h"
#include "platform/springboard/screen/QuickActionMenu.h"
#include "platform/springboard/screen/ScreenClasses.h"
#include "platform/springboard/screen/ScreenInspector.h"
#include "platform/springboard/screen/StatusBarView.h"
#include "platform/springboard/screen/SystemAlertView.h"
#include "platform/springboard/screen/ViewControllerObject.h"
#include "platform/ui/Animator.h"
#include "platform/ui/UIApplication.h"
#include "platform/ui/UIButton.h"
#include "platform/ui/UIScreen.h"
#include "platform/ui/UIViewController.h"
#include "platform/ui/UIWindow.h"
#include "platform/ui/render/ViewRenderer.h"

namespace platform::springboard {

namespace {

constexpr double kTapMovement = 10;
constexpr double kLongPress = 0.5;

std::string environmentLanguage() {
  for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* value = std::getenv(variable);
    if (value && *value) return value;
  }
  return "en_US";
}

double secondsNow() { return toSeconds(Animator::now().time_since_epoch()); }

// The C++ class name of a view without its namespaces ("UIButton").
std::string typeName(const UIView& view) {
  int status = 0;
  char* demangled = abi::__cxa_demangle(typeid(view).name(), nullptr, nullptr, &status);
  std::string name = status == 0 && demangled ? demangled : typeid(view).name();
  std::free(demangled);
  size_t colon = name.rfind("::");
  return colon == std::string::npos ? name : name.substr(colon + 2);
}

}  // namespace

bool DeviceScreen::isRightToLeft(const std::string& language) {
  std::string code = language.substr(0, language.find_first_of("_-.@"));
  return code == "ar" || code == "he" || code == "iw" || code == "fa" || code == "ur" || code == "yi";
}

DeviceScreen::DeviceScreen(DeviceModel& model, Options options)
    : model_(model), options_(std::move(options)), start_(Animator::now()) {
  ScreenClasses::registerAll(model_.state().profile());
  const bool tablet = model_.state().profile().kind() == DeviceKind::Tablet;
  UIScreen::mainScreen().setBounds(tablet ? CGRectMake(0, 0, 1024, 1366) : CGRectMake(0, 0, 375, 812));
  UIScreen::mainScreen().setScale(tablet ? 2 : 3);
  std::string language = options_.language.empty() ? environmentLanguage() : options_.language;
  UIApplication::sharedApplication().setUserInterfaceLayoutDirection(isRightToLeft(language)
                                                                         ? UIUserInterfaceLayoutDirection::RightToLeft
                                                                         : UIUserInterfaceLayoutDirection::LeftToRight);

  window_ = std::make_shared<UIWindow>(UIScreen::mainScreen().bounds());
  window_->setSafeAreaInsets(tablet ? UIEdgeInsetsMake(24, 0, 20, 0) : UIEdgeInsetsMake(44, 0, 34, 0));
  home_ = std::make_shared<HomeScreenView>(model_);
  root_ = std::make_shared<UIViewController>();
  root_->setView(home_);
  // The icon controller's view is the icon pages inside the home screen; its parent, the home screen's controller.
  homeController_ = class_createInstance(objc_getClass(kHomeScreenControllerClass));
  if (auto* object = dynamic_cast<ViewControllerObject*>(homeController_.get())) object->bind(root_);
  if (SBIconController* icons = SBIconController::sharedInstance()) {
    icons->setView(home_->pages().object());
    icons->setParentViewController(homeController_.get());
  }
  window_->setRootViewController(root_);
  window_->makeKeyAndVisible();
  renderer_ = std::make_unique<ViewRenderer>();
  update();
}

DeviceScreen::~DeviceScreen() {
  if (SBIconController* icons = SBIconController::sharedInstance()) {
    if (homeController_ && icons->parentViewController() == homeController_.get())
      icons->setParentViewController(nullptr);
    if (icons->view() && icons->view() == home_->pages().object()) icons->setView(nullptr);
  }
  window_->setHidden(true);
  window_->setRootViewController(nullptr);
}

CGSize DeviceScreen::size() const { return UIScreen::mainScreen().bounds().size; }

double DeviceScreen::scale() const { return UIScreen::mainScreen().scale(); }

std::pair<std::string, std::string> DeviceScreen::timeAndDate() const {
  std::tm local{};
  if (options_.wallClock) {
    std::time_t now = options_.wallClock();
    localtime_r(&now, &local);
  } else {
    // Tuesday, January 9 at 9:41, moving on with the device's clock.
    local.tm_year = 107;
    local.tm_mon = 0;
    local.tm_mday = 9;
    local.tm_hour = 9;
    local.tm_min = 41;
    local.tm_sec = static_cast<int>(toSeconds(Animator::now() - start_));
    timegm(&local);  // normalises the seconds into minutes, hours and days
  }
  static const char* const kDays[] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
  static const char* const kMonths[] = {"January", "February", "March",     "April",   "May",      "June",
                                        "July",    "August",   "September", "October", "November", "December"};
  char time[16];
  std::snprintf(time, sizeof time, "%d:%02d", local.tm_hour, local.tm_min);
  std::string date =
      std::string(kDays[local.tm_wday % 7]) + ", " + kMonths[local.tm_mon % 12] + " " + std::to_string(local.tm_mday);
  return {time, date};
}

void DeviceScreen::update() {
  auto [time, date] = timeAndDate();
  home_->sync(time, date);
  if (options_.sceneContent) {
    const std::string& front = model_.state().apps().frontApp();
    std::shared_ptr<UIImage> content = front.empty() ? nullptr : options_.sceneContent(front);
    if (content != sceneContent_) {
      sceneContent_ = std::move(content);
      home_->showSceneContent(sceneContent_);
      dirty_ = true;
    }
  }
  for (UIWindow* w : UIApplication::sharedApplication().windows()) w->layoutIfNeeded();
}

std::string DeviceScreen::describe(const UIView* view) {
  if (!view) return "nothing";
  // A button or a label says what it shows; other views are named by the screen view they belong to.
  if (std::string text = ScreenInspector::textOf(*view); !text.empty() && !dynamic_cast<const ScreenView*>(view))
    return typeName(*view) + " \"" + text + "\"";
  for (const UIView* v = view; v; v = v->superview()) {
    auto* screen = dynamic_cast<const ScreenView*>(v);
    if (!screen || !screen->object()) continue;
    std::string name = object_getClassName(screen->object());
    return screen->detail().empty() ? name : name + " " + screen->detail();
  }
  std::string name = typeName(*view);
  std::string text = ScreenInspector::textOf(*view);
  return text.empty() ? name : name + " \"" + text + "\"";
}

bool DeviceScreen::touch(UITouchPhase phase, CGPoint point) {
  const CGSize screen = size();
  const bool inside = point.x >= 0 && point.y >= 0 && point.x < screen.width && point.y < screen.height;
  if (phase == UITouchPhase::Began) {
    if (!inside || touching_) return false;
    update();
    touching_ = true;
    touchStart_ = point;
    touchStartTime_ = secondsNow();
    touchTravel_ = 0;
    touchView_ = nullptr;
    auto windows = UIApplication::sharedApplication().windows();
    for (auto it = windows.rbegin(); it != windows.rend() && !touchView_; ++it) {
      if (!(*it)->isHidden()) touchView_ = (*it)->hitTest((*it)->convertPointFrom(point, nullptr), nullptr);
    }
    touchViewHold_ = touchView_ ? touchView_->weak_from_this().lock() : nullptr;
    touchOnScene_ = false;
  } else {
    if (!touching_) return false;
    point.x = std::clamp(point.x, 0.0, screen.width - 0.5);
    point.y = std::clamp(point.y, 0.0, screen.height - 0.5);
    touchTravel_ = std::max(touchTravel_, std::hypot(point.x - touchStart_.x, point.y - touchStart_.y));
  }
  const bool ends = phase == UITouchPhase::Ended || phase == UITouchPhase::Cancelled;
  std::string reached;
  if (ends) {
    // What the finger did, named before the touch's effects replace the view it began on.
    const char* kind = touchTravel_ >= kTapMovement                   ? "drag"
                       : secondsNow() - touchStartTime_ >= kLongPress ? "longpress"
                                                                      : "tap";
    reached = std::string(kind) + " " + describe(touchView_);
  }
  // The touch is traced before what it does.
  if (ends) model_.state().eventLog().record(reached);
  bool taken = UIApplication::sharedApplication().sendTouch(phase, point);
  if (phase == UITouchPhase::Began && options_.sceneTouch && !model_.state().apps().frontApp().empty()) {
    bool onScene = false;
    for (UIView* v = touchView_; v && !onScene; v = v->superview()) onScene = v == &home_->appScene();
    touchOnScene_ = onScene && options_.sceneTouch(phase, point);
  } else if (touchOnScene_) {
    options_.sceneTouch(phase, point);
  }
  taken = taken || touchOnScene_;
  if (ends) {
    touching_ = false;
    touchOnScene_ = false;
    touchView_ = nullptr;
    touchViewHold_ = nullptr;
  }
  dirty_ = true;
  update();
  return taken;
}

std::string DeviceScreen::signature() const {
  const AppsState& apps = model_.state().apps();
  std::string s = apps.frontApp();
  for (bool flag : {apps.locked(), apps.siriVisible(), apps.spotlightVisible(), apps.controlCenterVisible(),
                    apps.notificationCenterVisible(), home_->menu().isOpen(), home_->banner().isHidden(),
                    home_->systemAlert().isHidden()}) {
    s += flag ? '1' : '0';
  }
  const StatusBarState& bar = home_->statusBar().state();
  s += bar.time;
  for (bool flag : {bar.wifi, bar.cellular, bar.airplane, bar.bluetooth, bar.doNotDisturb, bar.location,
                    bar.orientationLock, bar.lowPower, bar.charging}) {
    s += flag ? '1' : '0';
  }
  s += std::to_string(bar.batteryPercent);
  s += std::to_string(home_->pages().currentPage()) + "/" + std::to_string(model_.state().display().homeGrabberAlpha());
  for (UIWindow* w : UIApplication::sharedApplication().windows()) s += w->isHidden() ? 'h' : 'v';
  return s;
}

bool DeviceScreen::needsDisplay() {
  update();
  if (dirty_ || Animator::shared().runningCount() > 0) return true;
  return signature() != lastSignature_;
}

std::shared_ptr<UIImage> DeviceScreen::render(double scale) {
  update();
  dirty_ = false;
  lastSignature_ = signature();
  return renderer_->renderScreen(scale);
}

}  // namespace platform::springboard
