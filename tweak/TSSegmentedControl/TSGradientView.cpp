#include "tweak/TSSegmentedControl/TSGradientView.h"

#include <memory>

TSGradientView::TSGradientView(const platform::CGRect& frame)
    : UIView(frame, std::make_shared<platform::CAGradientLayer>()) {}
