#pragma once

#include "platform/springboard/screen/ViewPeer.h"
#include "platform/ui/UILabel.h"

namespace platform::springboard {

// A label of the screen that is also a runtime object ("UILabel"), so that
// private-field reads of a view's labels find it.
class ScreenLabel : public UILabel, public RuntimeLayout {
 public:
  explicit ScreenLabel(const CGRect& frame = CGRectZero);

  id object() const { return peer_.object(); }
  void layoutSubviews() final { peer_.layoutSubviews(*this); }
  void layoutOwnSubviews() final { UILabel::layoutSubviews(); }

 private:
  ViewPeer peer_;
};

}  // namespace platform::springboard
