#pragma once

#include <cmath>

namespace platform {

// Core Graphics geometry as the views use it: points, sizes, rectangles, edge
// insets and 2-D affine transforms, all in points (doubles). Plain values.
using CGFloat = double;

struct CGPoint {
  CGFloat x = 0;
  CGFloat y = 0;
  bool operator==(const CGPoint&) const = default;
};

struct CGSize {
  CGFloat width = 0;
  CGFloat height = 0;
  bool operator==(const CGSize&) const = default;
};

struct CGRect {
  CGPoint origin;
  CGSize size;
  bool operator==(const CGRect&) const = default;
};

// Insets from each edge (UIEdgeInsets), positive inwards.
struct UIEdgeInsets {
  CGFloat top = 0;
  CGFloat left = 0;
  CGFloat bottom = 0;
  CGFloat right = 0;
  bool operator==(const UIEdgeInsets&) const = default;
};

// x' = a x + c y + tx, y' = b x + d y + ty.
struct CGAffineTransform {
  CGFloat a = 1, b = 0, c = 0, d = 1, tx = 0, ty = 0;
  bool operator==(const CGAffineTransform&) const = default;
};

inline constexpr CGPoint CGPointZero{};
inline constexpr CGSize CGSizeZero{};
inline constexpr CGRect CGRectZero{};
inline constexpr CGAffineTransform CGAffineTransformIdentity{};

inline CGPoint CGPointMake(CGFloat x, CGFloat y) { return {x, y}; }
inline CGSize CGSizeMake(CGFloat w, CGFloat h) { return {w, h}; }
inline CGRect CGRectMake(CGFloat x, CGFloat y, CGFloat w, CGFloat h) { return {{x, y}, {w, h}}; }
inline UIEdgeInsets UIEdgeInsetsMake(CGFloat top, CGFloat left, CGFloat bottom, CGFloat right) {
  return {top, left, bottom, right};
}

// Edges and centre of a rectangle (a negative size counts from the other side, as in CG).
CGFloat CGRectGetMinX(const CGRect& r);
CGFloat CGRectGetMinY(const CGRect& r);
CGFloat CGRectGetMaxX(const CGRect& r);
CGFloat CGRectGetMaxY(const CGRect& r);
CGFloat CGRectGetMidX(const CGRect& r);
CGFloat CGRectGetMidY(const CGRect& r);
inline CGFloat CGRectGetWidth(const CGRect& r) { return std::fabs(r.size.width); }
inline CGFloat CGRectGetHeight(const CGRect& r) { return std::fabs(r.size.height); }
// The same rectangle with a non-negative size.
CGRect CGRectStandardize(const CGRect& r);
// Whether the point lies inside (minimum edges inclusive, maximum edges exclusive).
bool CGRectContainsPoint(const CGRect& r, CGPoint p);
// Grows (negative d) or shrinks the rectangle on each side.
CGRect CGRectInset(const CGRect& r, CGFloat dx, CGFloat dy);
// Moves the rectangle.
CGRect CGRectOffset(const CGRect& r, CGFloat dx, CGFloat dy);
// Whether the rectangles overlap with a non-empty intersection.
bool CGRectIntersectsRect(const CGRect& a, const CGRect& b);
// The overlap of two rectangles (zero rectangle when none).
CGRect CGRectIntersection(const CGRect& a, const CGRect& b);
// The smallest rectangle holding both.
CGRect CGRectUnion(const CGRect& a, const CGRect& b);
// Whether the rectangle has zero area.
bool CGRectIsEmpty(const CGRect& r);
// The rectangle shrunk by the insets.
CGRect UIEdgeInsetsInsetRect(const CGRect& r, const UIEdgeInsets& insets);

CGAffineTransform CGAffineTransformMakeScale(CGFloat sx, CGFloat sy);
CGAffineTransform CGAffineTransformMakeRotation(CGFloat angle);
CGAffineTransform CGAffineTransformMakeTranslation(CGFloat tx, CGFloat ty);
// t1 then t2.
CGAffineTransform CGAffineTransformConcat(const CGAffineTransform& t1, const CGAffineTransform& t2);
// Scale, rotation or translation applied before `t`.
CGAffineTransform CGAffineTransformScale(const CGAffineTransform& t, CGFloat sx, CGFloat sy);
CGAffineTransform CGAffineTransformRotate(const CGAffineTransform& t, CGFloat angle);
CGAffineTransform CGAffineTransformTranslate(const CGAffineTransform& t, CGFloat tx, CGFloat ty);
// The inverse; a singular transform is returned unchanged (as CG does).
CGAffineTransform CGAffineTransformInvert(const CGAffineTransform& t);
bool CGAffineTransformIsIdentity(const CGAffineTransform& t);
CGPoint CGPointApplyAffineTransform(CGPoint p, const CGAffineTransform& t);
CGSize CGSizeApplyAffineTransform(CGSize s, const CGAffineTransform& t);
// The bounding box of the transformed rectangle.
CGRect CGRectApplyAffineTransform(const CGRect& r, const CGAffineTransform& t);

// Whether two values differ by at most `eps` (for comparisons after arithmetic).
inline bool nearlyEqual(CGFloat a, CGFloat b, CGFloat eps = 1e-9) { return std::fabs(a - b) <= eps; }

}  // namespace platform
