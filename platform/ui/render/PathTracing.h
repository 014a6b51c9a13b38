#pragma once

#include "platform/ui/Geometry.h"
#include "platform/ui/UIBezierPath.h"

typedef struct _cairo cairo_t;

namespace platform {

// Turns the toolkit's geometry into Cairo paths in the context's current
// user space. Each function starts a new path (the previous one is dropped).
class PathTracing {
 public:
  // The path's elements as a Cairo path.
  static void trace(cairo_t* cr, const UIBezierPath& path);
  // A rectangle with circular corners of `radius` (limited to half the shorter side; 0 is a plain rectangle).
  static void traceRoundedRect(cairo_t* cr, const CGRect& rect, double radius);
  // Multiplies the Cairo transform by a toolkit affine transform.
  static void concat(cairo_t* cr, const CGAffineTransform& t);
};

}  // namespace platform
