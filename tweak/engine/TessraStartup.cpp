#include "tweak/engine/TessraStartup.h"

#include <map>
#include <utility>
#include <vector>

#include "platform/foundation/DarwinNotificationCenter.h"
#include "platform/foundation/Dispatch.h"
#include "platform/foundation/DistributedNotificationCenter.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/ProcessInfo.h"
#include "platform/runtime/MessageSend.h"
#include "platform/runtime/Runtime.h"
#include "platform/runtime/Substrate.h"
#include "tweak/engine/AppSwitchEngine.h"
#include "tweak/engine/RestoreJournal.h"
#include "tweak/engine/TessraAppRecord.h"
#include "tweak/engine/TessraPanelPresenter.h"
#include "tweak/engine/TessraQuickActions.h"
#include "tweak/store/TessraKeys.h"
#include "tweak/store/TessraStorageManager.h"
#include "tweak/support/TessraDebugLog.h"

using platform::id;
using platform::SEL;

namespace {

bool g_running = false;
uint64_t g_settingsObserver = 0;
std::vector<uint64_t> g_darwinObservers;

// SpringBoard's own implementations, called first by every hook.
id (*orig_frontMostApplication)(id, SEL) = nullptr;
void (*orig_updateProcess)(id, SEL, id, id) = nullptr;
void (*orig_iconControllerViewWillAppear)(id, SEL, bool) = nullptr;
void (*orig_coverSheetDidPresent)(id, SEL) = nullptr;
void (*orig_coverSheetDidDismiss)(id, SEL) = nullptr;

id hook_frontMostApplication(id self, SEL sel) {
  id answer = orig_frontMostApplication ? orig_frontMostApplication(self, sel) : nullptr;
  return AppSwitchEngine::shared().frontmostCheck(answer);
}

void hook_updateProcess(id self, SEL sel, id process, id state) {
  if (orig_updateProcess) orig_updateProcess(self, sel, process, state);
  AppSwitchEngine::checkFrontmostApplication();
}

void hook_iconControllerViewWillAppear(id self, SEL sel, bool animated) {
  if (orig_iconControllerViewWillAppear) orig_iconControllerViewWillAppear(self, sel, animated);
  AppSwitchEngine::checkFrontmostApplication();
}

void hook_coverSheetDidPresent(id self, SEL sel) {
  if (orig_coverSheetDidPresent) orig_coverSheetDidPresent(self, sel);
  AppSwitchEngine::shared().coverSheetDidPresent();
}

void hook_coverSheetDidDismiss(id self, SEL sel) {
  if (orig_coverSheetDidDismiss) orig_coverSheetDidDismiss(self, sel);
  AppSwitchEngine::shared().coverSheetDidDismiss();
}

// Installs one hook. A class is hooked once: hooking it again with the same
// replacement would make the replacement its own "previous" implementation.
template <class Fn>
void hook(const char* className, const char* selector, Fn replacement, Fn* previous) {
  static std::map<std::pair<std::string, std::string>, platform::Class*> hooked;
  platform::Class* cls = platform::objc_getClass(className);
  platform::Class*& done = hooked[{className, selector}];
  if (cls && cls == done) return;
  if (!platform::MSHookMessageEx(cls, platform::sel_registerName(selector), replacement, previous)) {
    platform::Log::write(std::string("Tessra: could not hook ") + className + " " + selector);
    return;
  }
  done = cls;
}

}  // namespace

bool TessraStartup::isRunning() { return g_running; }

void TessraStartup::mainStartUp() {
  if (platform::ProcessInfo::processName() != kHomeScreenProcessName) return;
  auto& storage = TessraStorageManager::sharedInstance();
  storage.bindSettings();
  if (!storage.enabled) return;

  registerDarwinObservers();
  storage.loadDictionaryFromStorage();
  installEngineHooks();
  TessraDebugLog::setUp();
  // A home screen that ended with an app's customization in force left what to put back: once the home screen
  // is up (the switch panel and the volume control answer from then on).
  platform::dispatch_async(platform::dispatch_get_main_queue(), [] { RestoreJournal::replayLeftover(); });
  g_running = true;
}

void TessraStartup::registerDarwinObservers() {
  auto& darwin = platform::DarwinNotificationCenter::shared();
  // The preferences object refreshes the bound settings itself; this observer only keeps the name observed.
  g_darwinObservers.push_back(
      darwin.addObserver(std::string(tessra::kReloadPrefsNotification), [](const std::string&) {}));
  g_darwinObservers.push_back(darwin.addObserver(
      std::string(tessra::kClearAppCustomizationCacheNotification),
      [](const std::string&) { TessraStorageManager::sharedInstance().loadDictionaryFromStorage(); }));
}

// The engine's part of the hook table, in the order the start-up installs it.
void TessraStartup::installEngineHooks() {
  TessraQuickActions::install();
  TessraPanelPresenter::installStatusBarAndDockHooks();
  TessraPanelPresenter::installIconControllerHooks();
  hook("SBApplication", "_updateProcess:withState:", &hook_updateProcess, &orig_updateProcess);
  TessraAppRecord::installProperties();
  hook("SBIconController", "viewWillAppear:", &hook_iconControllerViewWillAppear, &orig_iconControllerViewWillAppear);
  hook("SpringBoard", "_accessibilityFrontMostApplication", &hook_frontMostApplication, &orig_frontMostApplication);
  hook("SBCoverSheetPresentationManager", "_notifyDelegateDidPresent", &hook_coverSheetDidPresent,
       &orig_coverSheetDidPresent);
  hook("SBCoverSheetPresentationManager", "_notifyDelegateDidDismiss", &hook_coverSheetDidDismiss,
       &orig_coverSheetDidDismiss);
}

void TessraStartup::addShowTessraInterfaceFromSettingsObserver() {
  auto& center = platform::DistributedNotificationCenter::shared();
  if (g_settingsObserver) center.removeObserver(g_settingsObserver);
  g_settingsObserver = center.addObserver(kShowInterfaceNotification, [](const std::string& name,
                                                                         const platform::plist::Value& userInfo) {
    // The request comes from another process: anything but a string
    // identifier is refused with a message and opens nothing.
    const platform::plist::Value bundleId = userInfo[kBundleIdKey];
    if (!bundleId.isString() || bundleId.string().empty()) {
      platform::Log::write("Tessra: ignored " + name + ": \"bundleId\" is " +
                           (bundleId.isNull() ? std::string("missing") : "not a string (" + bundleId.describe() + ")"));
      return;
    }
    openPanel(bundleId.string(), true);
  });
}

void TessraStartup::openPanel(const std::string& bundleId, bool fromSettings) {
  TessraPanelPresenter::openPanel(bundleId, fromSettings);
}
