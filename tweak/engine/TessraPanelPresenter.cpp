#include "tweak/engine/TessraPanelPresenter.h"

#include "platform/foundation/Dispatch.h"
#include "platform/foundation/Log.h"
#include "platform/runtime/MessageSend.h"
#include "platform/springboard/screen/ViewControllerObject.h"
#include "platform/springboard/screen/ViewObject.h"
#include "platform/ui/UIApplication.h"
#include "platform/ui/UIView.h"
#include "platform/ui/UIViewController.h"
#include "platform/ui/UIWindow.h"
#include "tweak/engine/TessraHooks.h"
#include "tweak/panel/Tessra2ViewController.h"
#include "tweak/store/TessraStorageManager.h"
#include "tweak/support/KelvaneTweakUtils.h"

using namespace platform;

namespace {

std::shared_ptr<Tessra2ViewController> g_tessra2VC;
Ref<Object> g_lastStatusBar;
Ref<Object> g_lastIpadDock;
CGRect g_originalStatusBarFrame;
CGRect g_originalIpadDockFrame;

void (*orig_statusBarLayout)(id, SEL) = nullptr;
void (*orig_modernStatusBarLayout)(id, SEL) = nullptr;
void (*orig_dockLayout)(id, SEL) = nullptr;
void (*orig_iconControllerWillDisappear)(id, SEL, bool) = nullptr;
void (*orig_iconControllerDidAppear)(id, SEL, bool) = nullptr;

void rememberStatusBar(id self) {
  if (!g_lastStatusBar) g_lastStatusBar = self;
}

void hook_statusBarLayout(id self, SEL sel) {
  if (orig_statusBarLayout) orig_statusBarLayout(self, sel);
  rememberStatusBar(self);
}

void hook_modernStatusBarLayout(id self, SEL sel) {
  if (orig_modernStatusBarLayout) orig_modernStatusBarLayout(self, sel);
  rememberStatusBar(self);
}

void hook_dockLayout(id self, SEL sel) {
  if (orig_dockLayout) orig_dockLayout(self, sel);
  if (!g_lastIpadDock) g_lastIpadDock = self;
}

// tessra_hideStatusBar: — just above the screen's top edge, and back.
void tessra_hideStatusBar(id self, SEL, bool hide) {
  UIView* bar = springboard::ViewObject::viewOf(self);
  if (!bar) return;
  if (hide) g_originalStatusBarFrame = bar->frame();
  const CGRect target = hide ? CGRectMake(bar->frame().origin.x, -bar->frame().size.height, bar->frame().size.width,
                                          bar->frame().size.height)
                             : g_originalStatusBarFrame;
  UIView::animateWithDuration(TessraPanelPresenter::kBarAnimationDuration, [bar, target] { bar->setFrame(target); });
}

// tessra_hideIpadDock: — down by its own height and faded out, and back.
void tessra_hideIpadDock(id self, SEL, bool hide) {
  UIView* dock = springboard::ViewObject::viewOf(self);
  if (!dock) return;
  if (hide) g_originalIpadDockFrame = dock->frame();
  const CGRect f = dock->frame();
  const CGRect target =
      hide ? CGRectMake(f.origin.x, f.origin.y + f.size.height, f.size.width, f.size.height) : g_originalIpadDockFrame;
  UIView::animateWithDuration(TessraPanelPresenter::kBarAnimationDuration, [dock, target, hide] {
    dock->setFrame(target);
    dock->setAlpha(hide ? 0 : 1);
  });
}

void dismissShownPanel() {
  if (!g_tessra2VC) return;
  dispatch_async(dispatch_get_main_queue(), [] {
    if (g_tessra2VC) g_tessra2VC->dismissViewControllerAnimated(true, nullptr);
  });
}

void hook_iconControllerWillDisappear(id self, SEL sel, bool animated) {
  if (orig_iconControllerWillDisappear) orig_iconControllerWillDisappear(self, sel, animated);
  dismissShownPanel();
}

void hook_iconControllerDidAppear(id self, SEL sel, bool animated) {
  if (orig_iconControllerDidAppear) orig_iconControllerDidAppear(self, sel, animated);
  dismissShownPanel();
}

// The root controller of the key window, or (when no window is key, as after an alert's window
// went away) of the back-most visible window: the home screen's own.
std::shared_ptr<UIViewController> screenRootController() {
  if (UIWindow* key = UIApplication::sharedApplication().keyWindow()) return key->rootViewController();
  for (UIWindow* window : UIApplication::sharedApplication().windows())
    if (!window->isHidden() && window->rootViewController()) return window->rootViewController();
  return nullptr;
}

// The controller the home screen presents over: SBIconController's parentViewController when it
// names one, else the screen's root controller.
std::shared_ptr<UIViewController> homeScreenPresenter() {
  static ClassHandle iconControllerClass("SBIconController");
  id iconController = msgSend<id>(iconControllerClass.get(), SELECTOR("sharedInstance"));
  id parent = msgSend<id>(iconController, SELECTOR("parentViewController"));
  if (UIViewController* controller = springboard::ViewControllerObject::controllerOf(parent))
    return controller->shared_from_this();
  if (UIView* view = springboard::ViewObject::viewOf(parent)) {
    if (UIViewController* controller = view->viewController()) return controller->shared_from_this();
  }
  return screenRootController();
}

// What the settings bundle's request presents over: the top-most controller, down the chain of
// presented controllers from the screen's root controller when no window is key.
std::shared_ptr<UIViewController> topPresenter() {
  if (auto top = KelvaneTweakUtils::topMostController()) return top;
  auto controller = screenRootController();
  while (controller && controller->presentedViewController()) controller = controller->presentedViewController();
  return controller;
}

}  // namespace

void TessraPanelPresenter::installStatusBarAndDockHooks() {
  for (const char* name : {"UIStatusBar", "_UIStatusBar"}) {
    Class* cls = objc_getClass(name);
    if (!cls) continue;
    if (name[0] == 'U')
      installTessraHook(cls, "layoutSubviews", &hook_statusBarLayout, &orig_statusBarLayout);
    else
      installTessraHook(cls, "layoutSubviews", &hook_modernStatusBarLayout, &orig_modernStatusBarLayout);
    class_addMethod(cls, SELECTOR("tessra_hideStatusBar:"), &tessra_hideStatusBar);
  }
  if (Class* dock = objc_getClass("SBFloatingDockView")) {
    installTessraHook(dock, "layoutSubviews", &hook_dockLayout, &orig_dockLayout);
    class_addMethod(dock, SELECTOR("tessra_hideIpadDock:"), &tessra_hideIpadDock);
  }
}

void TessraPanelPresenter::installIconControllerHooks() {
  installTessraHook("SBIconController", "viewWillDisappear:", &hook_iconControllerWillDisappear,
                    &orig_iconControllerWillDisappear);
  installTessraHook("SBIconController", "viewDidAppear:", &hook_iconControllerDidAppear, &orig_iconControllerDidAppear);
}

void TessraPanelPresenter::openPanel(const std::string& bundleId, bool fromSettings) {
  auto& store = TessraStorageManager::sharedInstance();
  store.setIsPresentingTessraFromSettings(fromSettings);
  static ClassHandle controllerClass("SBApplicationController");
  id controller = msgSend<id>(controllerClass.get(), SELECTOR("sharedInstance"));
  id application = msgSend<id, std::string>(controller, SELECTOR("applicationWithBundleIdentifier:"), bundleId);
  std::string appName = msgSend<std::string>(application, SELECTOR("displayName"));

  std::shared_ptr<UIViewController> presenter = fromSettings ? topPresenter() : homeScreenPresenter();
  if (!presenter) {
    Log::write("Tessra: no controller to present the panel over");
    return;
  }
  auto panel = std::make_shared<Tessra2ViewController>();
  panel->setupWithBundleId(bundleId, appName, plist::Dictionary{});
  panel->view()->setFrame(presenter->view()->frame());
  panel->setModalPresentationStyle(UIModalPresentationStyle::OverFullScreen);
  panel->setSpringboardStatusBar(g_lastStatusBar);
  panel->setSpringboardIpadDock(g_lastIpadDock);
  panel->setModalTransitionStyle(UIModalTransitionStyle::CrossDissolve);
  std::weak_ptr<Tessra2ViewController> weakPanel = panel;
  panel->setOnDismiss([weakPanel] {
    // A panel opened since keeps its reference.
    if (g_tessra2VC == weakPanel.lock()) g_tessra2VC.reset();
  });
  g_tessra2VC = panel;
  presenter->showViewController(panel, presenter.get());
}

const std::shared_ptr<Tessra2ViewController>& TessraPanelPresenter::currentPanel() { return g_tessra2VC; }

id TessraPanelPresenter::lastStatusBar() { return g_lastStatusBar.get(); }

id TessraPanelPresenter::lastIpadDock() { return g_lastIpadDock.get(); }
