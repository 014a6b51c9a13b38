#include "platform/springboard/screen/ScreenView.h"

namespace platform::springboard {

ScreenView::ScreenView(std::string_view className, const CGRect& frame, Ref<Object> existing)
    : UIView(frame), peer_(this, className, std::move(existing)) {}

void ScreenView::layoutOwnSubviews() {
  UIView::layoutSubviews();
  layoutContents();
}

}  // namespace platform::springboard
