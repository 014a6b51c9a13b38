#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "platform/ui/UIButton.h"
#include "platform/ui/UIImageView.h"
#include "platform/ui/UILabel.h"
#include "platform/ui/UILongPressGestureRecognizer.h"
#include "platform/ui/UIPanGestureRecognizer.h"
#include "platform/ui/UITapGestureRecognizer.h"
#include "platform/ui/UIView.h"

class Tessra2Slider;

// A vertical capsule slider of the panel for the volume or the brightness an
// app gets when it opens: a white fill rising from the bottom is the value,
// an icon sits at the bottom and a percentage label in the middle ("-%" for
// none). A drag anywhere moves the fill relative to where it was; when the
// drag ends the value is rounded to a whole percent and saved for the
// store's current app. A long press or a double tap (or the panel's remove
// button, when the settings ask for one) empties it and removes the stored
// value. The slider owns its subviews and gestures and holds its model
// object; the panel owns the slider and its remove button.
class Tessra2SliderView : public platform::UIView {
 public:
  static constexpr const char* kNoValueText = "-%";
  static constexpr double kLongPressDuration = 0.3;
  static constexpr double kEmptyingDuration = 0.4;

  // initWithFrame:imageName: — the slider at `frame`, built with the bundle image `imageName`.
  static std::shared_ptr<Tessra2SliderView> create(const platform::CGRect& frame, std::string_view imageName);
  explicit Tessra2SliderView(const platform::CGRect& frame);

  // Builds the fill, icon, label and gestures. Called once.
  void setupViewWithImageName(std::string_view imageName);
  // The drag on the slider.
  void sliderPanGesture(platform::UIPanGestureRecognizer& recognizer);
  // Empties the slider when a long press begins (unless it reads "-%").
  void resetValueLongPress(platform::UILongPressGestureRecognizer& recognizer);
  // Empties the slider when a double tap is recognised (unless it reads "-%").
  void resetValueDoubleTap(platform::UITapGestureRecognizer& recognizer);

  // The value the fill shows: a whole number from 0 to 100.
  double getPercentValue() const;
  // Places the fill at `percent` (limited to the capsule), updates the label and shows the remove button.
  void setPercentValue(double percent);
  // Empties the slider (0.4 s), removes the stored value and posts an empty bottom text.
  void setNoPercent();
  // Posts the text for the model's value to the panel (while the setting allows it).
  void showBottomLabelOnTessraVC();

  const std::shared_ptr<Tessra2Slider>& slider() const { return slider_; }
  void setSlider(std::shared_ptr<Tessra2Slider> slider) { slider_ = std::move(slider); }
  const std::shared_ptr<platform::UIButton>& removeButton() const { return removeButton_; }
  void setRemoveButton(std::shared_ptr<platform::UIButton> button) { removeButton_ = std::move(button); }
  // The percentage text shown now ("40%", "-%").
  const std::string& percentText() const { return percentLabel_->text(); }
  // The white fill (its height is the value).
  platform::UIView* fillView() const { return sliderView_.get(); }

 private:
  std::shared_ptr<platform::UIView> sliderView_;
  std::shared_ptr<platform::UIImageView> iconImageView_;
  std::shared_ptr<platform::UILabel> percentLabel_;
  std::shared_ptr<Tessra2Slider> slider_;
  std::shared_ptr<platform::UIButton> removeButton_;
};
