#pragma once

#include <memory>
#include <vector>

#include "platform/ui/Geometry.h"
#include "platform/ui/NSLayoutAnchor.h"

namespace platform {

class NSLayoutConstraint;
class UIView;

// Something layout constraints can place: a view or a layout guide. Keeps
// track of the constraints that name it, so that an item that goes away
// deactivates them instead of leaving them pointing at nothing.
class LayoutItem {
 public:
  LayoutItem() = default;
  virtual ~LayoutItem();
  LayoutItem(const LayoutItem&) = delete;
  LayoutItem& operator=(const LayoutItem&) = delete;

  NSLayoutAnchor leftAnchor() { return {this, NSLayoutAttribute::Left}; }
  NSLayoutAnchor rightAnchor() { return {this, NSLayoutAttribute::Right}; }
  NSLayoutAnchor topAnchor() { return {this, NSLayoutAttribute::Top}; }
  NSLayoutAnchor bottomAnchor() { return {this, NSLayoutAttribute::Bottom}; }
  NSLayoutAnchor leadingAnchor() { return {this, NSLayoutAttribute::Leading}; }
  NSLayoutAnchor trailingAnchor() { return {this, NSLayoutAttribute::Trailing}; }
  NSLayoutAnchor widthAnchor() { return {this, NSLayoutAttribute::Width}; }
  NSLayoutAnchor heightAnchor() { return {this, NSLayoutAttribute::Height}; }
  NSLayoutAnchor centerXAnchor() { return {this, NSLayoutAttribute::CenterX}; }
  NSLayoutAnchor centerYAnchor() { return {this, NSLayoutAttribute::CenterY}; }

  // The view in whose coordinate space the item's layout frame is given: a view's superview,
  // a guide's owning view (null when the item is not in a tree).
  virtual UIView* layoutContainer() const = 0;
  // The item's rectangle in layoutContainer()'s bounds coordinates.
  virtual CGRect layoutRect() const = 0;
  // The view itself, for a view item; null for a guide.
  virtual UIView* asView() { return nullptr; }
  // Whether an active constraint names this item.
  bool isReferencedByActiveConstraint() const;
  // Deactivates every constraint that names this item.
  void deactivateReferencingConstraints();

 private:
  friend class NSLayoutConstraint;
  std::vector<std::weak_ptr<NSLayoutConstraint>> referencing_;
};

}  // namespace platform
