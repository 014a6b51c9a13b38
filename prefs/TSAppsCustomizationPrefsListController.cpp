#include "prefs/TSAppsCustomizationPrefsListController.h"

#include <algorithm>
#include <array>
#include <cctype>

#include "platform/foundation/DarwinNotificationCenter.h"
#include "platform/foundation/DeviceInfo.h"
#include "platform/foundation/Dispatch.h"
#include "platform/foundation/DistributedNotificationCenter.h"
#include "platform/foundation/Log.h"
#include "platform/preferences/PSTableCell.h"
#include "platform/preferences/UIBarButtonItem.h"
#include "platform/preferences/UINavigationController.h"
#include "platform/preferences/UINavigationItem.h"
#include "platform/preferences/UITableView.h"
#include "platform/prefs/HBPreferences.h"
#include "platform/ui/UIAlertController.h"
#include "platform/ui/UIImageView.h"
#include "platform/ui/UILabel.h"
#include "prefs/TessraPluginClasses.h"
#include "prefs/TessraPrefsNames.h"

using namespace platform;
using namespace tessra::prefs;

namespace {

constexpr std::array<std::string_view, 39> kBlocked{
    "com.apple.CarPlaySettings",
    "com.apple.FTMInternal",
    "com.apple.Diagnostics",
    "com.apple.iad.iAdOptOut",
    "com.apple.AdPlatformsDiagnostics",
    "com.apple.DemoApp",
    "com.apple.CloudKit.ShareBear",
    "com.apple.mobilesms.compose",
    "com.merovald.cydown",
    "com.apple.AccountAuthenticationDialog",
    "com.apple.ActivityMessagesApp",
    "com.apple.AskPermissionUI",
    "com.apple.icloud.apps.messages.business",
    "com.apple.CTCarrierSpaceAuth",
    "com.apple.ctkui",
    "com.apple.CarPlaySplashScreen",
    "com.apple.CheckerBoard",
    "com.apple.purplebuddy",
    "com.apple.DataActivation",
    "com.apple.carkit.DNDBuddy",
    "com.apple.HealthENLauncher",
    "com.apple.PublicHealthRemoteUI",
    "com.apple.fieldtest",
    "com.apple.FunCamera.ShapesPicker",
    "com.apple.siri.parsec.HashtagImagesApp",
    "com.apple.HealthENBuddy",
    "com.apple.PreBoard",
    "com.apple.shortcuts.runtime",
    "com.apple.RemoteiCloudQuotaUI",
    "com.apple.social.SLYahooAuth",
    "com.apple.ScreenTimeUnlock",
    "com.apple.SleepLockScreen",
    "com.apple.FunCamera.TextPicker",
    "com.apple.TrustMe",
    "com.apple.CoreAuthUI",
    "com.apple.webapp",
    "com.apple.WebContentFilter.remoteUI.WebContentAnalysisUI",
    "com.apple.WebSheet",
    "com.apple.icq",
};

constexpr long kCustomizedSection = 0;
constexpr long kSystemSection = 1;
constexpr long kUserSection = 2;
constexpr double kSummaryHeight = 16;
constexpr double kSummaryStep = 24;
constexpr double kSummaryGap = 8;
constexpr double kSummaryMargin = 100;

std::string lowered(std::string_view text) {
  std::string out(text);
  std::transform(out.begin(), out.end(), out.begin(), [](unsigned char c) { return std::tolower(c); });
  return out;
}

}  // namespace

std::span<const std::string_view> TSAppsCustomizationPrefsListController::blockedBundleIdentifiers() {
  return kBlocked;
}

bool TSAppsCustomizationPrefsListController::isBlackListedBundleId(std::string_view bundleId) {
  if (bundleId.find("com.apple.") != std::string_view::npos) {
    std::string lower = lowered(bundleId);
    if (lower.find("service") != std::string::npos || lower.find("stickers") != std::string::npos) return true;
  }
  return std::find(kBlocked.begin(), kBlocked.end(), bundleId) != kBlocked.end();
}

TSAppCollections::AppsById TSAppsCustomizationPrefsListController::fetchInstalledAppsSystem(LSApplicationType type) {
  TSAppCollections::AppsById apps;
  auto workspace = LSApplicationWorkspace::defaultWorkspace();
  if (!workspace) return apps;
  for (const auto& app : workspace->applicationsOfType(type)) {
    if (!app->isInstalled() || app->localizedName().empty()) continue;
    if (app->primaryIconName().empty() && app->iconsDictionary().isNull()) continue;
    if (isBlackListedBundleId(app->bundleIdentifier())) continue;
    apps[app->bundleIdentifier()] = app;
  }
  return apps;
}

TSAppCollections::AppsById TSAppsCustomizationPrefsListController::fetchAlreadyCustomizedApps() {
  TSAppCollections::AppsById customized;
  plist::Value stored = preferences().objectForKey(kCustomizedAppsKey);
  if (!stored.isDictionary()) return customized;
  auto lists = TSAppCollections::current();
  for (const auto& [bundleId, entry] : stored.dictionary()) {
    if (TessraPluginClasses::getNbCustomizedThingsForBundleId(bundleId) == 0) continue;
    auto found = lists->installedAppsBundleIdAppDictionary.find(bundleId);
    if (found == lists->installedAppsBundleIdAppDictionary.end()) {
      found = lists->installedSystemAppsBundleIdAppDictionary.find(bundleId);
      if (found == lists->installedSystemAppsBundleIdAppDictionary.end()) continue;
    }
    customized[bundleId] = found->second;
  }
  return customized;
}

void TSAppsCustomizationPrefsListController::fetchInstalledApplicationsData() {
  auto system = fetchInstalledAppsSystem(LSApplicationType::System);
  auto user = fetchInstalledAppsSystem(LSApplicationType::User);
  TSAppCollections::setInstalled(std::move(system), std::move(user));
}

void TSAppsCustomizationPrefsListController::fetchAlreadyCustomizedAppsData() {
  TSAppCollections::setCustomized(fetchAlreadyCustomizedApps());
}

bool TSAppsCustomizationPrefsListController::dataIsLoaded() {
  return !TSAppCollections::current()->installedSystemAppsArray.empty();
}

void TSAppsCustomizationPrefsListController::loadData() {
  fetchInstalledApplicationsData();
  TessraPluginClasses::loadPluginLibrary();
}

void TSAppsCustomizationPrefsListController::finishLoading() {
  // The plug-in's store is a main-thread object of this process (the summary strips read it too), so it is
  // read here; the customized list comes after it, so that the first list is already right.
  TessraPluginClasses::loadDictionaryFromStorage();
  fetchAlreadyCustomizedAppsData();
  std::weak_ptr<UIViewController> weak = weak_from_this();
  preferences().registerPreferenceChangeBlock([weak] {
    dispatch_async(dispatch_get_main_queue(), [weak] {
      auto page = std::static_pointer_cast<TSAppsCustomizationPrefsListController>(weak.lock());
      if (!page) return;
      TessraPluginClasses::loadDictionaryFromStorage();
      page->fetchAlreadyCustomizedAppsData();
      page->rebuildRows();
    });
  });
  loaded_ = true;
  rebuildRows();
}

void TSAppsCustomizationPrefsListController::viewDidLoad() {
  TSSubPrefsListController::viewDidLoad();
  auto self = std::static_pointer_cast<TSAppsCustomizationPrefsListController>(shared_from_this());
  dispatch_async(dispatch_get_global_queue(), [self] {
    self->loadData();
    dispatch_async(dispatch_get_main_queue(), [self] { self->finishLoading(); });
  });
  resetButton_ = std::make_shared<UIBarButtonItem>("Reset", UIBarButtonItemStyle::Plain,
                                                   [this](UIBarButtonItem&) { resetAllCustomizedApps(); });
  navigationItem().setRightBarButtonItem(resetButton_);
}

const PSListController::Specifiers& TSAppsCustomizationPrefsListController::specifiers() {
  if (hasCachedSpecifiers()) return storedSpecifiers();
  Specifiers rows;
  shown_ = TSAppCollections::current();
  if (dataIsLoaded()) {
    auto button = [this](const TSAppCollections::App& app) {
      auto row = PSSpecifier::preferenceSpecifierNamed(app->localizedName(), this, false, PSCellType::Button);
      row->setProperty(app->bundleIdentifier(), "bundleId");
      return row;
    };
    rows.push_back(PSSpecifier::groupSpecifierWithName("Customized Apps"));
    if (shown_->customizedAppsArray.empty())
      rows.push_back(
          PSSpecifier::preferenceSpecifierNamed(kNoCustomizedAppsTitle, this, false, PSCellType::TitleValue));
    for (const auto& app : shown_->customizedAppsArray) rows.push_back(button(app));
    rows.push_back(PSSpecifier::groupSpecifierWithName("System Apps"));
    for (const auto& app : shown_->installedSystemAppsArray) rows.push_back(button(app));
    rows.push_back(PSSpecifier::groupSpecifierWithName("App Store Apps"));
    for (const auto& app : shown_->installedAppsArray) rows.push_back(button(app));
  }
  storedSpecifiers() = std::move(rows);
  markSpecifiersCached();
  reloadGroupIndices();
  return storedSpecifiers();
}

void TSAppsCustomizationPrefsListController::rebuildRows() {
  dropCachedSpecifiers();
  setSpecifiers(specifiers());
}

std::vector<TSAppCollections::App> TSAppsCustomizationPrefsListController::sourceArrayForIndexPath(
    NSIndexPath indexPath) const {
  if (!shown_) return {};
  switch (indexPath.section) {
    case kCustomizedSection: return shown_->customizedAppsArray;
    case kSystemSection: return shown_->installedSystemAppsArray;
    case kUserSection: return shown_->installedAppsArray;
    default: return {};
  }
}

std::shared_ptr<UITableViewCell> TSAppsCustomizationPrefsListController::cellForRowAtIndexPath(UITableView& tableView,
                                                                                               NSIndexPath indexPath) {
  auto source = sourceArrayForIndexPath(indexPath);
  if (indexPath.row < 0 || static_cast<size_t>(indexPath.row) >= source.size())
    return TSSubPrefsListController::cellForRowAtIndexPath(tableView, indexPath);
  const auto& app = source[static_cast<size_t>(indexPath.row)];
  auto rowSpecifier = specifierAtIndexPath(indexPath);
  std::string name = rowSpecifier ? rowSpecifier->name() : app->localizedName();
  std::shared_ptr<UITableViewCell> cell;
  if (indexPath.section == kCustomizedSection) {
    cell = std::make_shared<UITableViewCell>(UITableViewCellStyle::Subtitle, kCellReuseIdentifier);
    cell->textLabel()->setText(name);
    cell->detailTextLabel()->setText(" ");
    int64_t things = TessraPluginClasses::getNbCustomizedThingsForBundleId(app->bundleIdentifier());
    double width = std::min(kSummaryStep * static_cast<double>(things) - kSummaryGap,
                            view()->bounds().size.width - kSummaryMargin);
    bool dark = DeviceInfo::current().systemVersionNumber() >= 13.0 && DeviceInfo::current().darkModeEnabled();
    if (auto summary = TessraPluginClasses::summaryView(CGRectMake(0, 0, std::max(0.0, width), kSummaryHeight),
                                                        app->bundleIdentifier(),
                                                        dark ? UIColor::whiteColor() : UIColor::blackColor()))
      cell->detailTextLabel()->addSubview(summary);
  } else {
    cell = std::make_shared<UITableViewCell>(UITableViewCellStyle::Value1, kCellReuseIdentifier);
    cell->textLabel()->setText(name);
    cell->detailTextLabel()->setText("Customize");
    cell->setAccessoryType(UITableViewCellAccessoryType::DisclosureIndicator);
  }
  if (app->respondsToAppIconForTableCell()) cell->imageView()->setImage(app->appIconForTableCell());
  return cell;
}

double TSAppsCustomizationPrefsListController::heightForRowAtIndexPath(UITableView&, NSIndexPath indexPath) {
  if (indexPath.section == kCustomizedSection && shown_ && indexPath.row >= 0 &&
      static_cast<size_t>(indexPath.row) < shown_->customizedAppsArray.size())
    return kCustomizedRowHeight;
  return UITableView::kAutomaticDimension;
}

void TSAppsCustomizationPrefsListController::didSelectRowAtIndexPath(UITableView& tableView, NSIndexPath indexPath) {
  auto source = sourceArrayForIndexPath(indexPath);
  if (indexPath.row >= 0 && static_cast<size_t>(indexPath.row) < source.size()) {
    const std::string& bundleId = source[static_cast<size_t>(indexPath.row)]->bundleIdentifier();
    Log::write("clickedCellBundleId from settings " + bundleId);
    showTessraForBundleIdentifier(bundleId);
  }
  tableView.deselectRowAtIndexPath(indexPath, true);
}

void TSAppsCustomizationPrefsListController::showTessraForBundleIdentifier(const std::string& bundleId) {
  DistributedNotificationCenter::shared().postNotification(kShowInterfaceNotification,
                                                           plist::Dictionary{{kBundleIdKey, bundleId}});
}

void TSAppsCustomizationPrefsListController::resetAllCustomizedApps() {
  std::weak_ptr<UIViewController> weak = weak_from_this();
  presentAlert("Reset all app customizations?",
               "Do you really want to delete all your app customizations?\nIt can NOT be undone.", [weak] {
                 auto self = std::static_pointer_cast<TSAppsCustomizationPrefsListController>(weak.lock());
                 if (!self) return;
                 self->presentAlert(
                     "Are you 100% sure?",
                     "This is your last chance to click Cancel if you don't want your app "
                     "customizations to be reseted.\nRemember that it can NOT be undone.",
                     [weak] {
                       if (auto page = std::static_pointer_cast<TSAppsCustomizationPrefsListController>(weak.lock()))
                         page->eraseAllCustomizations();
                     });
               });
}

void TSAppsCustomizationPrefsListController::presentAlert(const std::string& title, const std::string& message,
                                                          std::function<void()> onReset) {
  auto alert = std::make_shared<UIAlertController>(title, message, UIAlertControllerStyle::Alert);
  alert->addAction(UIAlertAction::actionWithTitle("Reset", UIAlertActionStyle::Destructive,
                                                  [onReset = std::move(onReset)](UIAlertAction&) { onReset(); }));
  alert->addAction(UIAlertAction::actionWithTitle("Cancel", UIAlertActionStyle::Cancel, nullptr));
  UIViewController* presenter = navigationController();
  if (!presenter) presenter = this;
  presenter->presentViewController(alert, true, {});
}

void TSAppsCustomizationPrefsListController::eraseAllCustomizations() {
  preferences().setObject(plist::Dictionary{}, kCustomizedAppsKey);
  DarwinNotificationCenter::shared().postNotification(kClearCacheNotification);
}
