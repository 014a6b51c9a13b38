#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "platform/ui/UIColor.h"
#include "platform/ui/UIImageView.h"
#include "platform/ui/UILabel.h"

// One icon of the customization summary strip: the template image of a
// customized thing ("volume", "brightness", a switch or a behaviour), tinted
// in the strip's colour, dimmed by its state, with a small badge hanging
// under it ("On", "Off", a percentage). Owned by the strip's stack view; it
// owns its badge label. Icon and badge are placed by frame (the strip is
// drawn in lists of many rows, so it stays off the constraint solver). Main
// thread only.
class TSCustomizedThingImageView : public platform::UIImageView {
 public:
  static constexpr double kCustomizedAlpha = 0.65;
  static constexpr double kNotCustomizedAlpha = 0.3;
  static constexpr double kBadgeHeight = 12;

  TSCustomizedThingImageView();

  // Loads the image "<name>Icon" from the resource bundle (aspect fit), sets the name and tint, state -1.
  void setupWithCustomizedThingName(const std::string& name, const platform::UIColor& uiColor);
  // Makes the icon a side x side square (its size once the strip lays it out).
  void setConstraintsForSize(double side);
  // Stores the state, sets the alpha and the badge ("On", "Off"; none for -1; others keep it).
  void setCurrentState(int32_t state);
  // Shows `text` in the badge under the icon, or removes the badge for none.
  void setBadgeWithText(const std::optional<std::string>& text);

  int32_t currentState() const { return currentState_; }
  const std::string& toggleName() const { return toggleName_; }
  void setToggleName(std::string name) { toggleName_ = std::move(name); }
  // The side last given to setConstraintsForSize.
  double viewSize() const { return viewSize_; }
  // The badge, or null while none is shown.
  platform::UILabel* badgeLabel() const { return badgeLabel_.get(); }

  // Hangs the badge under the icon: as wide as the icon, 12 high, 1 point over its bottom edge.
  void layoutSubviews() override;
  // The square of the side given to setConstraintsForSize.
  platform::CGSize intrinsicContentSize() const override;

 private:
  std::shared_ptr<platform::UILabel> badgeLabel_;
  double viewSize_ = 0;
  int32_t currentState_ = -1;
  std::string toggleName_;
};
