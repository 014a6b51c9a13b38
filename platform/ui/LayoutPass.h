#pragma once

namespace platform {

class UIView;

// Runs layout over a view tree: solves its constraints (LayoutSolver), then
// calls layoutSubviews top-down on every view that needs it, repeating while
// layout itself invalidates more (a few rounds at most). Also queues one
// coalesced pass on the main loop for trees that asked for layout, as the
// platform does at the end of a run-loop turn.
class LayoutPass {
 public:
  // Lays out the tree whose root is `root` until nothing in it needs layout.
  static void run(UIView& root);
  // Queues a pass on the main loop for the tree that holds `view` (once per turn).
  static void schedule(UIView& view);

 private:
  static void visit(UIView& v);
};

}  // namespace platform
