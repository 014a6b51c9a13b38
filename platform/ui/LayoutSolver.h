#pragma once

namespace platform {

class UIView;

// Solves the active layout constraints held in one view tree. Every item that
// a constraint names gets four unknowns (x, width, y, height in the root's
// coordinates). Items placed by frame (translatesAutoresizingMask, safe-area
// guides, the root) are fixed where they are; a scroll view's content guide
// sits at the content origin with the content size unknown. Equations are
// taken in priority order (required first; intrinsic content sizes at the
// view's hugging priority; the current frames last, so an under-constrained
// item keeps its place) and each is kept only if it agrees with those
// before it; a conflicting required one is logged and dropped. Inequalities
// are left out unless the solution breaks them, in which case they are added
// as equalities and the system is solved again. Results go to the views
// (applied by their superviews' layoutSubviews), guides and content sizes.
class LayoutSolver {
 public:
  static void solve(UIView& root);

 private:
  class Impl;
};

}  // namespace platform
