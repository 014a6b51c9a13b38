#include "tweak/catalogue/Tessra2OneStateToggle.h"

#include "tweak/catalogue/ToggleTexts.h"

ToggleState Tessra2OneStateToggle::setNextState() {
  if (state() == ToggleStateOn)
    setState(ToggleStateNotCustomized);
  else if (state() == ToggleStateNotCustomized)
    setState(ToggleStateOn);
  return state();
}

std::string Tessra2OneStateToggle::getBottomTextForCurrentState() const {
  if (state() == ToggleStateNotCustomized) return {};
  auto readableName = getReadableNameForToggleType(toggleType());
  if (!readableName) return {};
  return toggle_texts::fill(toggle_texts::kOneStateFormat, {*readableName, currentAppName()});
}
