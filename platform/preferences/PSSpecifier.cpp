#include "platform/preferences/PSSpecifier.h"

#include <array>
#include <optional>
#include <utility>

namespace platform {

std::shared_ptr<PSSpecifier> PSSpecifier::preferenceSpecifierNamed(std::string name, PSListController* target,
                                                                   bool hasAccessors, PSCellType cellType) {
  auto rowSpecifier = std::make_shared<PSSpecifier>(std::move(name), cellType);
  rowSpecifier->target_ = target;
  rowSpecifier->hasAccessors_ = hasAccessors;
  return rowSpecifier;
}

std::shared_ptr<PSSpecifier> PSSpecifier::groupSpecifierWithName(std::string name, std::string footer) {
  auto rowSpecifier = std::make_shared<PSSpecifier>(name, PSCellType::Group);
  if (!name.empty()) rowSpecifier->setProperty(name, "label");
  if (!footer.empty()) rowSpecifier->setProperty(std::move(footer), "footerText");
  return rowSpecifier;
}

std::optional<PSCellType> PSSpecifier::cellTypeNamed(std::string_view name) {
  static constexpr std::array<std::pair<std::string_view, PSCellType>, 15> kNames{{
      {"PSGroupCell", PSCellType::Group},
      {"PSLinkCell", PSCellType::Link},
      {"PSLinkListCell", PSCellType::LinkList},
      {"PSListItemCell", PSCellType::ListItem},
      {"PSTitleValueCell", PSCellType::TitleValue},
      {"PSSliderCell", PSCellType::Slider},
      {"PSSwitchCell", PSCellType::Switch},
      {"PSStaticTextCell", PSCellType::StaticText},
      {"PSEditTextCell", PSCellType::EditText},
      {"PSSegmentCell", PSCellType::Segment},
      {"PSGiantIconCell", PSCellType::GiantIcon},
      {"PSGiantCell", PSCellType::Giant},
      {"PSSecureEditTextCell", PSCellType::SecureEditText},
      {"PSButtonCell", PSCellType::Button},
      {"PSEditTextViewCell", PSCellType::EditTextView},
  }};
  for (const auto& [text, type] : kNames)
    if (text == name) return type;
  return std::nullopt;
}

std::string PSSpecifier::identifier() const {
  if (auto id = propertyForKey("id"); id.isString()) return id.string();
  std::string k = key();
  return k.empty() ? name_ : k;
}

plist::Value PSSpecifier::propertyForKey(std::string_view key) const {
  const plist::Value* v = properties_.find(key);
  return v ? *v : plist::Value();
}

void PSSpecifier::setProperty(plist::Value value, std::string key) {
  if (value.isNull())
    properties_.remove(key);
  else
    properties_.set(std::move(key), std::move(value));
}

std::string PSSpecifier::key() const {
  const plist::Value* v = properties_.find("key");
  return v && v->isString() ? v->string() : std::string();
}

}  // namespace platform
