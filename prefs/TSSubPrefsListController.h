#pragma once

#include "prefs/zTSBasePreferences.h"

// A sub-page of the settings bundle whose rows come from the property list
// that its opening row names ("TSSubPrefs"), and whose title is that row's
// name. A row without "TSSubPrefs" leaves the rows as they were.
class TSSubPrefsListController : public zTSBasePreferences {
 public:
  // Takes rows and title from `specifier` first, then the base reads its "AdaptiveIconColors".
  void setSpecifier(std::shared_ptr<platform::PSSpecifier> specifier) override;
  // Reads the rows again from the opening row's property list.
  void reloadSpecifiers() override;
  // Rows from the row's "TSSubPrefs" list (when it has one); title from its name.
  void loadFromSpecifier(const std::shared_ptr<platform::PSSpecifier>& specifier);
};
