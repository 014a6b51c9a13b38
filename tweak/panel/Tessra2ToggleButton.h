#pragma once

#include <memory>
#include <optional>
#include <string>

#include "platform/ui/UIButton.h"
#include "tweak/catalogue/ToggleType.h"

class Tessra2Toggle;

// One round button of a ring: it shows a toggle's icon, colours itself by
// the toggle's state (on, off, not customized), hangs an "On"/"Off" badge
// under itself, and on a tap advances the toggle, saves it for the store's
// current app and asks the panel to show what the change does. The button
// holds its toggle (shared with nothing else) and its badge label; the ring
// that made it owns it.
class Tessra2ToggleButton : public platform::UIButton {
 public:
  // Extra reach of a tap around the bounds, on every side.
  static constexpr double kHitOutset = 5;

  // init / initWithFrame: — both register checkboxSelected for touch-up-inside.
  Tessra2ToggleButton();
  explicit Tessra2ToggleButton(const platform::CGRect& frame);

  // Keeps the toggle, sets its icon ("<toggleName>Icon") and applies its current state.
  void setupWithToggle(std::shared_ptr<Tessra2Toggle> toggle);
  // The tap: next state, haptic impact, saved for the current app, bottom text posted.
  void checkboxSelected(platform::UIControl& sender);
  // Advances the toggle to its next state and applies it.
  void setNextState();
  // Writes `state` into the toggle if it differs, restyles the button and pops it.
  void setCurrentState(ToggleState state);
  // Shows or changes the badge under the button; nothing removes it.
  void setBadgeWithText(const std::optional<std::string>& text);
  // Posts the toggle's text for its state to the panel (while the setting allows it).
  void showBottomLabelOnTessraVC();

  // The bounds grown by kHitOutset count as inside.
  bool pointInside(platform::CGPoint p, platform::UIEvent* event) override;

  const std::shared_ptr<Tessra2Toggle>& toggle() const { return toggle_; }
  void setToggle(std::shared_ptr<Tessra2Toggle> toggle) { toggle_ = std::move(toggle); }
  // The home position on the ring, in the ring's coordinates.
  platform::CGPoint centerSave() const { return centerSave_; }
  void setCenterSave(platform::CGPoint p) { centerSave_ = p; }
  // The badge now shown, or null.
  platform::UILabel* badgeLabel() const { return badgeLabel_.get(); }

 private:
  void registerTapAction();

  std::shared_ptr<platform::UILabel> badgeLabel_;
  std::shared_ptr<Tessra2Toggle> toggle_;
  platform::CGPoint centerSave_;
};
