#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/ui/NSLayoutAnchor.h"

namespace platform {

class LayoutItem;
class UIView;

using UILayoutPriority = float;
inline constexpr UILayoutPriority UILayoutPriorityRequired = 1000;
inline constexpr UILayoutPriority UILayoutPriorityDefaultHigh = 750;
inline constexpr UILayoutPriority UILayoutPriorityDefaultLow = 250;

// One linear layout rule, item1.attr1 (relation) item2.attr2 × multiplier +
// constant, with a priority (NSLayoutConstraint). An active constraint is held
// by a view (the nearest common ancestor of its items, or the view it was
// added to) and solved when that view's tree is laid out (LayoutSolver).
// Items are referred to, not owned: an item that goes away deactivates the
// constraints that name it.
class NSLayoutConstraint : public std::enable_shared_from_this<NSLayoutConstraint> {
 public:
  using Ptr = std::shared_ptr<NSLayoutConstraint>;

  // constraintWithItem:attribute:relatedBy:toItem:attribute:multiplier:constant:. A null
  // second item (NotAnAttribute) makes a constant rule.
  static Ptr constraintWithItem(LayoutItem* item1, NSLayoutAttribute attr1, NSLayoutRelation relation,
                                LayoutItem* item2, NSLayoutAttribute attr2, double multiplier, double constant);
  // constraintsWithVisualFormat:options:metrics:views: for chains along one axis, such as
  // "H:|-0-[v]-0-|", "V:|[a]-8-[b(40)]|" or "H:[a]-(gap)-[b]"; spacing "-" alone is 8. Names
  // and metrics come from the maps. An unparsable format logs a line and gives no constraint.
  static std::vector<Ptr> constraintsWithVisualFormat(const std::string& format, unsigned options,
                                                      const std::map<std::string, double>& metrics,
                                                      const std::map<std::string, UIView*>& views);
  // Activates each (installing it on the nearest common ancestor of its items).
  static void activateConstraints(const std::vector<Ptr>& constraints);
  // Deactivates each.
  static void deactivateConstraints(const std::vector<Ptr>& constraints);

  ~NSLayoutConstraint();
  NSLayoutConstraint(const NSLayoutConstraint&) = delete;
  NSLayoutConstraint& operator=(const NSLayoutConstraint&) = delete;

  LayoutItem* firstItem() const { return item1_; }
  NSLayoutAttribute firstAttribute() const { return attr1_; }
  NSLayoutRelation relation() const { return relation_; }
  LayoutItem* secondItem() const { return item2_; }
  NSLayoutAttribute secondAttribute() const { return attr2_; }
  double multiplier() const { return multiplier_; }
  double constant() const { return constant_; }
  // Changes the constant; the tree is laid out again.
  void setConstant(double c);
  UILayoutPriority priority() const { return priority_; }
  void setPriority(UILayoutPriority p);
  const std::string& identifier() const { return identifier_; }
  void setIdentifier(std::string id) { identifier_ = std::move(id); }

  // Whether the constraint is installed in a view.
  bool isActive() const { return holder_ != nullptr; }
  // Installs it on the nearest common ancestor of its items (false when they share none) or removes it.
  void setActive(bool active);
  // The view that holds it while active.
  UIView* holder() const { return holder_; }

  NSLayoutConstraint(LayoutItem* item1, NSLayoutAttribute attr1, NSLayoutRelation relation, LayoutItem* item2,
                     NSLayoutAttribute attr2, double multiplier, double constant);

 private:
  friend class UIView;
  friend class LayoutItem;
  void registerWithItems();
  void itemGone(LayoutItem* item);
  void invalidateHolderLayout() const;

  LayoutItem* item1_;
  NSLayoutAttribute attr1_;
  NSLayoutRelation relation_;
  LayoutItem* item2_;
  NSLayoutAttribute attr2_;
  double multiplier_;
  double constant_;
  UILayoutPriority priority_ = UILayoutPriorityRequired;
  std::string identifier_;
  UIView* holder_ = nullptr;
  bool registered_ = false;
};

}  // namespace platform
