#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "platform/foundation/DarwinNotificationCenter.h"
#include "platform/foundation/DevicePaths.h"
#include "platform/foundation/DistributedNotificationCenter.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/ManualTaskEnvironment.h"
#include "platform/foundation/PropertyListFile.h"
#include "platform/preferences/PSControlTableCell.h"
#include "platform/preferences/UINavigationController.h"
#include "platform/preferences/UITableView.h"
#include "platform/prefs/HBPreferences.h"
#include "platform/ui/UIWindow.h"
#include "prefs/TSAppCollections.h"
#include "prefs/TessraPrefsClasses.h"
#include "prefs/zTSBasePreferences.h"
#include "tweak/store/TessraStorageManagerClass.h"

namespace tessra::prefs::testing {

// A Settings app in the test process: a fresh device root with the bundle's
// page lists, the manual clock, a window with a navigation stack, the log and
// the notifications posted captured.
class SettingsPagesTest : public ::testing::Test {
 protected:
  static constexpr const char* kDomain = "com.kelvane.tessra2";

  void SetUp() override {
    char pattern[] = "/tmp/settings-pages-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    root_ = pattern;
    platform::DevicePaths::setRoot(root_);
    bundle_ = root_ / "Library/PreferenceBundles/Tessra2Prefs.bundle";
    std::filesystem::create_directories(bundle_);
    std::filesystem::create_directories(root_ / "var/mobile/Library/Preferences");
    for (const auto& entry : std::filesystem::directory_iterator(TESSRA_PAGE_LISTS))
      std::filesystem::copy_file(entry.path(), bundle_ / entry.path().filename());
    previousSink_ = platform::Log::setSink([this](const std::string& line) { log_.push_back(line); });
    darwinToken_ = platform::DarwinNotificationCenter::shared().addObserver(
        "com.kelvane.tessra2/ReloadPrefs", [this](const std::string& name) { darwin_.push_back(name); });
    clearToken_ = platform::DarwinNotificationCenter::shared().addObserver(
        "com.kelvane.tessra2/ClearAppCustomizationCache", [this](const std::string& name) { darwin_.push_back(name); });
    showToken_ = platform::DistributedNotificationCenter::shared().addObserver(
        "tessra2.showTessraInterfaceWithBundleId", [this](const std::string&, const platform::plist::Value& info) {
          shown_.push_back(info["bundleId"].string());
        });
    TessraPrefsClasses::registerAll();
    TessraStorageManagerClass::registerClass();
    TSAppCollections::reset();
  }

  void TearDown() override {
    if (nav_) window_->setRootViewController(nullptr);
    nav_.reset();
    env_.runUntilIdle();
    platform::DarwinNotificationCenter::shared().removeObserver(darwinToken_);
    platform::DarwinNotificationCenter::shared().removeObserver(clearToken_);
    platform::DistributedNotificationCenter::shared().removeObserver(showToken_);
    platform::Log::setSink(previousSink_);
    std::filesystem::remove_all(root_);
  }

  // Opens the page class `name` as the first page of the Settings app's stack.
  template <class T = zTSBasePreferences>
  std::shared_ptr<T> open(const std::string& className) {
    auto page = platform::PSListController::createControllerNamed(className);
    page->setBundlePath(bundle_);
    nav_ = std::make_shared<platform::UINavigationController>(page);
    window_->setRootViewController(nav_);
    window_->makeKeyAndVisible();
    window_->layoutIfNeeded();
    env_.runUntilIdle();
    return std::dynamic_pointer_cast<T>(page);
  }
  // The page on top of the stack.
  template <class T = zTSBasePreferences>
  T* top() const {
    return dynamic_cast<T*>(nav_->topViewController());
  }
  // The row titled `title` on the top page (scrolled on screen), or nothing.
  std::optional<platform::NSIndexPath> rowTitled(const std::string& title) const {
    auto* page = top<platform::PSListController>();
    for (const auto& rowSpecifier : page->specifiers()) {
      if (!rowSpecifier || rowSpecifier->name() != title || rowSpecifier->cellType() == platform::PSCellType::Group)
        continue;
      if (auto path = page->indexPathForSpecifier(*rowSpecifier)) {
        page->table()->scrollToRowAtIndexPath(*path);
        return path;
      }
    }
    return std::nullopt;
  }
  platform::UITableViewCell* cellTitled(const std::string& title) const {
    auto path = rowTitled(title);
    return path ? top<platform::PSListController>()->table()->cellForRowAtIndexPath(*path) : nullptr;
  }
  platform::PSControlTableCell* controlCellTitled(const std::string& title) const {
    return dynamic_cast<platform::PSControlTableCell*>(cellTitled(title));
  }
  void tap(const std::string& title) {
    auto path = rowTitled(title);
    ASSERT_TRUE(path) << title;
    top<platform::PSListController>()->table()->selectRowAsUser(*path);
    window_->layoutIfNeeded();
    env_.runUntilIdle();
  }
  platform::plist::Value stored(const std::string& key) const {
    auto read = platform::plist::PropertyListFile::read(platform::DevicePaths::preferencesFile(kDomain));
    return read.ok() ? read.value[key] : platform::plist::Value();
  }
  void writeApps(const platform::plist::Value& apps) const {
    std::filesystem::create_directories(root_ / "var/mobile/Library/tessra");
    ASSERT_TRUE(platform::plist::PropertyListFile::write(root_ / "var/mobile/Library/tessra/apps.plist", apps));
  }
  size_t logLinesContaining(const std::string& text) const {
    size_t n = 0;
    for (const auto& line : log_)
      if (line.find(text) != std::string::npos) ++n;
    return n;
  }

  platform::ManualTaskEnvironment env_;
  std::filesystem::path root_;
  std::filesystem::path bundle_;
  std::shared_ptr<platform::UIWindow> window_ =
      std::make_shared<platform::UIWindow>(platform::CGRectMake(0, 0, 375, 667));
  std::shared_ptr<platform::UINavigationController> nav_;
  std::vector<std::string> log_;
  std::vector<std::string> darwin_;
  std::vector<std::string> shown_;
  platform::Log::Sink previousSink_;
  uint64_t darwinToken_ = 0, clearToken_ = 0, showToken_ = 0;
};

}  // namespace tessra::prefs::testing
