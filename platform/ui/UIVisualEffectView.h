#pragma once

#include <memory>
#include <optional>

#include "platform/ui/UIBlurEffect.h"
#include "platform/ui/UIView.h"

namespace platform {

// A view that blurs what lies behind it (UIVisualEffectView); its own
// content goes into contentView(), which fills it. The renderer draws the
// blur of the given style.
class UIVisualEffectView : public UIView {
 public:
  // initWithEffect:.
  explicit UIVisualEffectView(std::optional<UIBlurEffect> effect);

  const std::optional<UIBlurEffect>& effect() const { return effect_; }
  void setEffect(std::optional<UIBlurEffect> e) { effect_ = e; }
  // The view for content drawn over the blur; resizes with this view.
  UIView* contentView() const { return content_.get(); }

 private:
  std::optional<UIBlurEffect> effect_;
  std::shared_ptr<UIView> content_;
};

}  // namespace platform
