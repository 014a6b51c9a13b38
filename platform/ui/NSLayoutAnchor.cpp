#include "platform/ui/NSLayoutAnchor.h"

#include "platform/ui/NSLayoutConstraint.h"

namespace platform {

std::shared_ptr<NSLayoutConstraint> NSLayoutAnchor::constraintEqualToAnchor(const NSLayoutAnchor& other,
                                                                            double constant) const {
  return NSLayoutConstraint::constraintWithItem(item_, attribute_, NSLayoutRelation::Equal, other.item_,
                                                other.attribute_, 1, constant);
}

std::shared_ptr<NSLayoutConstraint> NSLayoutAnchor::constraintEqualToAnchor(const NSLayoutAnchor& other,
                                                                            double multiplier, double constant) const {
  return NSLayoutConstraint::constraintWithItem(item_, attribute_, NSLayoutRelation::Equal, other.item_,
                                                other.attribute_, multiplier, constant);
}

std::shared_ptr<NSLayoutConstraint> NSLayoutAnchor::constraintGreaterThanOrEqualToAnchor(const NSLayoutAnchor& other,
                                                                                         double constant) const {
  return NSLayoutConstraint::constraintWithItem(item_, attribute_, NSLayoutRelation::GreaterThanOrEqual, other.item_,
                                                other.attribute_, 1, constant);
}

std::shared_ptr<NSLayoutConstraint> NSLayoutAnchor::constraintLessThanOrEqualToAnchor(const NSLayoutAnchor& other,
                                                                                      double constant) const {
  return NSLayoutConstraint::constraintWithItem(item_, attribute_, NSLayoutRelation::LessThanOrEqual, other.item_,
                                                other.attribute_, 1, constant);
}

std::shared_ptr<NSLayoutConstraint> NSLayoutAnchor::constraintEqualToConstant(double constant) const {
  return NSLayoutConstraint::constraintWithItem(item_, attribute_, NSLayoutRelation::Equal, nullptr,
                                                NSLayoutAttribute::NotAnAttribute, 1, constant);
}

}  // namespace platform
