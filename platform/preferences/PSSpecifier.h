#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/foundation/PropertyList.h"

namespace platform {

class PSListController;

// The cell kinds of the Settings app's rows, with the platform's values (PSCellType).
enum class PSCellType : int {
  Group = 0,
  Link = 1,
  LinkList = 2,
  ListItem = 3,
  TitleValue = 4,
  Slider = 5,
  Switch = 6,
  StaticText = 7,
  EditText = 8,
  Segment = 9,
  GiantIcon = 10,
  Giant = 11,
  SecureEditText = 12,
  Button = 13,
  EditTextView = 14,
};

// One row of a settings page (PSSpecifier): its name (the title), its cell
// kind, the page it belongs to (its target) and a dictionary of properties
// ("key", "default", "PostNotification", the sub-page to open, a button's
// action, a segment's titles and values, ...), as loaded from the page's
// property list or set in code. Rows whose value the page reads and writes go
// through the target's readPreferenceValue / setPreferenceValue. Shared
// between the page's list and its cells; the target is borrowed (a page
// outlives its rows' cells).
class PSSpecifier {
 public:
  PSSpecifier(std::string name, PSCellType cellType) : name_(std::move(name)), cellType_(cellType) {}

  // preferenceSpecifierNamed:target:set:get:detail:cell:edit: — a row made in code.
  static std::shared_ptr<PSSpecifier> preferenceSpecifierNamed(std::string name, PSListController* target,
                                                               bool hasAccessors, PSCellType cellType);
  // A group row (a section header) with an optional footer text.
  static std::shared_ptr<PSSpecifier> groupSpecifierWithName(std::string name, std::string footer = {});
  // The cell kind named in a property list ("PSSwitchCell"), or nothing for an unknown name.
  static std::optional<PSCellType> cellTypeNamed(std::string_view name);

  const std::string& name() const { return name_; }
  void setName(std::string name) { name_ = std::move(name); }
  PSCellType cellType() const { return cellType_; }
  // The row's identifier: its "id" property, else its key, else its name.
  std::string identifier() const;

  // The property under `key`, or null.
  plist::Value propertyForKey(std::string_view key) const;
  void setProperty(plist::Value value, std::string key);
  const plist::Dictionary& properties() const { return properties_; }
  // The "key" property as text, or empty when the row has none (or it is not text).
  std::string key() const;

  PSListController* target() const { return target_; }
  void setTarget(PSListController* target) { target_ = target; }
  // Whether the row's value is read and written through its target.
  bool hasAccessors() const { return hasAccessors_; }
  void setHasAccessors(bool accessors) { hasAccessors_ = accessors; }

 private:
  std::string name_;
  PSCellType cellType_;
  plist::Dictionary properties_;
  PSListController* target_ = nullptr;
  bool hasAccessors_ = false;
};

}  // namespace platform
