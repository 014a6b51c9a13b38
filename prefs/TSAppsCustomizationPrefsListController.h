#pragma once

#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/preferences/LSApplicationWorkspace.h"
#include "prefs/TSAppCollections.h"
#include "prefs/TSSubPrefsListController.h"

namespace platform {
class UIBarButtonItem;
}

// The page that lists the installed apps in three sections: the apps that
// already have a customization (with the plug-in's summary strip), the system
// apps and the App Store apps, leaving out blocked identifiers. Tapping an app
// asks the plug-in in the home screen to open its panel; "Reset" in the bar
// deletes every customization after two confirmations. The lists are loaded
// on a background queue and kept process-wide (TSAppCollections); what reads
// the plug-in's store (a main-thread object) runs on the main thread. The
// page rebuilds its rows whenever the domain changes. The rows are built in code.
class TSAppsCustomizationPrefsListController : public TSSubPrefsListController {
 public:
  static constexpr double kCustomizedRowHeight = 65;
  static constexpr const char* kCellReuseIdentifier = "Cell";
  static constexpr const char* kNoCustomizedAppsTitle = "No customized apps yet...";

  // The 39 identifiers hidden from every list, exactly as matched.
  static std::span<const std::string_view> blockedBundleIdentifiers();
  // Whether an app is hidden: a "com.apple." identifier naming a service or stickers (any case), or one of the list.
  static bool isBlackListedBundleId(std::string_view bundleId);
  // The listable apps of one kind, by bundle identifier.
  static TSAppCollections::AppsById fetchInstalledAppsSystem(platform::LSApplicationType type);
  // The customized listable apps (per the plug-in's count), by bundle identifier.
  TSAppCollections::AppsById fetchAlreadyCustomizedApps();
  // Refreshes the installed / customized collections.
  static void fetchInstalledApplicationsData();
  void fetchAlreadyCustomizedAppsData();
  // Whether the system-app list is not empty.
  static bool dataIsLoaded();
  // Fetches the installed apps and loads the plug-in library. Off the main thread.
  void loadData();
  // Has the plug-in's store read the domain, fetches the customized apps, binds the page to the domain's
  // changes and builds the rows. Main thread, after loadData.
  void finishLoading();

  void viewDidLoad() override;
  const Specifiers& specifiers() override;
  // The apps of the row's section as the rows were built (empty for another section).
  std::vector<TSAppCollections::App> sourceArrayForIndexPath(platform::NSIndexPath indexPath) const;

  std::shared_ptr<platform::UITableViewCell> cellForRowAtIndexPath(platform::UITableView& tableView,
                                                                   platform::NSIndexPath indexPath) override;
  double heightForRowAtIndexPath(platform::UITableView& tableView, platform::NSIndexPath indexPath) override;
  void didSelectRowAtIndexPath(platform::UITableView& tableView, platform::NSIndexPath indexPath) override;

  // Asks the plug-in (in the home screen) to open its panel for the app.
  void showTessraForBundleIdentifier(const std::string& bundleId);
  // The "Reset" button's action: two confirmations, then every customization is deleted.
  void resetAllCustomizedApps();

  const std::shared_ptr<platform::UIBarButtonItem>& resetButton() const { return resetButton_; }
  // Whether loadData has finished at least once for this page.
  bool hasLoaded() const { return loaded_; }

 private:
  // Drops the rows, builds them again from the collections and reloads the table (main thread).
  void rebuildRows();
  void presentAlert(const std::string& title, const std::string& message, std::function<void()> onReset);
  void eraseAllCustomizations();

  std::shared_ptr<const TSAppCollections::Snapshot> shown_;
  std::shared_ptr<platform::UIBarButtonItem> resetButton_;
  bool loaded_ = false;
};
