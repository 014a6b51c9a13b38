#pragma once

#include "platform/preferences/PSListController.h"

namespace tessra::preferences {

// The Settings app's own first page: a few system rows and one row per
// installed settings bundle ("Tessra 2", which opens the bundle's principal
// page class). Built in code.
class PreferencesRootPage : public platform::PSListController {
 public:
  // `bundleRows`: (title, principal class, bundle folder) of each loaded settings bundle.
  struct BundleRow {
    std::string title;
    std::string principalClass;
    std::filesystem::path bundlePath;
  };
  explicit PreferencesRootPage(std::vector<BundleRow> bundleRows);

  const Specifiers& specifiers() override;
  void didSelectRowAtIndexPath(platform::UITableView& tableView, platform::NSIndexPath indexPath) override;

 private:
  std::vector<BundleRow> bundleRows_;
};

}  // namespace tessra::preferences
