#include "platform/ui/UIBezierPath.h"

#include <algorithm>
#include <cmath>

namespace platform {

namespace {
// Control-point distance of a cubic that approximates a quarter circle of radius 1.
constexpr double kKappa = 0.5522847498307936;
}  // namespace

UIBezierPath UIBezierPath::bezierPathWithRect(const CGRect& rect) {
  CGRect r = CGRectStandardize(rect);
  UIBezierPath p;
  p.moveToPoint(r.origin);
  p.addLineToPoint({CGRectGetMaxX(r), r.origin.y});
  p.addLineToPoint({CGRectGetMaxX(r), CGRectGetMaxY(r)});
  p.addLineToPoint({r.origin.x, CGRectGetMaxY(r)});
  p.closePath();
  return p;
}

UIBezierPath UIBezierPath::bezierPathWithRoundedRect(const CGRect& rect, CGFloat cornerRadius) {
  CGRect r = CGRectStandardize(rect);
  double rad = std::clamp(cornerRadius, 0.0, std::min(r.size.width, r.size.height) / 2);
  if (rad <= 0) return bezierPathWithRect(r);
  double x0 = r.origin.x, y0 = r.origin.y, x1 = CGRectGetMaxX(r), y1 = CGRectGetMaxY(r);
  double k = rad * kKappa;
  UIBezierPath p;
  p.moveToPoint({x0 + rad, y0});
  p.addLineToPoint({x1 - rad, y0});
  p.addCurveToPoint({x1, y0 + rad}, {x1 - rad + k, y0}, {x1, y0 + rad - k});
  p.addLineToPoint({x1, y1 - rad});
  p.addCurveToPoint({x1 - rad, y1}, {x1, y1 - rad + k}, {x1 - rad + k, y1});
  p.addLineToPoint({x0 + rad, y1});
  p.addCurveToPoint({x0, y1 - rad}, {x0 + rad - k, y1}, {x0, y1 - rad + k});
  p.addLineToPoint({x0, y0 + rad});
  p.addCurveToPoint({x0 + rad, y0}, {x0, y0 + rad - k}, {x0 + rad - k, y0});
  p.closePath();
  return p;
}

UIBezierPath UIBezierPath::bezierPathWithOvalInRect(const CGRect& rect) {
  CGRect r = CGRectStandardize(rect);
  double cx = CGRectGetMidX(r), cy = CGRectGetMidY(r), rx = r.size.width / 2, ry = r.size.height / 2;
  double kx = rx * kKappa, ky = ry * kKappa;
  UIBezierPath p;
  p.moveToPoint({cx + rx, cy});
  p.addCurveToPoint({cx, cy + ry}, {cx + rx, cy + ky}, {cx + kx, cy + ry});
  p.addCurveToPoint({cx - rx, cy}, {cx - kx, cy + ry}, {cx - rx, cy + ky});
  p.addCurveToPoint({cx, cy - ry}, {cx - rx, cy - ky}, {cx - kx, cy - ry});
  p.addCurveToPoint({cx + rx, cy}, {cx + kx, cy - ry}, {cx + rx, cy - ky});
  p.closePath();
  return p;
}

void UIBezierPath::moveToPoint(CGPoint p) {
  elements_.push_back({ElementType::MoveTo, p, {}, {}});
  current_ = subpathStart_ = p;
}

void UIBezierPath::addLineToPoint(CGPoint p) {
  elements_.push_back({ElementType::LineTo, p, {}, {}});
  current_ = p;
}

void UIBezierPath::addCurveToPoint(CGPoint end, CGPoint control1, CGPoint control2) {
  elements_.push_back({ElementType::CurveTo, end, control1, control2});
  current_ = end;
}

void UIBezierPath::closePath() {
  elements_.push_back({ElementType::Close, {}, {}, {}});
  current_ = subpathStart_;
}

void UIBezierPath::appendPath(const UIBezierPath& other) {
  elements_.insert(elements_.end(), other.elements_.begin(), other.elements_.end());
  current_ = other.current_;
  subpathStart_ = other.subpathStart_;
}

void UIBezierPath::applyTransform(const CGAffineTransform& t) {
  for (auto& e : elements_) {
    if (e.type == ElementType::Close) continue;
    e.point = CGPointApplyAffineTransform(e.point, t);
    if (e.type == ElementType::CurveTo) {
      e.control1 = CGPointApplyAffineTransform(e.control1, t);
      e.control2 = CGPointApplyAffineTransform(e.control2, t);
    }
  }
  current_ = CGPointApplyAffineTransform(current_, t);
  subpathStart_ = CGPointApplyAffineTransform(subpathStart_, t);
}

CGRect UIBezierPath::bounds() const {
  bool any = false;
  double x0 = 0, y0 = 0, x1 = 0, y1 = 0;
  auto add = [&](CGPoint p) {
    if (!any) {
      x0 = x1 = p.x;
      y0 = y1 = p.y;
      any = true;
      return;
    }
    x0 = std::min(x0, p.x);
    y0 = std::min(y0, p.y);
    x1 = std::max(x1, p.x);
    y1 = std::max(y1, p.y);
  };
  for (const auto& e : elements_) {
    if (e.type == ElementType::Close) continue;
    add(e.point);
    if (e.type == ElementType::CurveTo) {
      add(e.control1);
      add(e.control2);
    }
  }
  return any ? CGRectMake(x0, y0, x1 - x0, y1 - y0) : CGRectZero;
}

bool UIBezierPath::containsPoint(CGPoint p) const {
  // Non-zero winding over the path flattened into line segments.
  int winding = 0;
  CGPoint cur, start;
  auto edge = [&](CGPoint a, CGPoint b) {
    if (a.y <= p.y) {
      if (b.y > p.y && (b.x - a.x) * (p.y - a.y) - (p.x - a.x) * (b.y - a.y) > 0) ++winding;
    } else if (b.y <= p.y && (b.x - a.x) * (p.y - a.y) - (p.x - a.x) * (b.y - a.y) < 0) {
      --winding;
    }
  };
  for (const auto& e : elements_) {
    switch (e.type) {
      case ElementType::MoveTo:
        if (cur != start) edge(cur, start);
        cur = start = e.point;
        break;
      case ElementType::LineTo:
        edge(cur, e.point);
        cur = e.point;
        break;
      case ElementType::CurveTo: {
        CGPoint prev = cur;
        for (int i = 1; i <= 16; ++i) {
          double t = i / 16.0, u = 1 - t;
          CGPoint q{
              u * u * u * cur.x + 3 * u * u * t * e.control1.x + 3 * u * t * t * e.control2.x + t * t * t * e.point.x,
              u * u * u * cur.y + 3 * u * u * t * e.control1.y + 3 * u * t * t * e.control2.y + t * t * t * e.point.y};
          edge(prev, q);
          prev = q;
        }
        cur = e.point;
        break;
      }
      case ElementType::Close:
        edge(cur, start);
        cur = start;
        break;
    }
  }
  if (cur != start) edge(cur, start);
  return winding != 0;
}

}  // namespace platform
