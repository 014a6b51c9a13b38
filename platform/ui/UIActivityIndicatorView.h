#pragma once

#include <optional>

#include "platform/foundation/Clock.h"
#include "platform/ui/UIView.h"

namespace platform {

// Styles of spinner (UIActivityIndicatorViewStyle, same values).
enum class UIActivityIndicatorViewStyle { WhiteLarge = 0, White = 1, Gray = 2, Medium = 100, Large = 101 };

// A spinning activity indicator (UIActivityIndicatorView): 37 points across
// in the large styles, 20 otherwise. The renderer draws the spokes turned by
// the time since startAnimating(); a stopped spinner hides itself by default.
class UIActivityIndicatorView : public UIView {
 public:
  // initWithActivityIndicatorStyle: — sized for the style.
  explicit UIActivityIndicatorView(UIActivityIndicatorViewStyle style = UIActivityIndicatorViewStyle::White);

  UIActivityIndicatorViewStyle style() const { return style_; }
  // Spoke colour: white for the white styles, grey otherwise, unless set.
  UIColor color() const;
  void setColor(std::optional<UIColor> c) { color_ = c; }
  void startAnimating();
  void stopAnimating();
  bool isAnimating() const { return started_.has_value(); }
  bool hidesWhenStopped() const { return hidesWhenStopped_; }
  void setHidesWhenStopped(bool h);
  // Seconds since startAnimating (0 when stopped), for drawing the spokes' turn.
  double animationTime() const;

  CGSize intrinsicContentSize() const override;

 private:
  UIActivityIndicatorViewStyle style_;
  std::optional<UIColor> color_;
  std::optional<TimePoint> started_;
  bool hidesWhenStopped_ = true;
};

}  // namespace platform
