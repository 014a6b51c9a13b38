#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/preferences/LSApplicationProxy.h"

// The apps page's six process-wide collections: the listable system apps,
// App Store apps and customized apps, each by bundle identifier and as a list
// sorted by name. They outlive the page (a page opened again starts from the
// last lists) and are replaced, never merged. Writers (the background load,
// the change block) publish a new immutable snapshot under a lock; readers on
// the main thread take the current snapshot, which never changes under them.
class TSAppCollections {
 public:
  using App = std::shared_ptr<platform::LSApplicationProxy>;
  using AppsById = std::map<std::string, App>;

  struct Snapshot {
    AppsById installedSystemAppsBundleIdAppDictionary;
    std::vector<App> installedSystemAppsArray;
    AppsById installedAppsBundleIdAppDictionary;
    std::vector<App> installedAppsArray;
    AppsById customizedAppsBundleIdAppDictionary;
    std::vector<App> customizedAppsArray;
  };

  // The collections as they are now (never null).
  static std::shared_ptr<const Snapshot> current();
  // Replaces the installed collections, keeping the customized ones.
  static void setInstalled(AppsById system, AppsById user);
  // Replaces the customized collections, keeping the installed ones.
  static void setCustomized(AppsById customized);
  // Forgets everything (a fresh process, for tests).
  static void reset();

  // `apps` sorted by localized name: plain byte order, so upper-case letters come before lower-case.
  static std::vector<App> sortedByName(const AppsById& apps);
};
