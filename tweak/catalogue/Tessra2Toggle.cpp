#include "tweak/catalogue/Tessra2Toggle.h"

#include "tweak/catalogue/ToggleTexts.h"
#include "tweak/store/TessraStorageManager.h"

namespace {

// The next state of a three-state switch, indexed by state + 1.
constexpr ToggleState kNextState[3] = {ToggleStateOn, ToggleStateNotCustomized, ToggleStateOff};

}  // namespace

Tessra2Toggle::Tessra2Toggle(ToggleType type, ToggleState state, bool hasToBeShown)
    : hasToBeShown_(hasToBeShown), toggleType_(type), state_(state) {
  if (auto name = getNameForToggleType(type)) toggleName_ = std::string(*name);
}

Tessra2Toggle::~Tessra2Toggle() = default;

ToggleState Tessra2Toggle::setNextState() {
  if (state_ >= ToggleStateNotCustomized && state_ <= ToggleStateOn) state_ = kNextState[state_ + 1];
  return state_;
}

std::string Tessra2Toggle::getBottomTextForCurrentState() const {
  if (state_ == ToggleStateNotCustomized) return {};
  auto readableName = getReadableNameForToggleType(toggleType_);
  if (!readableName) return {};
  return toggle_texts::fill(
      toggle_texts::kSwitchFormat,
      {state_ == ToggleStateOn ? toggle_texts::kEnable : toggle_texts::kDisable, *readableName, currentAppName()});
}

void Tessra2Toggle::saveValue() const { TessraStorageManager::sharedInstance().setState(state_, toggleType_); }

std::vector<std::shared_ptr<Tessra2Toggle>> Tessra2Toggle::getAllToggles() {
  return createAll<Tessra2Toggle>(switchDescriptions());
}

std::pair<ToggleState, bool> Tessra2Toggle::storedStateAndVisibility(ToggleType type) {
  return {TessraStorageManager::sharedInstance().getStateForCurrentBundleIdForToggle(type),
          TessraStorageManager::toggleHasToBeShown(type)};
}

std::optional<std::string_view> Tessra2Toggle::getNameForToggleType(ToggleType type) { return toggleNameForType(type); }

ToggleType Tessra2Toggle::getToggleTypeFromName(std::string_view name) { return toggleTypeForName(name); }

std::optional<std::string_view> Tessra2Toggle::getReadableNameForToggleType(ToggleType type) {
  return readableNameForType(type);
}

bool Tessra2Toggle::toggleTypeIsAction(ToggleType type) { return ::toggleTypeIsAction(type); }

std::string_view Tessra2Toggle::currentAppName() {
  const auto& name = TessraStorageManager::sharedInstance().currentAppName();
  return name ? std::string_view(*name) : std::string_view();
}
