#include "platform/preferences/PSListController.h"

#include <map>
#include <mutex>

#include "platform/foundation/Log.h"
#include "platform/foundation/PropertyListFile.h"
#include "platform/preferences/PSTableCell.h"
#include "platform/preferences/UINavigationController.h"
#include "platform/preferences/UITableView.h"
#include "platform/prefs/HBPreferences.h"

namespace platform {

namespace {

std::map<std::string, PSListController::Factory, std::less<>>& controllerClasses() {
  static auto* classes = new std::map<std::string, PSListController::Factory, std::less<>>();
  return *classes;
}
std::mutex& controllerClassesMutex() {
  static std::mutex mutex;
  return mutex;
}

// Whether a row of this kind carries a value read and written through its page.
bool carriesValue(PSCellType type) {
  switch (type) {
    case PSCellType::Switch:
    case PSCellType::Slider:
    case PSCellType::Segment:
    case PSCellType::EditText:
    case PSCellType::SecureEditText:
    case PSCellType::TitleValue:
    case PSCellType::LinkList: return true;
    default: return false;
  }
}

}  // namespace

PSListController::PSListController() = default;
PSListController::~PSListController() {
  if (table_) table_->setDataSource(nullptr);
  UINavigationController::forgetPage(this);
}

void PSListController::registerControllerClass(std::string name, Factory factory) {
  std::lock_guard lock(controllerClassesMutex());
  controllerClasses()[std::move(name)] = std::move(factory);
}

std::shared_ptr<PSListController> PSListController::createControllerNamed(std::string_view name) {
  Factory factory;
  {
    std::lock_guard lock(controllerClassesMutex());
    auto it = controllerClasses().find(name);
    if (it == controllerClasses().end()) return nullptr;
    factory = it->second;
  }
  return factory ? factory() : nullptr;
}

PSListController::Specifiers PSListController::loadSpecifiersFromPlistName(const std::string& name,
                                                                           PSListController* target,
                                                                           std::string* title) const {
  Specifiers rows;
  if (name.empty() || name.find('/') != std::string::npos || name == "." || name == "..") {
    Log::write("PSListController: refusing the page list name '" + name + "'");
    return rows;
  }
  std::filesystem::path file = bundlePath_ / (name + ".plist");
  auto read = plist::PropertyListFile::read(file);
  if (!read.ok()) {
    Log::write("PSListController: cannot load the page " + file.string() + ": " + read.message);
    return rows;
  }
  const plist::Value* loaded = &read.value;
  if (!loaded->isDictionary()) {
    Log::write("PSListController: the page " + file.string() + " is not a dictionary");
    return rows;
  }
  if (title)
    if (auto t = (*loaded)["title"]; t.isString()) *title = t.string();
  plist::Value items = (*loaded)["items"];
  if (!items.isArray()) {
    Log::write("PSListController: the page " + file.string() + " has no \"items\" list");
    return rows;
  }
  size_t index = 0;
  for (const auto& item : items.array()) {
    ++index;
    if (!item.isDictionary()) {
      Log::write("PSListController: " + file.string() + ": row " + std::to_string(index) +
                 " is not a dictionary; skipped");
      continue;
    }
    plist::Value cell = item["cell"];
    auto type = cell.isString() ? PSSpecifier::cellTypeNamed(cell.string()) : std::nullopt;
    if (!type) {
      Log::write("PSListController: " + file.string() + ": row " + std::to_string(index) +
                 " has an unknown cell kind " + cell.describe() + "; skipped");
      continue;
    }
    plist::Value label = item["label"];
    auto rowSpecifier = PSSpecifier::preferenceSpecifierNamed(label.isString() ? label.string() : std::string(), target,
                                                              carriesValue(*type), *type);
    for (const auto& [key, value] : item.dictionary()) rowSpecifier->setProperty(value, key);
    rows.push_back(std::move(rowSpecifier));
  }
  return rows;
}

const PSListController::Specifiers& PSListController::specifiers() {
  cached_ = true;
  return specifiers_;
}

void PSListController::setSpecifiers(Specifiers specifiers) {
  specifiers_ = std::move(specifiers);
  cached_ = true;
  reloadGroupIndices();
  if (table_) table_->reloadData();
}

void PSListController::reloadSpecifiers() {
  dropCachedSpecifiers();
  specifiers();
  reloadGroupIndices();
  if (table_) table_->reloadData();
}

void PSListController::dropCachedSpecifiers() { cached_ = false; }

void PSListController::reloadGroupIndices() {
  sections_.clear();
  for (size_t i = 0; i < specifiers_.size(); ++i) {
    const auto& rowSpecifier = specifiers_[i];
    if (!rowSpecifier) continue;
    if (rowSpecifier->cellType() == PSCellType::Group) {
      sections_.push_back({rowSpecifier, {}});
      continue;
    }
    if (sections_.empty()) sections_.push_back({nullptr, {}});
    sections_.back().rows.push_back(i);
  }
}

void PSListController::setSpecifier(std::shared_ptr<PSSpecifier> specifier) { specifier_ = std::move(specifier); }

UITableView* PSListController::table() {
  view();
  return table_.get();
}

UINavigationItem& PSListController::navigationItem() { return UINavigationController::navigationItemOf(*this); }

UINavigationController* PSListController::navigationController() const {
  return UINavigationController::navigationControllerOf(*this);
}

void PSListController::pushController(std::shared_ptr<PSListController> page) {
  if (!page) return;
  if (page->bundlePath().empty()) page->setBundlePath(bundlePath_);
  if (auto* nav = navigationController()) nav->pushViewController(std::move(page), true);
}

plist::Value PSListController::readPreferenceValue(const std::shared_ptr<PSSpecifier>& specifier) {
  if (!specifier) return {};
  plist::Value domain = specifier->propertyForKey("defaults");
  std::string key = specifier->key();
  if (domain.isString() && !domain.string().empty() && !key.empty()) {
    HBPreferences prefs(domain.string());
    if (auto stored = prefs.objectForKey(key); !stored.isNull()) return stored;
  }
  return specifier->propertyForKey("default");
}

void PSListController::setPreferenceValue(plist::Value value, const std::shared_ptr<PSSpecifier>& specifier) {
  if (!specifier) return;
  plist::Value domain = specifier->propertyForKey("defaults");
  std::string key = specifier->key();
  if (domain.isString() && !domain.string().empty() && !key.empty()) {
    HBPreferences prefs(domain.string());
    prefs.setObject(std::move(value), key);
  }
}

void PSListController::performButtonAction(const std::string& action, const std::shared_ptr<PSSpecifier>&) {
  Log::write("PSListController: no action named '" + action + "' on this page");
}

std::optional<NSIndexPath> PSListController::indexPathForSpecifier(const PSSpecifier& specifier) const {
  for (size_t s = 0; s < sections_.size(); ++s)
    for (size_t r = 0; r < sections_[s].rows.size(); ++r)
      if (specifiers_[sections_[s].rows[r]].get() == &specifier)
        return NSIndexPath{static_cast<long>(s), static_cast<long>(r)};
  return std::nullopt;
}

std::shared_ptr<PSSpecifier> PSListController::specifierAtIndexPath(NSIndexPath path) const {
  if (path.section < 0 || static_cast<size_t>(path.section) >= sections_.size()) return nullptr;
  const auto& rows = sections_[static_cast<size_t>(path.section)].rows;
  if (path.row < 0 || static_cast<size_t>(path.row) >= rows.size()) return nullptr;
  return specifiers_[rows[static_cast<size_t>(path.row)]];
}

std::shared_ptr<PSSpecifier> PSListController::groupSpecifierOfSection(long section) const {
  if (section < 0 || static_cast<size_t>(section) >= sections_.size()) return nullptr;
  return sections_[static_cast<size_t>(section)].group;
}

void PSListController::loadView() {
  table_ = std::make_shared<UITableView>(CGRectMake(0, 0, 375, 667));
  table_->setContentInset(UIEdgeInsetsMake(UINavigationController::barHeight(), 0, 0, 0));
  table_->setContentOffset(CGPointMake(0, -UINavigationController::barHeight()));
  setView(table_);
  specifiers();
  reloadGroupIndices();
  table_->setDataSource(this);
}

long PSListController::numberOfSectionsInTableView(UITableView&) { return static_cast<long>(sections_.size()); }

long PSListController::numberOfRowsInSection(UITableView&, long section) {
  if (section < 0 || static_cast<size_t>(section) >= sections_.size()) return 0;
  return static_cast<long>(sections_[static_cast<size_t>(section)].rows.size());
}

std::shared_ptr<UITableViewCell> PSListController::cellForRowAtIndexPath(UITableView&, NSIndexPath indexPath) {
  auto rowSpecifier = specifierAtIndexPath(indexPath);
  if (!rowSpecifier) return nullptr;
  plist::Value value =
      rowSpecifier->hasAccessors() ? readPreferenceValue(rowSpecifier) : rowSpecifier->propertyForKey("value");
  return PSTableCell::cellForSpecifier(rowSpecifier, value);
}

std::string PSListController::titleForHeaderInSection(UITableView&, long section) {
  auto group = groupSpecifierOfSection(section);
  return group ? group->name() : std::string();
}

std::string PSListController::titleForFooterInSection(UITableView&, long section) {
  auto group = groupSpecifierOfSection(section);
  if (!group) return {};
  plist::Value footer = group->propertyForKey("footerText");
  return footer.isString() ? footer.string() : std::string();
}

void PSListController::didSelectRowAtIndexPath(UITableView& tableView, NSIndexPath indexPath) {
  auto rowSpecifier = specifierAtIndexPath(indexPath);
  tableView.deselectRowAtIndexPath(indexPath, true);
  if (!rowSpecifier) return;
  if (rowSpecifier->cellType() == PSCellType::Link || rowSpecifier->cellType() == PSCellType::LinkList) {
    plist::Value detail = rowSpecifier->propertyForKey("detail");
    auto page = detail.isString() ? createControllerNamed(detail.string()) : nullptr;
    if (!page) {
      Log::write("PSListController: no page class " + detail.describe() + " for the row \"" + rowSpecifier->name() +
                 "\"");
      return;
    }
    page->setBundlePath(bundlePath_);
    page->setSpecifier(rowSpecifier);
    pushController(std::move(page));
  } else if (rowSpecifier->cellType() == PSCellType::Button) {
    plist::Value action = rowSpecifier->propertyForKey("action");
    if (action.isString()) performButtonAction(action.string(), rowSpecifier);
  }
}

}  // namespace platform
