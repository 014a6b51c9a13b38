#include "platform/springboard/screen/ScreenLabel.h"

namespace platform::springboard {

ScreenLabel::ScreenLabel(const CGRect& frame) : UILabel(frame), peer_(this, "UILabel") {}

}  // namespace platform::springboard
