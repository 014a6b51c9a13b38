#pragma once

#include <memory>
#include <vector>

#include "platform/ui/UIView.h"

namespace platform {

class UILayoutGuide;

// How arranged views share the stack's length (UIStackViewDistribution, same values).
enum class UIStackViewDistribution { Fill = 0, FillEqually = 1, FillProportionally = 2, EqualSpacing = 3 };
// How arranged views sit across the stack (UIStackViewAlignment, same values).
enum class UIStackViewAlignment { Fill = 0, Leading = 1, Top = 1, Center = 3, Trailing = 4, Bottom = 4 };

// A view that lines up its arranged subviews along an axis (UIStackView),
// by generating layout constraints as UIKit does: Fill (first view at the
// start, neighbours `spacing` apart, last view at the end), FillEqually (equal
// lengths) or EqualSpacing (equal gaps between neighbours, none at the ends,
// through hidden gap guides); alignment Fill, Leading, Center or Trailing
// across. Sizes of arranged views come from their own constraints or
// intrinsic sizes. The gaps of EqualSpacing are equal, not limited below
// by `spacing` (views wider than the stack overlap).
class UIStackView : public UIView {
 public:
  explicit UIStackView(const CGRect& frame = CGRectZero);

  UILayoutConstraintAxis axis() const { return axis_; }
  void setAxis(UILayoutConstraintAxis a);
  UIStackViewDistribution distribution() const { return distribution_; }
  void setDistribution(UIStackViewDistribution d);
  UIStackViewAlignment alignment() const { return alignment_; }
  void setAlignment(UIStackViewAlignment a);
  double spacing() const { return spacing_; }
  void setSpacing(double s);

  // Appends a view to the arrangement (and as a subview); it is then placed by constraints.
  void addArrangedSubview(const Ptr& view);
  // Takes a view out of the arrangement (it stays a subview).
  void removeArrangedSubview(const UIView* view);
  const std::vector<Ptr>& arrangedSubviews() const { return arranged_; }

  void layoutSubviews() override;
  void willRemoveSubview(UIView* view) override;

 private:
  void rebuildConstraints();

  UILayoutConstraintAxis axis_ = UILayoutConstraintAxis::Horizontal;
  UIStackViewDistribution distribution_ = UIStackViewDistribution::Fill;
  UIStackViewAlignment alignment_ = UIStackViewAlignment::Fill;
  double spacing_ = 0;
  std::vector<Ptr> arranged_;
  std::vector<NSLayoutConstraint::Ptr> generated_;
  std::vector<std::shared_ptr<UILayoutGuide>> gaps_;
  bool dirty_ = true;
};

}  // namespace platform
