#include "platform/ui/UIStackView.h"

#include <algorithm>

#include "platform/ui/UILayoutGuide.h"

namespace platform {

UIStackView::UIStackView(const CGRect& frame) : UIView(frame) {}

void UIStackView::setAxis(UILayoutConstraintAxis a) {
  axis_ = a;
  dirty_ = true;
  setNeedsLayout();
}

void UIStackView::setDistribution(UIStackViewDistribution d) {
  distribution_ = d;
  dirty_ = true;
  setNeedsLayout();
}

void UIStackView::setAlignment(UIStackViewAlignment a) {
  alignment_ = a;
  dirty_ = true;
  setNeedsLayout();
}

void UIStackView::setSpacing(double s) {
  spacing_ = s;
  dirty_ = true;
  setNeedsLayout();
}

void UIStackView::addArrangedSubview(const Ptr& view) {
  if (!view) return;
  if (std::find(arranged_.begin(), arranged_.end(), view) == arranged_.end()) arranged_.push_back(view);
  view->setTranslatesAutoresizingMaskIntoConstraints(false);
  if (view->superview() != this) addSubview(view);
  dirty_ = true;
  setNeedsLayout();
}

void UIStackView::removeArrangedSubview(const UIView* view) {
  auto it = std::find_if(arranged_.begin(), arranged_.end(), [view](const Ptr& p) { return p.get() == view; });
  if (it == arranged_.end()) return;
  arranged_.erase(it);
  dirty_ = true;
  setNeedsLayout();
}

void UIStackView::willRemoveSubview(UIView* view) { removeArrangedSubview(view); }

void UIStackView::layoutSubviews() {
  if (dirty_) {
    rebuildConstraints();
    dirty_ = false;
    // The new rules are solved in the next round of this same layout pass.
    setNeedsLayout();
    return;
  }
  UIView::layoutSubviews();
}

// Replaces the generated rules: along the axis, first and last views at the ends and either
// fixed spacing (Fill), equal lengths (FillEqually) or equal gaps (EqualSpacing); across the
// axis, the alignment.
void UIStackView::rebuildConstraints() {
  removeConstraints(generated_);
  generated_.clear();
  for (auto& g : gaps_) removeLayoutGuide(g.get());
  gaps_.clear();
  if (arranged_.empty()) return;
  bool horizontal = axis_ == UILayoutConstraintAxis::Horizontal;
  using A = NSLayoutAttribute;
  A lead = horizontal ? A::Leading : A::Top, trail = horizontal ? A::Trailing : A::Bottom;
  A length = horizontal ? A::Width : A::Height;
  A crossLead = horizontal ? A::Top : A::Leading, crossTrail = horizontal ? A::Bottom : A::Trailing;
  A crossCenter = horizontal ? A::CenterY : A::CenterX;
  auto make = [this](LayoutItem* a, A aa, LayoutItem* b, A ba, double m, double c) {
    auto k = NSLayoutConstraint::constraintWithItem(a, aa, NSLayoutRelation::Equal, b, ba, m, c);
    k->setIdentifier("UIStackView");
    generated_.push_back(k);
  };
  std::vector<UIView*> views;
  for (auto& v : arranged_) {
    if (!v->isHidden()) views.push_back(v.get());
  }
  if (views.empty()) return;
  make(views.front(), lead, this, lead, 1, 0);
  make(this, trail, views.back(), trail, 1, 0);
  for (size_t i = 1; i < views.size(); ++i) {
    switch (distribution_) {
      case UIStackViewDistribution::EqualSpacing: {
        auto gap = std::make_shared<UILayoutGuide>();
        gap->setIdentifier("UISV-distributing");
        addLayoutGuide(gap);
        gaps_.push_back(gap);
        make(gap.get(), lead, views[i - 1], trail, 1, 0);
        make(views[i], lead, gap.get(), trail, 1, 0);
        if (gaps_.size() > 1) make(gap.get(), length, gaps_.front().get(), length, 1, 0);
        break;
      }
      case UIStackViewDistribution::FillEqually:
        make(views[i], lead, views[i - 1], trail, 1, spacing_);
        make(views[i], length, views[0], length, 1, 0);
        break;
      default: make(views[i], lead, views[i - 1], trail, 1, spacing_); break;
    }
  }
  for (UIView* v : views) {
    switch (alignment_) {
      case UIStackViewAlignment::Fill:
        make(v, crossLead, this, crossLead, 1, 0);
        make(v, crossTrail, this, crossTrail, 1, 0);
        break;
      case UIStackViewAlignment::Leading: make(v, crossLead, this, crossLead, 1, 0); break;
      case UIStackViewAlignment::Trailing: make(v, crossTrail, this, crossTrail, 1, 0); break;
      default: make(v, crossCenter, this, crossCenter, 1, 0); break;
    }
  }
  addConstraints(generated_);
}

}  // namespace platform
