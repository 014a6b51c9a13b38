#include "tweak/TSSegmentedControl/TSSelectorShape.h"

#include <cmath>

using platform::CGPoint;
using platform::UIBezierPath;

double TSSelectorShape::F(double t) {
  const double t2 = t * t, t3 = t2 * t, t4 = t3 * t, t5 = t4 * t, t6 = t5 * t, t7 = t6 * t, t8 = t7 * t;
  return 192.862 * t8 - 786.037 * t7 + 1325.23 * t6 - 1182.26 * t5 + 587.962 * t4 - 157.531 * t3 + 20.5313 * t2 -
         0.760045 * t;
}

UIBezierPath TSSelectorShape::dribblePathForSelectorViewFromPercentage(double w, double h, double q) {
  const double t = q < 0 ? q + 1 : q;
  const double r = h / 2;
  const double a = h * F(t);
  const double b = h * F(1 - t);
  const double x1 = r + (w - h) / 4;
  const double x3 = r + 3 * (w - h) / 4;
  const double xR = w - r;
  double y1 = (3 * a + b) / 4;
  double y3 = (a + 3 * b) / 4;
  if (t > 0.3 && t < 0.7) {
    const double waist = (0.2 - std::fabs(0.5 - t)) * (0.1 * h) / 0.2;
    y1 += waist;
    y3 += waist;
  }
  const double dx1 = x1 - r, dy1 = y1 - a, dxR = xR - x3, dyB = b - y3;
  const double k = h / 4;

  UIBezierPath path;
  path.moveToPoint({0, r});
  path.addCurveToPoint({r, a}, {0, r - k}, {r - dx1, a - dy1});
  path.addLineToPoint({x1, y1});
  path.addCurveToPoint({x3, y3}, {x1 + dx1 / 1.2, y1 + dy1 / 1.2}, {x3 - dxR / 1.2, y3 - dyB / 1.2});
  path.addLineToPoint({xR, b});
  path.addCurveToPoint({w, r}, {xR + dxR, b + dyB}, {w, r - k});
  path.addCurveToPoint({xR, h - b}, {w, r + k}, {xR + dxR, h - b - dyB});
  path.addLineToPoint({x3, h - y3});
  path.addCurveToPoint({x1, h - y1}, {x3 - dxR / 1.2, h - y3 + dyB / 1.2}, {x1 + dx1 / 1.2, h - y1 - dy1 / 1.2});
  path.addLineToPoint({r, h - a});
  path.addCurveToPoint({0, r}, {r - dx1, h - a + dy1}, {0, r + k});
  path.closePath();
  return path;
}

UIBezierPath TSSelectorShape::roundedRectPathForSelectorViewFromPercentage(double w, double h, double cornerRadius) {
  return UIBezierPath::bezierPathWithRoundedRect({{0, 0}, {w, h}}, cornerRadius);
}

std::optional<UIBezierPath> TSSelectorShape::pathForSelectorViewFromPercentage(TSSegmentedControlShapeStyle style,
                                                                               double w, double h, double cornerRadius,
                                                                               double q) {
  switch (style) {
    case TSSegmentedControlShapeStyle::RoundedRect:
      return roundedRectPathForSelectorViewFromPercentage(w, h, cornerRadius);
    case TSSegmentedControlShapeStyle::Dribble: return dribblePathForSelectorViewFromPercentage(w, h, q);
  }
  return std::nullopt;
}
