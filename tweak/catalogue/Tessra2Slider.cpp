#include "tweak/catalogue/Tessra2Slider.h"

#include "tweak/store/TessraStorageManager.h"

void Tessra2Slider::saveValue() const {
  TessraStorageManager& store = TessraStorageManager::sharedInstance();
  if (sliderType_ == SliderTypeVolume)
    store.setVolumeForCurrentBundleId(percentValue_);
  else if (sliderType_ == SliderTypeBrightness)
    store.setBrightnessForCurrentBundleId(percentValue_);
}
