#include "prefs/TSAppCollections.h"

#include <algorithm>
#include <mutex>

namespace {

std::mutex& collectionsMutex() {
  static std::mutex mutex;
  return mutex;
}

std::shared_ptr<const TSAppCollections::Snapshot>& stored() {
  static auto* snapshot =
      new std::shared_ptr<const TSAppCollections::Snapshot>(std::make_shared<TSAppCollections::Snapshot>());
  return *snapshot;
}

}  // namespace

std::shared_ptr<const TSAppCollections::Snapshot> TSAppCollections::current() {
  std::lock_guard lock(collectionsMutex());
  return stored();
}

void TSAppCollections::setInstalled(AppsById system, AppsById user) {
  auto systemArray = sortedByName(system), userArray = sortedByName(user);
  std::lock_guard lock(collectionsMutex());
  auto next = std::make_shared<Snapshot>(*stored());
  next->installedSystemAppsBundleIdAppDictionary = std::move(system);
  next->installedSystemAppsArray = std::move(systemArray);
  next->installedAppsBundleIdAppDictionary = std::move(user);
  next->installedAppsArray = std::move(userArray);
  stored() = std::move(next);
}

void TSAppCollections::setCustomized(AppsById customized) {
  auto array = sortedByName(customized);
  std::lock_guard lock(collectionsMutex());
  auto next = std::make_shared<Snapshot>(*stored());
  next->customizedAppsBundleIdAppDictionary = std::move(customized);
  next->customizedAppsArray = std::move(array);
  stored() = std::move(next);
}

void TSAppCollections::reset() {
  std::lock_guard lock(collectionsMutex());
  stored() = std::make_shared<Snapshot>();
}

std::vector<TSAppCollections::App> TSAppCollections::sortedByName(const AppsById& apps) {
  std::vector<App> list;
  list.reserve(apps.size());
  for (const auto& [id, app] : apps) list.push_back(app);
  std::stable_sort(list.begin(), list.end(),
                   [](const App& a, const App& b) { return a->localizedName() < b->localizedName(); });
  return list;
}
