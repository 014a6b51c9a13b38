#include "platform/ui/Geometry.h"

#include <algorithm>

namespace platform {

CGRect CGRectStandardize(const CGRect& r) {
  CGRect s = r;
  if (s.size.width < 0) {
    s.origin.x += s.size.width;
    s.size.width = -s.size.width;
  }
  if (s.size.height < 0) {
    s.origin.y += s.size.height;
    s.size.height = -s.size.height;
  }
  return s;
}

CGFloat CGRectGetMinX(const CGRect& r) { return CGRectStandardize(r).origin.x; }
CGFloat CGRectGetMinY(const CGRect& r) { return CGRectStandardize(r).origin.y; }
CGFloat CGRectGetMaxX(const CGRect& r) {
  CGRect s = CGRectStandardize(r);
  return s.origin.x + s.size.width;
}
CGFloat CGRectGetMaxY(const CGRect& r) {
  CGRect s = CGRectStandardize(r);
  return s.origin.y + s.size.height;
}
CGFloat CGRectGetMidX(const CGRect& r) { return r.origin.x + r.size.width / 2; }
CGFloat CGRectGetMidY(const CGRect& r) { return r.origin.y + r.size.height / 2; }

bool CGRectContainsPoint(const CGRect& r, CGPoint p) {
  CGRect s = CGRectStandardize(r);
  return p.x >= s.origin.x && p.x < s.origin.x + s.size.width && p.y >= s.origin.y && p.y < s.origin.y + s.size.height;
}

CGRect CGRectInset(const CGRect& r, CGFloat dx, CGFloat dy) {
  CGRect s = CGRectStandardize(r);
  return {{s.origin.x + dx, s.origin.y + dy}, {s.size.width - 2 * dx, s.size.height - 2 * dy}};
}

CGRect CGRectOffset(const CGRect& r, CGFloat dx, CGFloat dy) { return {{r.origin.x + dx, r.origin.y + dy}, r.size}; }

bool CGRectIsEmpty(const CGRect& r) { return r.size.width == 0 || r.size.height == 0; }

CGRect CGRectIntersection(const CGRect& a, const CGRect& b) {
  CGRect s = CGRectStandardize(a), t = CGRectStandardize(b);
  CGFloat x0 = std::max(s.origin.x, t.origin.x), y0 = std::max(s.origin.y, t.origin.y);
  CGFloat x1 = std::min(CGRectGetMaxX(s), CGRectGetMaxX(t)), y1 = std::min(CGRectGetMaxY(s), CGRectGetMaxY(t));
  if (x1 <= x0 || y1 <= y0) return CGRectZero;
  return {{x0, y0}, {x1 - x0, y1 - y0}};
}

bool CGRectIntersectsRect(const CGRect& a, const CGRect& b) { return !CGRectIsEmpty(CGRectIntersection(a, b)); }

CGRect CGRectUnion(const CGRect& a, const CGRect& b) {
  CGRect s = CGRectStandardize(a), t = CGRectStandardize(b);
  CGFloat x0 = std::min(s.origin.x, t.origin.x), y0 = std::min(s.origin.y, t.origin.y);
  CGFloat x1 = std::max(CGRectGetMaxX(s), CGRectGetMaxX(t)), y1 = std::max(CGRectGetMaxY(s), CGRectGetMaxY(t));
  return {{x0, y0}, {x1 - x0, y1 - y0}};
}

CGRect UIEdgeInsetsInsetRect(const CGRect& r, const UIEdgeInsets& i) {
  return {{r.origin.x + i.left, r.origin.y + i.top},
          {r.size.width - i.left - i.right, r.size.height - i.top - i.bottom}};
}

CGAffineTransform CGAffineTransformMakeScale(CGFloat sx, CGFloat sy) { return {sx, 0, 0, sy, 0, 0}; }

CGAffineTransform CGAffineTransformMakeRotation(CGFloat angle) {
  CGFloat c = std::cos(angle), s = std::sin(angle);
  return {c, s, -s, c, 0, 0};
}

CGAffineTransform CGAffineTransformMakeTranslation(CGFloat tx, CGFloat ty) { return {1, 0, 0, 1, tx, ty}; }

CGAffineTransform CGAffineTransformConcat(const CGAffineTransform& t1, const CGAffineTransform& t2) {
  return {t1.a * t2.a + t1.b * t2.c, t1.a * t2.b + t1.b * t2.d,           t1.c * t2.a + t1.d * t2.c,
          t1.c * t2.b + t1.d * t2.d, t1.tx * t2.a + t1.ty * t2.c + t2.tx, t1.tx * t2.b + t1.ty * t2.d + t2.ty};
}

CGAffineTransform CGAffineTransformScale(const CGAffineTransform& t, CGFloat sx, CGFloat sy) {
  return CGAffineTransformConcat(CGAffineTransformMakeScale(sx, sy), t);
}
CGAffineTransform CGAffineTransformRotate(const CGAffineTransform& t, CGFloat angle) {
  return CGAffineTransformConcat(CGAffineTransformMakeRotation(angle), t);
}
CGAffineTransform CGAffineTransformTranslate(const CGAffineTransform& t, CGFloat tx, CGFloat ty) {
  return CGAffineTransformConcat(CGAffineTransformMakeTranslation(tx, ty), t);
}

CGAffineTransform CGAffineTransformInvert(const CGAffineTransform& t) {
  CGFloat det = t.a * t.d - t.b * t.c;
  if (det == 0) return t;
  CGAffineTransform r;
  r.a = t.d / det;
  r.b = -t.b / det;
  r.c = -t.c / det;
  r.d = t.a / det;
  r.tx = -(t.tx * r.a + t.ty * r.c);
  r.ty = -(t.tx * r.b + t.ty * r.d);
  return r;
}

bool CGAffineTransformIsIdentity(const CGAffineTransform& t) { return t == CGAffineTransformIdentity; }

CGPoint CGPointApplyAffineTransform(CGPoint p, const CGAffineTransform& t) {
  return {t.a * p.x + t.c * p.y + t.tx, t.b * p.x + t.d * p.y + t.ty};
}

CGSize CGSizeApplyAffineTransform(CGSize s, const CGAffineTransform& t) {
  return {t.a * s.width + t.c * s.height, t.b * s.width + t.d * s.height};
}

CGRect CGRectApplyAffineTransform(const CGRect& r, const CGAffineTransform& t) {
  CGRect s = CGRectStandardize(r);
  CGPoint pts[4] = {s.origin,
                    {s.origin.x + s.size.width, s.origin.y},
                    {s.origin.x, s.origin.y + s.size.height},
                    {s.origin.x + s.size.width, s.origin.y + s.size.height}};
  CGFloat x0 = 1e300, y0 = 1e300, x1 = -1e300, y1 = -1e300;
  for (CGPoint p : pts) {
    CGPoint q = CGPointApplyAffineTransform(p, t);
    x0 = std::min(x0, q.x);
    y0 = std::min(y0, q.y);
    x1 = std::max(x1, q.x);
    y1 = std::max(y1, q.y);
  }
  return {{x0, y0}, {x1 - x0, y1 - y0}};
}

}  // namespace platform
