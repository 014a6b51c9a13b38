#include "tweak/catalogue/Tessra2Action.h"

#include "tweak/catalogue/ToggleTexts.h"

std::string Tessra2Action::getBottomTextForCurrentState() const {
  if (state() == ToggleStateNotCustomized) return {};
  const ToggleDescription* description = actionDescription(toggleType());
  if (!description) return {};
  // Behaviours up to hiding the home bar are enforced while the app is in front; the last three happen once.
  std::string_view format =
      toggleType() <= ToggleTypeHideHomeBar ? toggle_texts::kWhileUsingFormat : toggle_texts::kWhenOpeningFormat;
  return toggle_texts::fill(format, {description->readableName, currentAppName()});
}

std::vector<std::shared_ptr<Tessra2Action>> Tessra2Action::getAllActions() {
  return createAll<Tessra2Action>(actionDescriptions());
}

std::optional<std::string_view> Tessra2Action::getNameForToggleType(ToggleType type) {
  if (const ToggleDescription* description = actionDescription(type)) return description->name;
  return std::nullopt;
}

ToggleType Tessra2Action::getToggleTypeFromName(std::string_view name) { return actionTypeForName(name); }

std::optional<std::string_view> Tessra2Action::getReadableNameForToggleType(ToggleType type) {
  if (const ToggleDescription* description = actionDescription(type)) return description->readableName;
  return std::nullopt;
}
