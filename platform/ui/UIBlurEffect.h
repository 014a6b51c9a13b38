#pragma once

namespace platform {

// Styles of blur (UIBlurEffectStyle, same values).
enum class UIBlurEffectStyle { ExtraLight = 0, Light = 1, Dark = 2, Regular = 4, Prominent = 5 };

// A blur of what lies behind a view, in one style (UIBlurEffect). A plain value.
class UIBlurEffect {
 public:
  // effectWithStyle:.
  static UIBlurEffect effectWithStyle(UIBlurEffectStyle style) { return UIBlurEffect(style); }
  UIBlurEffectStyle style() const { return style_; }

 private:
  explicit UIBlurEffect(UIBlurEffectStyle style) : style_(style) {}
  UIBlurEffectStyle style_;
};

}  // namespace platform
