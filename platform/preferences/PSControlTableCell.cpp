#include "platform/preferences/PSControlTableCell.h"

#include "platform/preferences/PSListController.h"
#include "platform/preferences/UISegmentedControl.h"
#include "platform/preferences/UISlider.h"
#include "platform/preferences/UISwitch.h"

namespace platform {

namespace {

std::vector<std::string> segmentTitles(const PSSpecifier& rowSpecifier) {
  std::vector<std::string> titles;
  plist::Value list = rowSpecifier.propertyForKey("validTitles");
  for (const auto& title : list.array()) titles.push_back(title.isString() ? title.string() : title.describe());
  return titles;
}

}  // namespace

PSControlTableCell::PSControlTableCell(std::shared_ptr<PSSpecifier> specifier)
    : PSTableCell(UITableViewCellStyle::Default, std::move(specifier)) {
  const PSSpecifier& rowSpecifier = *this->specifier();
  switch (rowSpecifier.cellType()) {
    case PSCellType::Switch: control_ = std::make_shared<UISwitch>(); break;
    case PSCellType::Slider: {
      auto slider = std::make_shared<UISlider>(CGRectMake(0, 0, 150, 31));
      plist::Value min = rowSpecifier.propertyForKey("min"), max = rowSpecifier.propertyForKey("max");
      slider->setRange(min.isNumber() ? min.doubleValue() : 0, max.isNumber() ? max.doubleValue() : 1);
      control_ = slider;
      break;
    }
    default: control_ = std::make_shared<UISegmentedControl>(segmentTitles(rowSpecifier)); break;
  }
  control_->addTarget(
      this, [this](UIControl&) { controlChanged(); }, UIControlEvents::ValueChanged);
  setAccessoryView(control_);
}

plist::Value PSControlTableCell::controlValue() const {
  if (auto* sw = dynamic_cast<UISwitch*>(control_.get())) return sw->isOn();
  if (auto* slider = dynamic_cast<UISlider*>(control_.get())) return slider->value();
  auto* segments = static_cast<UISegmentedControl*>(control_.get());
  long index = segments->selectedSegmentIndex();
  const plist::Array& values = specifier()->propertyForKey("validValues").array();
  if (index < 0 || static_cast<size_t>(index) >= values.size()) return {};
  return values[static_cast<size_t>(index)];
}

void PSControlTableCell::setValue(const plist::Value& value) {
  if (auto* sw = dynamic_cast<UISwitch*>(control_.get())) {
    sw->setOn(value.boolValue());
  } else if (auto* slider = dynamic_cast<UISlider*>(control_.get())) {
    if (value.isNumber()) slider->setValue(value.doubleValue());
  } else if (auto* segments = dynamic_cast<UISegmentedControl*>(control_.get())) {
    const plist::Array& values = specifier()->propertyForKey("validValues").array();
    long found = UISegmentedControl::kNoSegment;
    for (size_t i = 0; i < values.size(); ++i) {
      bool same = values[i] == value ||
                  (values[i].isNumber() && value.isNumber() && values[i].doubleValue() == value.doubleValue());
      if (same) found = static_cast<long>(i);
    }
    segments->setSelectedSegmentIndex(found);
  }
}

void PSControlTableCell::layoutSubviews() {
  if (auto* slider = dynamic_cast<UISlider*>(control_.get()))
    slider->setFrame(CGRectMake(0, 0, bounds().size.width * 0.45, 31));
  if (auto* segments = dynamic_cast<UISegmentedControl*>(control_.get())) {
    double width = std::min(segments->intrinsicContentSize().width, bounds().size.width * 0.6);
    segments->setFrame(CGRectMake(0, 0, width, 29));
  }
  PSTableCell::layoutSubviews();
}

void PSControlTableCell::controlChanged() {
  const auto& rowSpecifier = specifier();
  if (!rowSpecifier || !rowSpecifier->target() || !rowSpecifier->hasAccessors()) return;
  rowSpecifier->target()->setPreferenceValue(controlValue(), rowSpecifier);
}

}  // namespace platform
