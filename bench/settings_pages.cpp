// How long the settings pages take to be ready: each page of the bundle
// loaded from its property list with its visible cells built, and the apps
// page with 300 installed and 50 customized apps until its table is ready.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <memory>
#include <string>

#include "platform/foundation/DevicePaths.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/ManualTaskEnvironment.h"
#include "platform/foundation/PropertyListFile.h"
#include "platform/preferences/PSSpecifier.h"
#include "platform/preferences/UINavigationController.h"
#include "platform/preferences/UITableView.h"
#include "platform/prefs/HBPreferences.h"
#include "platform/ui/UIWindow.h"
#include "prefs/TSAppCollections.h"
#include "prefs/TSPrefsListController.h"
#include "prefs/TessraPrefsClasses.h"
#include "tweak/store/TessraStorageManagerClass.h"

namespace {

using namespace platform;
namespace fs = std::filesystem;

// A device root with the bundle's page lists and `apps` installed apps, of which `customized` are customized.
struct Device {
  Device(int apps, int customized) {
    std::string pattern = (fs::temp_directory_path() / "settings-bench-XXXXXX").string();
    root = ::mkdtemp(pattern.data());
    DevicePaths::setRoot(root);
    bundle = root / "Library/PreferenceBundles/Tessra2Prefs.bundle";
    fs::create_directories(bundle);
    fs::create_directories(root / "var/mobile/Library/Preferences");
    fs::create_directories(root / "var/mobile/Library/tessra");
    for (const auto& entry : fs::directory_iterator(TESSRA_PAGE_LISTS))
      fs::copy_file(entry.path(), bundle / entry.path().filename());
    plist::Array list;
    plist::Dictionary store;
    for (int i = 0; i < apps; ++i) {
      std::string id = "com.example.app" + std::to_string(i);
      list.push_back(plist::Dictionary{{"bundleIdentifier", id},
                                       {"displayName", "App " + std::to_string(apps - i)},
                                       {"type", i % 3 == 0 ? "system" : "user"},
                                       {"icon", "AppIcon60x60"}});
      if (i < customized)
        store.set(id, plist::Dictionary{{"toggles", plist::Dictionary{{"wifi", 1}, {"dnd", 0}}}, {"volume", 0.5}});
    }
    plist::PropertyListFile::write(root / "var/mobile/Library/tessra/apps.plist", list);
    if (!store.empty()) HBPreferences("com.kelvane.tessra2").setObject(store, "customizedApps");
    TessraPrefsClasses::registerAll();
    TessraStorageManagerClass::registerClass();
    previous = Log::setSink([](const std::string&) {});
  }
  ~Device() {
    Log::setSink(previous);
    fs::remove_all(root);
  }
  fs::path root, bundle;
  Log::Sink previous;
};

// Opens page `className` (from a row naming `list`) in a fresh Settings window and builds its visible cells.
void openPage(ManualTaskEnvironment& env, const fs::path& bundle, const std::string& className,
              const std::string& list) {
  auto page = PSListController::createControllerNamed(className);
  page->setBundlePath(bundle);
  if (!list.empty()) {
    auto row = PSSpecifier::preferenceSpecifierNamed(list, nullptr, false, PSCellType::Link);
    row->setProperty(list, "TSSubPrefs");
    page->setSpecifier(row);
  }
  auto window = std::make_shared<UIWindow>(CGRectMake(0, 0, 375, 667));
  auto nav = std::make_shared<UINavigationController>(page);
  window->setRootViewController(nav);
  window->makeKeyAndVisible();
  window->layoutIfNeeded();
  env.runUntilIdle();
  benchmark::DoNotOptimize(page->table()->indexPathsForVisibleRows().size());
  window->setRootViewController(nullptr);
}

void BM_Page(benchmark::State& state, const char* className, const char* list) {
  ManualTaskEnvironment env;
  Device device(0, 0);
  for (auto _ : state) openPage(env, device.bundle, className, list);
}
BENCHMARK_CAPTURE(BM_Page, Root, "TSPrefsListController", "")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Page, OfferedToggles, "TSSubPrefsListController", "OfferedToggles")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Page, OfferedBehaviors, "TSSubPrefsListController", "OfferedBehaviors")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Page, Restore, "TSSubPrefsListController", "Restore")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Page, Behaviors, "TSSubPrefsListController", "Behaviors")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Page, Conditions, "TSSubPrefsListController", "Conditions")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Page, VolumeConfiguration, "TSVolumeConfigurationPrefsListController", "VolumeConfiguration")
    ->Unit(benchmark::kMillisecond);

// The apps page, from its creation until the background load has finished and its table is built.
void BM_AppsPage300Installed50Customized(benchmark::State& state) {
  ManualTaskEnvironment env;
  Device device(300, 50);
  for (auto _ : state) {
    TSAppCollections::reset();
    openPage(env, device.bundle, "TSAppsCustomizationPrefsListController", "");
  }
}
BENCHMARK(BM_AppsPage300Installed50Customized)->Unit(benchmark::kMillisecond);

// One switch flipped on the root page, in this process: the row's write to the domain file (locked, atomic,
// flushed to disk) and its notification to this process's observers, which reload the domain.
void BM_SwitchFlippedInProcess(benchmark::State& state) {
  ManualTaskEnvironment env;
  Device device(0, 0);
  auto page = PSListController::createControllerNamed("TSPrefsListController");
  page->setBundlePath(device.bundle);
  auto window = std::make_shared<UIWindow>(CGRectMake(0, 0, 375, 667));
  auto nav = std::make_shared<UINavigationController>(page);
  window->setRootViewController(nav);
  window->layoutIfNeeded();
  std::shared_ptr<PSSpecifier> row;
  for (const auto& rowSpecifier : page->specifiers())
    if (rowSpecifier->key() == "showVolumeHUD") row = rowSpecifier;
  HBPreferences reader("com.kelvane.tessra2");
  bool on = false;
  for (auto _ : state) {
    page->setPreferenceValue(on, row);
    env.runUntilIdle();
    if (reader.objectForKey("showVolumeHUD").boolValue() != on) state.SkipWithError("the value was not read back");
    on = !on;
  }
  window->setRootViewController(nullptr);
}
BENCHMARK(BM_SwitchFlippedInProcess)->Unit(benchmark::kMillisecond);

}  // namespace
