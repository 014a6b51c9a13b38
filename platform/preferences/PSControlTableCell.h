#pragma once

#include <memory>

#include "platform/preferences/PSTableCell.h"

namespace platform {

class UIControl;

// The cell of a row that holds a control (PSControlTableCell): a switch, a
// slider ("min", "max") or a segmented control ("validTitles" shown,
// "validValues" stored). When the user changes the control, the new value is
// handed to the row's target (setPreferenceValue). Owns its control.
class PSControlTableCell : public PSTableCell {
 public:
  explicit PSControlTableCell(std::shared_ptr<PSSpecifier> specifier);

  // The row's control (a UISwitch, UISlider or UISegmentedControl).
  UIControl* control() const { return control_.get(); }
  // The value the control shows now, as the row stores it.
  plist::Value controlValue() const;
  // Shows `value` in the control (no action is sent).
  void setValue(const plist::Value& value) override;

  void layoutSubviews() override;

 private:
  void controlChanged();
  std::shared_ptr<UIControl> control_;
};

}  // namespace platform
