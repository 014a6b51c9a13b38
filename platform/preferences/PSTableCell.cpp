#include "platform/preferences/PSTableCell.h"

#include <cmath>
#include <cstdio>

#include "platform/preferences/PSControlTableCell.h"
#include "platform/preferences/PSEditableTableCell.h"
#include "platform/ui/UILabel.h"

namespace platform {

PSTableCell::PSTableCell(UITableViewCellStyle style, std::shared_ptr<PSSpecifier> specifier)
    : UITableViewCell(style, "PSTableCell"), specifier_(std::move(specifier)) {
  textLabel()->setText(specifier_ ? specifier_->name() : std::string());
  if (!specifier_) return;
  switch (specifier_->cellType()) {
    case PSCellType::Link:
    case PSCellType::LinkList: setAccessoryType(UITableViewCellAccessoryType::DisclosureIndicator); break;
    case PSCellType::Button: textLabel()->setTextColor(tintColor()); break;
    default: break;
  }
}

std::shared_ptr<PSTableCell> PSTableCell::cellForSpecifier(const std::shared_ptr<PSSpecifier>& specifier,
                                                           const plist::Value& value) {
  std::shared_ptr<PSTableCell> cell;
  switch (specifier ? specifier->cellType() : PSCellType::StaticText) {
    case PSCellType::Switch:
    case PSCellType::Slider:
    case PSCellType::Segment: cell = std::make_shared<PSControlTableCell>(specifier); break;
    case PSCellType::EditText:
    case PSCellType::SecureEditText: cell = std::make_shared<PSEditableTableCell>(specifier); break;
    case PSCellType::TitleValue:
    case PSCellType::LinkList: cell = std::make_shared<PSTableCell>(UITableViewCellStyle::Value1, specifier); break;
    default: cell = std::make_shared<PSTableCell>(UITableViewCellStyle::Default, specifier); break;
  }
  cell->setValue(value);
  return cell;
}

void PSTableCell::setValue(const plist::Value& value) {
  if (detailTextLabel()) detailTextLabel()->setText(displayText(value));
  setNeedsLayout();
}

std::string PSTableCell::displayText(const plist::Value& value) {
  switch (value.type()) {
    case plist::Type::String: return value.string();
    case plist::Type::Boolean: return value.boolValue() ? "On" : "Off";
    case plist::Type::Integer: return std::to_string(value.integerValue());
    case plist::Type::Real: {
      char text[32];
      std::snprintf(text, sizeof text, "%g", value.doubleValue());
      return text;
    }
    default: return {};
  }
}

void PSTableCell::tintColorDidChange() {
  if (specifier_ && specifier_->cellType() == PSCellType::Button) textLabel()->setTextColor(tintColor());
}

}  // namespace platform
