#pragma once

#include <string>

#include "platform/ui/LayoutItem.h"

namespace platform {

// An invisible rectangle that takes part in layout (UILayoutGuide), owned by
// the view it was added to. Its layout frame is solved like a view's. A safe
// area guide is fixed to its view's bounds less the safe-area insets.
class UILayoutGuide : public LayoutItem {
 public:
  UILayoutGuide() = default;

  // The view the guide belongs to (null until added with UIView::addLayoutGuide).
  UIView* owningView() const { return owner_; }
  // The solved rectangle in the owning view's bounds coordinates.
  CGRect layoutFrame() const;
  const std::string& identifier() const { return identifier_; }
  void setIdentifier(std::string id) { identifier_ = std::move(id); }

  UIView* layoutContainer() const override { return owner_; }
  CGRect layoutRect() const override { return layoutFrame(); }
  // Whether the guide is fixed to its view's safe area.
  bool isSafeAreaGuide() const { return safeArea_; }

 private:
  friend class UIView;
  friend class LayoutSolver;
  friend class UIScrollView;
  UIView* owner_ = nullptr;
  CGRect frame_;
  bool safeArea_ = false;
  bool content_ = false;  // a scroll view's content guide
  std::string identifier_;
};

}  // namespace platform
