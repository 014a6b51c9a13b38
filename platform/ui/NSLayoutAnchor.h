#pragma once

#include <memory>

namespace platform {

class LayoutItem;
class NSLayoutConstraint;

// The attributes a constraint relates (NSLayoutAttribute, same values).
enum class NSLayoutAttribute {
  NotAnAttribute = 0,
  Left = 1,
  Right = 2,
  Top = 3,
  Bottom = 4,
  Leading = 5,
  Trailing = 6,
  Width = 7,
  Height = 8,
  CenterX = 9,
  CenterY = 10,
};

// item1.attr1 (relation) item2.attr2 × multiplier + constant (NSLayoutRelation, same values).
enum class NSLayoutRelation { LessThanOrEqual = -1, Equal = 0, GreaterThanOrEqual = 1 };

// One attribute of a layout item, for building constraints in the anchor style
// (view->topAnchor().constraintEqualToAnchor(other->bottomAnchor(), 8)).
// Constraints made here are not active until activated.
class NSLayoutAnchor {
 public:
  NSLayoutAnchor(LayoutItem* item, NSLayoutAttribute attribute) : item_(item), attribute_(attribute) {}

  // this = other + constant.
  std::shared_ptr<NSLayoutConstraint> constraintEqualToAnchor(const NSLayoutAnchor& other, double constant = 0) const;
  // this = other × multiplier + constant (for widths and heights).
  std::shared_ptr<NSLayoutConstraint> constraintEqualToAnchor(const NSLayoutAnchor& other, double multiplier,
                                                              double constant) const;
  std::shared_ptr<NSLayoutConstraint> constraintGreaterThanOrEqualToAnchor(const NSLayoutAnchor& other,
                                                                           double constant = 0) const;
  std::shared_ptr<NSLayoutConstraint> constraintLessThanOrEqualToAnchor(const NSLayoutAnchor& other,
                                                                        double constant = 0) const;
  // this = constant (widths and heights).
  std::shared_ptr<NSLayoutConstraint> constraintEqualToConstant(double constant) const;

  LayoutItem* item() const { return item_; }
  NSLayoutAttribute attribute() const { return attribute_; }

 private:
  LayoutItem* item_;
  NSLayoutAttribute attribute_;
};

}  // namespace platform
