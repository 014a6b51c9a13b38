#pragma once

#include <vector>

#include "platform/ui/Geometry.h"

namespace platform {

// A path of straight and cubic Bézier segments (UIBezierPath / CGPath): used
// for shape masks, shadow paths and the renderer. A plain value; the renderer
// walks elements() in order.
class UIBezierPath {
 public:
  enum class ElementType { MoveTo, LineTo, CurveTo, Close };
  // One step of the path; CurveTo uses all three points (control 1, control 2, end).
  struct Element {
    ElementType type = ElementType::MoveTo;
    CGPoint point;     // end point (unused for Close)
    CGPoint control1;  // CurveTo only
    CGPoint control2;  // CurveTo only
    bool operator==(const Element&) const = default;
  };

  UIBezierPath() = default;

  // bezierPathWithRect:.
  static UIBezierPath bezierPathWithRect(const CGRect& rect);
  // bezierPathWithRoundedRect:cornerRadius: (circular corners, radius limited to half the shorter side).
  static UIBezierPath bezierPathWithRoundedRect(const CGRect& rect, CGFloat cornerRadius);
  // bezierPathWithOvalInRect:.
  static UIBezierPath bezierPathWithOvalInRect(const CGRect& rect);

  // Starts a new subpath at the point.
  void moveToPoint(CGPoint p);
  // A straight line from the current point.
  void addLineToPoint(CGPoint p);
  // A cubic curve to `end` with two control points (addCurveToPoint:controlPoint1:controlPoint2:).
  void addCurveToPoint(CGPoint end, CGPoint control1, CGPoint control2);
  // Closes the current subpath.
  void closePath();
  // Appends another path's elements.
  void appendPath(const UIBezierPath& other);
  // Transforms every point (translation for moving a shape).
  void applyTransform(const CGAffineTransform& t);

  const std::vector<Element>& elements() const { return elements_; }
  bool isEmpty() const { return elements_.empty(); }
  // The point where the next segment starts.
  CGPoint currentPoint() const { return current_; }
  // Bounding box of all points, control points included (CGPathGetBoundingBox is tighter; this is the "control" box).
  CGRect bounds() const;
  // Whether the point lies inside the filled path (non-zero winding; curves flattened).
  bool containsPoint(CGPoint p) const;

  bool operator==(const UIBezierPath& o) const { return elements_ == o.elements_; }

 private:
  std::vector<Element> elements_;
  CGPoint current_;
  CGPoint subpathStart_;
};

}  // namespace platform
