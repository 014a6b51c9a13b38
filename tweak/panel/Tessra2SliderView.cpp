#include "tweak/panel/Tessra2SliderView.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "tweak/catalogue/Tessra2Slider.h"
#include "tweak/controls/HapticFeedbackHelper.h"
#include "tweak/panel/PanelIdentifiers.h"
#include "tweak/panel/PanelImages.h"
#include "tweak/panel/PanelNotifications.h"
#include "tweak/store/TessraStorageManager.h"
#include "tweak/support/TessraDebugLog.h"

using namespace platform;

namespace {

// The fill height of the slider on which the current drag began; one for both sliders.
double startY = 0;

bool darkStyle() { return TessraStorageManager::sharedInstance().getInterfaceColorStyle() == 0; }

}  // namespace

std::shared_ptr<Tessra2SliderView> Tessra2SliderView::create(const CGRect& frame, std::string_view imageName) {
  auto slider = std::make_shared<Tessra2SliderView>(frame);
  slider->setupViewWithImageName(imageName);
  return slider;
}

Tessra2SliderView::Tessra2SliderView(const CGRect& frame) : UIView(frame) {}

void Tessra2SliderView::setupViewWithImageName(std::string_view imageName) {
  const double w = bounds().size.width;
  const double h = bounds().size.height;
  const bool dark = darkStyle();
  layer().setCornerRadius(w / 2);
  setClipsToBounds(true);
  setBackgroundColor(UIColor::blackColor().colorWithAlphaComponent(dark ? 0.5 : 0.2));

  sliderView_ = std::make_shared<UIView>(CGRectMake(0, h, w, 0));
  sliderView_->setBackgroundColor(UIColor::colorWithWhite(1, 1.0));
  sliderView_->setAccessibilityIdentifier(std::string(panel_identifiers::kSliderFill));
  addSubview(sliderView_);

  const UIColor tint =
      dark ? UIColor::colorWithRed(0.549, 0.545, 0.545, 0.9) : UIColor::colorWithRed(0.649, 0.645, 0.645, 0.9);
  const double s = w - 20;
  iconImageView_ = std::make_shared<UIImageView>(PanelImages::named(imageName));
  iconImageView_->setFrame(CGRectMake(10, h - s - 10, s, s));
  iconImageView_->setTintColor(tint);
  addSubview(iconImageView_);

  percentLabel_ = std::make_shared<UILabel>(CGRectMake(0, (h - 20) / 2, w, 20));
  percentLabel_->setTextColor(tint);
  percentLabel_->setFont(UIFont::systemFontOfSize(10, UIFontWeight::Regular));
  percentLabel_->setTextAlignment(NSTextAlignment::Center);
  percentLabel_->setText(kNoValueText);
  percentLabel_->setAccessibilityIdentifier(std::string(panel_identifiers::kPercentLabel));
  addSubview(percentLabel_);

  auto pan = std::make_shared<UIPanGestureRecognizer>(
      [this](UIGestureRecognizer& g) { sliderPanGesture(static_cast<UIPanGestureRecognizer&>(g)); });
  pan->setMinimumNumberOfTouches(1);
  addGestureRecognizer(pan);

  if (!TessraStorageManager::sharedInstance().useCrossInsteadOfLongPressGestureForSliders) {
    auto longPress = std::make_shared<UILongPressGestureRecognizer>(
        [this](UIGestureRecognizer& g) { resetValueLongPress(static_cast<UILongPressGestureRecognizer&>(g)); });
    longPress->setMinimumPressDuration(kLongPressDuration);
    addGestureRecognizer(longPress);
    auto doubleTap = std::make_shared<UITapGestureRecognizer>(
        [this](UIGestureRecognizer& g) { resetValueDoubleTap(static_cast<UITapGestureRecognizer&>(g)); });
    doubleTap->setNumberOfTapsRequired(2);
    addGestureRecognizer(doubleTap);
  }
}

void Tessra2SliderView::sliderPanGesture(UIPanGestureRecognizer& recognizer) {
  const double h = bounds().size.height;
  switch (recognizer.state()) {
    case UIGestureRecognizerState::Began: startY = h - sliderView_->frame().origin.y; break;
    case UIGestureRecognizerState::Changed: {
      const double ty = recognizer.translationInView(this).y;
      setPercentValue((startY - ty) * 100 / h);
      break;
    }
    case UIGestureRecognizerState::Ended: {
      const double percent = getPercentValue();
      if (slider_) {
        slider_->setPercentValue(percent);
        setPercentValue(slider_->percentValue());
        slider_->saveValue();
      } else {
        setPercentValue(percent);
      }
      HapticFeedbackHelper::sendImpact();
      showBottomLabelOnTessraVC();
      break;
    }
    default: break;
  }
}

void Tessra2SliderView::resetValueLongPress(UILongPressGestureRecognizer& recognizer) {
  if (recognizer.state() != UIGestureRecognizerState::Began) return;
  if (percentLabel_->text() != kNoValueText) setNoPercent();
}

void Tessra2SliderView::resetValueDoubleTap(UITapGestureRecognizer& recognizer) {
  if (recognizer.state() != UIGestureRecognizerState::Ended) return;
  if (percentLabel_->text() != kNoValueText) setNoPercent();
}

double Tessra2SliderView::getPercentValue() const {
  const double h = bounds().size.height;
  if (h <= 0) return 0;
  const float percent = static_cast<float>((h - sliderView_->frame().origin.y) / h * 100);
  return std::round(percent);
}

void Tessra2SliderView::setPercentValue(double percent) {
  TessraDebugLog::logf("percent %f", percent);
  const double w = bounds().size.width;
  const double h = bounds().size.height;
  const double fill = h * percent / 100;
  sliderView_->setFrame(CGRectMake(0, std::clamp(h - fill, 0.0, h), w, std::clamp(fill, 0.0, h)));
  char text[32];
  std::snprintf(text, sizeof text, "%ld%%", static_cast<long>(getPercentValue()));
  percentLabel_->setText(text);
  if (removeButton_) removeButton_->setHidden(false);
}

void Tessra2SliderView::setNoPercent() {
  UIView::animateWithDuration(kEmptyingDuration, 0, UIViewAnimationOptions::None, [this] { setPercentValue(0); });
  percentLabel_->setText(kNoValueText);
  if (slider_) {
    slider_->setPercentValue(-1);
    slider_->saveValue();
  }
  if (removeButton_) removeButton_->setHidden(true);
  HapticFeedbackHelper::sendImpact();
  showBottomLabelOnTessraVC();
}

void Tessra2SliderView::showBottomLabelOnTessraVC() {
  if (!TessraStorageManager::sharedInstance().showInformationTextOnBottom) return;
  std::string text;
  if (slider_ && slider_->percentValue() >= 0) {
    const char* what = slider_->sliderType() != Tessra2Slider::SliderTypeVolume ? "Set Brightness to" : "Set Volume to";
    const auto& appName = TessraStorageManager::sharedInstance().currentAppName();
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%s %ld%% when opening ", what, static_cast<long>(slider_->percentValue()));
    text = buffer + appName.value_or("");
  }
  panel_notifications::postBottomLabelText(text);
}
