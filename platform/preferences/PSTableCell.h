#pragma once

#include <memory>

#include "platform/foundation/PropertyList.h"
#include "platform/preferences/PSSpecifier.h"
#include "platform/preferences/UITableViewCell.h"

namespace platform {

// The cell of one settings row (PSTableCell): it shows the row's name and,
// for a title-and-value row, its value; a link row carries a disclosure
// chevron, a button row a tinted title. The factory makes the subclass that a
// row's cell kind needs (controls, editable text). Holds its row strongly.
class PSTableCell : public UITableViewCell {
 public:
  PSTableCell(UITableViewCellStyle style, std::shared_ptr<PSSpecifier> specifier);

  // The cell for `specifier`, of the class and style its kind needs, showing `value`.
  static std::shared_ptr<PSTableCell> cellForSpecifier(const std::shared_ptr<PSSpecifier>& specifier,
                                                       const plist::Value& value);

  const std::shared_ptr<PSSpecifier>& specifier() const { return specifier_; }
  // Shows the row's value (the detail text of a title-and-value row; the control of subclasses).
  virtual void setValue(const plist::Value& value);
  // The value shown as text, as a title-and-value row displays it.
  static std::string displayText(const plist::Value& value);

  void tintColorDidChange() override;

 private:
  std::shared_ptr<PSSpecifier> specifier_;
};

}  // namespace platform
