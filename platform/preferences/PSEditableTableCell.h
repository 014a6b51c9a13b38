#pragma once

#include <memory>

#include "platform/preferences/PSTableCell.h"

namespace platform {

class UITextField;

// The cell of an editable text row (PSEditableTableCell): the row's name on
// the left and a text field on the right ("placeholder" while empty). The
// text the user enters is handed to the row's target. Owns its text field.
class PSEditableTableCell : public PSTableCell {
 public:
  explicit PSEditableTableCell(std::shared_ptr<PSSpecifier> specifier);

  UITextField* textField() const { return field_.get(); }
  void setValue(const plist::Value& value) override;
  void layoutSubviews() override;

 private:
  std::shared_ptr<UITextField> field_;
};

}  // namespace platform
