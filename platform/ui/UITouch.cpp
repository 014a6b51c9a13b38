#include "platform/ui/UITouch.h"

#include "platform/ui/UIView.h"

namespace platform {

CGPoint UITouch::locationInView(const UIView* view) const {
  return view ? view->convertPointFrom(location_, nullptr) : location_;
}

CGPoint UITouch::previousLocationInView(const UIView* view) const {
  return view ? view->convertPointFrom(previous_, nullptr) : previous_;
}

}  // namespace platform
