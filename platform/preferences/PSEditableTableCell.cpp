#include "platform/preferences/PSEditableTableCell.h"

#include "platform/preferences/PSListController.h"
#include "platform/preferences/UITextField.h"

namespace platform {

PSEditableTableCell::PSEditableTableCell(std::shared_ptr<PSSpecifier> specifier)
    : PSTableCell(UITableViewCellStyle::Default, std::move(specifier)) {
  field_ = std::make_shared<UITextField>(CGRectMake(0, 0, 160, 30));
  if (auto placeholder = this->specifier()->propertyForKey("placeholder"); placeholder.isString())
    field_->setPlaceholder(placeholder.string());
  field_->addTarget(
      this,
      [this](UIControl&) {
        const auto& rowSpecifier = this->specifier();
        if (rowSpecifier->target() && rowSpecifier->hasAccessors())
          rowSpecifier->target()->setPreferenceValue(field_->text(), rowSpecifier);
      },
      UIControlEvents::ValueChanged);
  setAccessoryView(field_);
}

void PSEditableTableCell::setValue(const plist::Value& value) { field_->setText(PSTableCell::displayText(value)); }

void PSEditableTableCell::layoutSubviews() {
  field_->setFrame(CGRectMake(0, 0, bounds().size.width * 0.5, 30));
  PSTableCell::layoutSubviews();
}

}  // namespace platform
