#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/foundation/PropertyList.h"
#include "platform/preferences/PSSpecifier.h"
#include "platform/preferences/UITableViewDataSource.h"
#include "platform/ui/UIViewController.h"

namespace platform {

class UINavigationController;
class UINavigationItem;
class UITableView;

// A settings page (PSListController): an ordered list of rows (specifiers)
// shown in a grouped table, each group row opening a section. The page reads
// a row's value through readPreferenceValue and stores a user's change through
// setPreferenceValue; tapping a link row pushes the page class its "detail"
// property names (classes are registered by name, as a bundle's classes are
// when it is loaded), a button row runs its "action". Rows usually come from
// a property list of the page's bundle. Owns its rows and table; lives on a
// navigation stack. Main thread only.
class PSListController : public UIViewController, public UITableViewDataSource {
 public:
  using Specifiers = std::vector<std::shared_ptr<PSSpecifier>>;
  using Factory = std::function<std::shared_ptr<PSListController>()>;

  PSListController();
  ~PSListController() override;

  // Makes the page class `name` available to link rows (a later registration replaces an earlier one).
  static void registerControllerClass(std::string name, Factory factory);
  // A new page of the class `name`, or null when no such class is registered.
  static std::shared_ptr<PSListController> createControllerNamed(std::string_view name);

  // The bundle folder whose property lists the page loads (pushed pages inherit it).
  const std::filesystem::path& bundlePath() const { return bundlePath_; }
  void setBundlePath(std::filesystem::path path) { bundlePath_ = std::move(path); }
  // The rows of the bundle's property list `name` ("Prefs" reads Prefs.plist), with `target` as their
  // target; the list's "title" goes to `title` when given. A missing or malformed file, or a bad row,
  // is logged and skipped: the answer holds what could be read.
  Specifiers loadSpecifiersFromPlistName(const std::string& name, PSListController* target,
                                         std::string* title = nullptr) const;

  // The page's rows (subclasses build them on first use and cache them).
  virtual const Specifiers& specifiers();
  // Replaces the rows and reloads the table.
  void setSpecifiers(Specifiers specifiers);
  // Builds the rows again (specifiers() after dropping the cached ones) and reloads the table.
  virtual void reloadSpecifiers();
  // Whether rows are cached (subclasses' specifiers() build them when not).
  bool hasCachedSpecifiers() const { return cached_; }
  // Drops the cached rows without reloading.
  void dropCachedSpecifiers();
  // Recomputes which rows belong to which section from the current rows.
  void reloadGroupIndices();

  // The row that opened the page.
  const std::shared_ptr<PSSpecifier>& specifier() const { return specifier_; }
  virtual void setSpecifier(std::shared_ptr<PSSpecifier> specifier);

  // The page's table (loads the view).
  UITableView* table();
  // The page's navigation item and the navigation controller that shows it (null when none).
  UINavigationItem& navigationItem();
  UINavigationController* navigationController() const;
  // Pushes `page` on this page's navigation stack (it inherits the bundle).
  void pushController(std::shared_ptr<PSListController> page);

  // The value a row shows: from the domain of its "defaults" property if any, else its "default".
  virtual plist::Value readPreferenceValue(const std::shared_ptr<PSSpecifier>& specifier);
  // Stores a user's change: into the domain of the row's "defaults" property when it has one.
  virtual void setPreferenceValue(plist::Value value, const std::shared_ptr<PSSpecifier>& specifier);
  // Runs a button row's "action" (by name); the base knows none and logs it.
  virtual void performButtonAction(const std::string& action, const std::shared_ptr<PSSpecifier>& specifier);
  // Whether the rows are built again when the Settings app comes back to the front.
  virtual bool shouldReloadSpecifiersOnResume() { return true; }

  // Where a row is in the table, or nothing when it is not a shown row.
  std::optional<NSIndexPath> indexPathForSpecifier(const PSSpecifier& specifier) const;
  // The row at a table position, or null.
  std::shared_ptr<PSSpecifier> specifierAtIndexPath(NSIndexPath path) const;
  // The group row of a section (null for rows before the first group row).
  std::shared_ptr<PSSpecifier> groupSpecifierOfSection(long section) const;

  // UIViewController.
  void loadView() override;
  // UITableViewDataSource.
  long numberOfSectionsInTableView(UITableView& tableView) override;
  long numberOfRowsInSection(UITableView& tableView, long section) override;
  std::shared_ptr<UITableViewCell> cellForRowAtIndexPath(UITableView& tableView, NSIndexPath indexPath) override;
  std::string titleForHeaderInSection(UITableView& tableView, long section) override;
  std::string titleForFooterInSection(UITableView& tableView, long section) override;
  void didSelectRowAtIndexPath(UITableView& tableView, NSIndexPath indexPath) override;

 protected:
  // The rows as they are (for subclasses' specifiers()).
  Specifiers& storedSpecifiers() { return specifiers_; }
  void markSpecifiersCached() { cached_ = true; }

 private:
  struct Section {
    std::shared_ptr<PSSpecifier> group;
    std::vector<size_t> rows;  // indices into specifiers_
  };
  std::filesystem::path bundlePath_;
  Specifiers specifiers_;
  bool cached_ = false;
  std::vector<Section> sections_;
  std::shared_ptr<PSSpecifier> specifier_;
  std::shared_ptr<UITableView> table_;
};

}  // namespace platform
