#pragma once

#include "prefs/TSSubPrefsListController.h"

// The volume sub-page: the "only while media plays" row is usable only while
// the volume confirmation is on.
class TSVolumeConfigurationPrefsListController : public TSSubPrefsListController {
 public:
  void enableDisableCellIfNeededForKey(const std::string& key, const platform::plist::Value& value) override;
};
