#pragma once

#include <cstdint>

// The volume or brightness value that the panel's slider edits for the
// store's current app, in percent (0 to 100), or negative for not
// customized. saveValue() writes it to the current app's entry at once.
class Tessra2Slider {
 public:
  enum : int32_t { SliderTypeVolume = 0, SliderTypeBrightness = 1 };

  // initWithSliderType: — percentValue() starts at 0.
  explicit Tessra2Slider(int32_t sliderType) : sliderType_(sliderType) {}

  int32_t sliderType() const { return sliderType_; }
  double percentValue() const { return percentValue_; }
  void setPercentValue(double percent) { percentValue_ = percent; }

  // Stores percentValue() / 100 as the current app's volume or brightness (negative removes it);
  // another slider type saves nothing.
  void saveValue() const;

 private:
  int32_t sliderType_ = SliderTypeVolume;
  double percentValue_ = 0;
};
