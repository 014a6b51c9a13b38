#pragma once

#include <memory>
#include <optional>

#include "platform/ui/Geometry.h"
#include "platform/ui/UIColor.h"
#include "platform/ui/UIFont.h"
#include "platform/ui/UIViewTypes.h"

// The look of a toast: colours, fonts, alignments and line limits of the
// title and message, the paddings and corner radius of the box, its shadow,
// the largest share of the host view it may take, the image and activity
// sizes and the fade duration. A plain value object made only by
// createWithDefaultStyle() (the default look); callers then change fields.
// The two percentages are clamped to 0...1 whenever they are set.
class TSToastStyle {
 public:
  // initWithDefaultStyle: a new style with the default look.
  static std::shared_ptr<TSToastStyle> createWithDefaultStyle();

  bool displayShadow = false;
  platform::UIColor backgroundColor = platform::UIColor::colorWithWhite(0, 0.8);
  platform::UIColor titleColor = platform::UIColor::whiteColor();
  platform::UIColor messageColor = platform::UIColor::whiteColor();
  double horizontalPadding = 10.0;
  double verticalPadding = 10.0;
  double cornerRadius = 10.0;
  platform::UIFont titleFont = platform::UIFont::boldSystemFontOfSize(16);
  platform::UIFont messageFont = platform::UIFont::systemFontOfSize(16);
  platform::NSTextAlignment titleAlignment = platform::NSTextAlignment::Left;
  platform::NSTextAlignment messageAlignment = platform::NSTextAlignment::Left;
  // 0: as many lines as the text needs.
  int titleNumberOfLines = 0;
  int messageNumberOfLines = 0;
  std::optional<platform::UIColor> shadowColor;
  double shadowOpacity = 0.8;
  double shadowRadius = 6.0;
  double fadeDuration = 0.2;
  platform::CGSize shadowOffset{4.0, 4.0};
  platform::CGSize imageSize{80.0, 80.0};
  platform::CGSize activitySize{100.0, 100.0};

  // The largest share of the host view's width a toast may take (0...1).
  double maxWidthPercentage() const { return maxWidthPercentage_; }
  void setMaxWidthPercentage(double percentage);
  // The same for the height.
  double maxHeightPercentage() const { return maxHeightPercentage_; }
  void setMaxHeightPercentage(double percentage);

 private:
  TSToastStyle() = default;

  double maxWidthPercentage_ = 0.8;
  double maxHeightPercentage_ = 0.8;
};
