#pragma once

#include <optional>

#include "platform/ui/UIBezierPath.h"

// Outline styles of the selector (the control's shapeStyle). Other values give no outline.
enum class TSSegmentedControlShapeStyle : unsigned { RoundedRect = 0, Dribble = 1 };

// The outlines of a segmented control's selector, as pure functions of the
// selector's width w, height h and a percentage q: a rounded rectangle, or
// the "dribble" capsule whose ends squeeze and whose waist narrows while it
// travels from one state to the next (q from 0 to 1; -1 < q < 0 draws as
// q + 1). Paths are in the selector's own coordinates. Stateless.
class TSSelectorShape {
 public:
  // The squeeze polynomial of the dribble outline: F(0) = 0, about 0.26 near 0.685, about 0 at 1.
  static double F(double t);
  // The dribble outline for percentage q.
  static platform::UIBezierPath dribblePathForSelectorViewFromPercentage(double w, double h, double q);
  // A rounded rectangle over (0, 0, w, h) with `cornerRadius`; the percentage plays no part.
  static platform::UIBezierPath roundedRectPathForSelectorViewFromPercentage(double w, double h, double cornerRadius);
  // The outline for `style`, or nothing for a style without outline.
  static std::optional<platform::UIBezierPath> pathForSelectorViewFromPercentage(TSSegmentedControlShapeStyle style,
                                                                                 double w, double h,
                                                                                 double cornerRadius, double q);
};
