#include "tools/Preferences/PreferencesRootPage.h"

#include "platform/foundation/Log.h"
#include "platform/preferences/UITableView.h"

namespace tessra::preferences {

using namespace platform;

PreferencesRootPage::PreferencesRootPage(std::vector<BundleRow> bundleRows) : bundleRows_(std::move(bundleRows)) {
  setTitle("Settings");
}

const PSListController::Specifiers& PreferencesRootPage::specifiers() {
  if (!hasCachedSpecifiers()) {
    Specifiers rows;
    rows.push_back(PSSpecifier::groupSpecifierWithName(""));
    for (const char* title : {"General", "Display & Brightness", "Sounds & Haptics", "Privacy"})
      rows.push_back(PSSpecifier::preferenceSpecifierNamed(title, this, false, PSCellType::Link));
    rows.push_back(PSSpecifier::groupSpecifierWithName(""));
    for (const auto& bundle : bundleRows_) {
      auto row = PSSpecifier::preferenceSpecifierNamed(bundle.title, this, false, PSCellType::Link);
      row->setProperty(bundle.principalClass, "detail");
      row->setProperty(bundle.bundlePath.string(), "bundlePath");
      rows.push_back(std::move(row));
    }
    storedSpecifiers() = std::move(rows);
    markSpecifiersCached();
    reloadGroupIndices();
  }
  return storedSpecifiers();
}

void PreferencesRootPage::didSelectRowAtIndexPath(UITableView& tableView, NSIndexPath indexPath) {
  auto rowSpecifier = specifierAtIndexPath(indexPath);
  tableView.deselectRowAtIndexPath(indexPath, true);
  if (!rowSpecifier) return;
  plist::Value detail = rowSpecifier->propertyForKey("detail");
  if (!detail.isString()) return;  // a system page: not part of this device
  auto page = createControllerNamed(detail.string());
  if (!page) {
    Log::write("Preferences: the bundle's page class " + detail.string() + " is not loaded");
    return;
  }
  page->setBundlePath(rowSpecifier->propertyForKey("bundlePath").string());
  page->setSpecifier(rowSpecifier);
  pushController(std::move(page));
}

}  // namespace tessra::preferences
