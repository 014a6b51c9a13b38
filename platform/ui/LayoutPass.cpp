#include "platform/ui/LayoutPass.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "platform/foundation/TaskEnvironment.h"
#include "platform/ui/LayoutSolver.h"
#include "platform/ui/UIView.h"
#include "platform/ui/UIViewController.h"

namespace platform {

namespace {
constexpr int kMaxRounds = 6;
constexpr int kMaxDepth = 8;

struct Pending {
  std::vector<std::weak_ptr<UIView>> views;
  bool posted = false;
};
Pending& pending() {
  static Pending* p = new Pending();
  return *p;
}

// Forgets the queued pass if the environment drops it unrun.
struct PassGuard {
  bool ran = false;
  ~PassGuard() {
    if (!ran) pending().posted = false;
  }
};

}  // namespace

void LayoutPass::visit(UIView& v) {
  v.subtreeNeedsLayout_ = false;
  if (v.needsLayout_) {
    v.needsLayout_ = false;
    UIViewController* vc = v.viewController();
    if (vc) vc->viewWillLayoutSubviews();
    v.layoutSubviews();
    if (vc) vc->viewDidLayoutSubviews();
  }
  auto subviews = v.subviews();  // layout may change the list
  for (auto& s : subviews) {
    if (s->superview() == &v && (s->needsLayout_ || s->subtreeNeedsLayout_)) visit(*s);
  }
}

void LayoutPass::run(UIView& root) {
  // layoutSubviews may ask for layout again (to place its children at once); nesting is
  // allowed, but not without end.
  static int depth = 0;
  if (depth >= kMaxDepth) return;
  ++depth;
  for (int round = 0; round < kMaxRounds && (root.needsLayout_ || root.subtreeNeedsLayout_); ++round) {
    LayoutSolver::solve(root);
    visit(root);
  }
  --depth;
}

void LayoutPass::schedule(UIView& view) {
  auto weak = view.weak_from_this();
  if (weak.expired()) return;  // not yet owned (still being built): its superview schedules later
  Pending& p = pending();
  p.views.push_back(std::move(weak));
  if (p.posted) return;
  p.posted = true;
  auto guard = std::make_shared<PassGuard>();
  TaskEnvironment::current().mainLoop().post([guard] {
    guard->ran = true;
    Pending& q = pending();
    q.posted = false;
    auto views = std::move(q.views);
    q.views.clear();
    for (auto& w : views) {
      if (auto v = w.lock()) v->layoutIfNeeded();
    }
  });
}

}  // namespace platform
