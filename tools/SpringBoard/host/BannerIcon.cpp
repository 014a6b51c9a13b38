#include "tools/SpringBoard/host/BannerIcon.h"

#include "platform/springboard/DeviceConfiguration.h"
#include "platform/springboard/screen/AppIconStyle.h"
#include "platform/ui/UIImageView.h"
#include "platform/ui/UILabel.h"
#include "platform/ui/UIScreen.h"
#include "platform/ui/render/ViewRenderer.h"

namespace tessra::device {

using platform::springboard::AppIconStyle;

std::shared_ptr<platform::UIImage> BannerIcon::imageFor(const platform::springboard::InstalledApp& app) {
  const double scale = platform::UIScreen::mainScreen().scale();
  auto tile = std::make_shared<platform::UIView>(platform::CGRectMake(0, 0, kSide, kSide));
  tile->setBackgroundColor(AppIconStyle::colorFor(app.bundleIdentifier));
  tile->layer().setCornerRadius(kSide * 0.225);
  std::shared_ptr<platform::UIView> mark;
  if (char32_t glyph = AppIconStyle::glyphFor(app.bundleIdentifier)) {
    if (auto image = AppIconStyle::glyphImage(glyph, kSide * 0.6, scale)) {
      auto imageView = std::make_shared<platform::UIImageView>(image);
      imageView->setTintColor(platform::UIColor::whiteColor());
      mark = imageView;
    }
  }
  if (!mark) {
    auto initial = std::make_shared<platform::UILabel>();
    initial->setText(AppIconStyle::initialOf(app.displayName));
    initial->setFont(platform::UIFont::systemFontOfSize(kSide * 0.5, platform::UIFontWeight::Semibold));
    initial->setTextColor(platform::UIColor::whiteColor());
    initial->setTextAlignment(platform::NSTextAlignment::Center);
    mark = initial;
  }
  mark->setFrame(platform::CGRectMake(kSide * 0.2, kSide * 0.2, kSide * 0.6, kSide * 0.6));
  tile->addSubview(mark);
  platform::ViewRenderer renderer;
  return renderer.renderView(*tile, scale);
}

}  // namespace tessra::device
