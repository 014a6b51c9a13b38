#pragma once

#include "tweak/catalogue/Tessra2Toggle.h"

// A toggle that is either set or not: a tap moves it between -1 and 1. A
// stored 0 (written by other means) is left as it is.
class Tessra2OneStateToggle : public Tessra2Toggle {
 public:
  using Tessra2Toggle::Tessra2Toggle;

  // 1 -> -1, -1 -> 1, anything else unchanged; returns the state.
  ToggleState setNextState() override;
  // "<readable name> when using <app>", or empty for -1.
  std::string getBottomTextForCurrentState() const override;
};
