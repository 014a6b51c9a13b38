#include "platform/ui/LayoutItem.h"

#include "platform/ui/NSLayoutConstraint.h"

namespace platform {

LayoutItem::~LayoutItem() {
  auto refs = std::move(referencing_);
  for (auto& w : refs) {
    if (auto c = w.lock()) c->itemGone(this);
  }
}

bool LayoutItem::isReferencedByActiveConstraint() const {
  for (const auto& w : referencing_) {
    if (auto c = w.lock(); c && c->isActive()) return true;
  }
  return false;
}

void LayoutItem::deactivateReferencingConstraints() {
  auto refs = referencing_;
  for (auto& w : refs) {
    if (auto c = w.lock()) c->setActive(false);
  }
}

}  // namespace platform
