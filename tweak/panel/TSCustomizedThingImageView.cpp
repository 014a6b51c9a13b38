#include "tweak/panel/TSCustomizedThingImageView.h"

#include <map>
#include <mutex>
#include <tuple>

#include "platform/foundation/DevicePaths.h"
#include "platform/ui/UIScreen.h"
#include "tweak/catalogue/BundleHelper.h"
#include "tweak/engine/TessraDebugLog.h"

namespace {

// The bundle's icon `imageName`, decoded once per device root and screen scale (the platform keeps
// named images the same way); a settings page draws the same few icons in every row.
std::shared_ptr<platform::UIImage> bundleIcon(const std::string& imageName) {
  using Key = std::tuple<std::string, double, std::string>;
  static std::mutex mutex;
  static std::map<Key, std::shared_ptr<platform::UIImage>> cache;
  Key key{platform::DevicePaths::root().string(), platform::UIScreen::mainScreen().scale(), imageName};
  std::lock_guard lock(mutex);
  if (auto it = cache.find(key); it != cache.end()) return it->second;
  auto image = BundleHelper::getImageWithName(imageName);
  if (image) cache.emplace(std::move(key), image);  // a missing image is looked for again next time
  return image;
}

}  // namespace

TSCustomizedThingImageView::TSCustomizedThingImageView() : UIImageView(platform::CGRectZero) {}

void TSCustomizedThingImageView::setupWithCustomizedThingName(const std::string& name,
                                                              const platform::UIColor& uiColor) {
  setImage(bundleIcon(name + "Icon"));
  setContentMode(platform::UIViewContentMode::ScaleAspectFit);
  toggleName_ = name;
  setTintColor(uiColor);
  setCurrentState(-1);
}

void TSCustomizedThingImageView::setConstraintsForSize(double side) {
  viewSize_ = side;
  // The row that holds the icon gives it this size when it next lays out.
  if (superview()) superview()->setNeedsLayout();
}

platform::CGSize TSCustomizedThingImageView::intrinsicContentSize() const { return {viewSize_, viewSize_}; }

void TSCustomizedThingImageView::layoutSubviews() {
  UIImageView::layoutSubviews();
  if (!badgeLabel_) return;
  const platform::CGSize size = bounds().size;
  badgeLabel_->setFrame({{0, size.height - 1}, {size.width, kBadgeHeight}});
}

void TSCustomizedThingImageView::setCurrentState(int32_t state) {
  if (state != currentState_) currentState_ = state;
  setAlpha(state == -1 ? kNotCustomizedAlpha : kCustomizedAlpha);
  if (state == -1)
    setBadgeWithText(std::nullopt);
  else if (state == 0)
    setBadgeWithText("Off");
  else if (state == 1)
    setBadgeWithText("On");
}

void TSCustomizedThingImageView::setBadgeWithText(const std::optional<std::string>& text) {
  TessraDebugLog::log("setBadgeWithText " + text.value_or("(null)"));
  if (!text) {
    if (badgeLabel_) badgeLabel_->removeFromSuperview();
    badgeLabel_.reset();
    return;
  }
  if (!badgeLabel_) {
    badgeLabel_ = std::make_shared<platform::UILabel>();
    badgeLabel_->setTextColor(tintColor());
    badgeLabel_->setFont(platform::UIFont::systemFontOfSize(bounds().size.height <= 20 ? 9 : 11));
    badgeLabel_->setAdjustsFontSizeToFitWidth(true);
    badgeLabel_->setMinimumScaleFactor(0.5);
    badgeLabel_->setTextAlignment(platform::NSTextAlignment::Center);
    badgeLabel_->layer().setCornerRadius(5);
    badgeLabel_->setClipsToBounds(true);
    addSubview(badgeLabel_);
  }
  platform::UIView::performWithoutAnimation([&] {
    layoutSubviews();
    badgeLabel_->setText(*text);
  });
}
