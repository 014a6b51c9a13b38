#include "platform/springboard/screen/AppSceneView.h"

#include "platform/springboard/screen/AppIconStyle.h"

namespace platform::springboard {

AppSceneView::AppSceneView() : ScreenView("SBAppSceneView") {
  setBackgroundColor(UIColor(0.96, 0.96, 0.97, 1));
  setHidden(true);
  band_ = std::make_shared<UIView>();
  addSubview(band_);
  name_ = std::make_shared<ScreenLabel>();
  name_->setFont(UIFont::systemFontOfSize(30, UIFontWeight::Bold));
  name_->setTextAlignment(NSTextAlignment::Center);
  name_->setAdjustsFontSizeToFitWidth(true);
  name_->setMinimumScaleFactor(0.5);
  addSubview(name_);
  identifier_ = std::make_shared<UILabel>();
  identifier_->setFont(UIFont::systemFontOfSize(13));
  identifier_->setTextColor(UIColor(0.4, 0.4, 0.43, 1));
  identifier_->setTextAlignment(NSTextAlignment::Center);
  addSubview(identifier_);
  content_ = std::make_shared<UIImageView>();
  content_->setHidden(true);
  addSubview(content_);
}

void AppSceneView::showContent(std::shared_ptr<UIImage> image) {
  if (image == contentImage_) return;
  contentImage_ = std::move(image);
  content_->setImage(contentImage_);
  content_->setHidden(!contentImage_);
  setNeedsLayout();
}

void AppSceneView::showApp(const std::string& bundleIdentifier, const std::string& displayName) {
  if (bundleIdentifier == bundleIdentifier_) return;
  bundleIdentifier_ = bundleIdentifier;
  setHidden(bundleIdentifier.empty());
  name_->setText(displayName);
  identifier_->setText(bundleIdentifier);
  band_->setBackgroundColor(AppIconStyle::colorFor(bundleIdentifier));
  setNeedsLayout();
}

void AppSceneView::layoutContents() {
  const CGSize size = bounds().size;
  band_->setFrame(CGRectMake(0, 0, size.width, 110));
  name_->setFrame(CGRectMake(20, size.height / 2 - 30, size.width - 40, 40));
  identifier_->setFrame(CGRectMake(20, size.height / 2 + 14, size.width - 40, 18));
  content_->setFrame(CGRectMake(0, 0, size.width, size.height));
}

}  // namespace platform::springboard
