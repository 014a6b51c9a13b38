#include "platform/ui/LayoutSolver.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <vector>

#include "platform/foundation/Log.h"
#include "platform/ui/NSLayoutConstraint.h"
#include "platform/ui/UILayoutGuide.h"
#include "platform/ui/UIScrollView.h"
#include "platform/ui/UIView.h"

namespace platform {

namespace {

constexpr double kEps = 1e-9;

enum Var { X = 0, W = 1, Y = 2, H = 3 };

struct Item {
  LayoutItem* item;
  UIView* container;  // the view whose bounds space the item's rect is in
  bool fixed;         // placed by frame
  bool content;       // a scroll view's content guide
  int index;
};

// A linear equation: sum(coef[i] * var[i]) = rhs.
struct Equation {
  std::vector<double> coef;
  double rhs = 0;
  float priority = 1000;
  int order = 0;
  NSLayoutRelation relation = NSLayoutRelation::Equal;
};

class System {
 public:
  explicit System(size_t n) : n_(n) {}

  // Adds the equation if it agrees with those kept so far; returns false on a conflict.
  bool add(Equation e) {
    std::vector<double>& c = e.coef;
    for (const auto& row : rows_) {
      double f = c[row.pivot];
      if (std::fabs(f) < kEps) continue;
      for (size_t i = 0; i < n_; ++i) c[i] -= f * row.coef[i];
      e.rhs -= f * row.rhs;
    }
    size_t pivot = n_;
    double best = 0;
    for (size_t i = 0; i < n_; ++i) {
      if (std::fabs(c[i]) > best + kEps) {
        best = std::fabs(c[i]);
        pivot = i;
      }
    }
    if (pivot == n_ || best < 1e-7) return std::fabs(e.rhs) < 1e-6;  // redundant or conflicting
    double f = c[pivot];
    for (size_t i = 0; i < n_; ++i) c[i] /= f;
    e.rhs /= f;
    c[pivot] = 1;
    for (auto& row : rows_) {
      double g = row.coef[pivot];
      if (std::fabs(g) < kEps) continue;
      for (size_t i = 0; i < n_; ++i) row.coef[i] -= g * c[i];
      row.rhs -= g * e.rhs;
      row.coef[pivot] = 0;
    }
    rows_.push_back({std::move(c), e.rhs, pivot});
    return true;
  }

  // Values of the unknowns (each is pinned by some kept equation: the current frames come last).
  std::vector<double> values() const {
    std::vector<double> v(n_, 0);
    for (const auto& row : rows_) v[row.pivot] = row.rhs;
    return v;
  }

 private:
  struct Row {
    std::vector<double> coef;
    double rhs;
    size_t pivot;
  };
  size_t n_;
  std::vector<Row> rows_;
};

}  // namespace

class LayoutSolver::Impl {
 public:
  explicit Impl(UIView& root) : root_(root) {}

  void run() {
    collect(root_);
    buildConstraints();
    if (constraints_.empty()) return;
    buildFixedAndStays();
    std::vector<bool> asEquality(constraints_.size(), false);
    std::vector<double> values;
    for (int round = 0; round < 4; ++round) {
      values = solveWith(asEquality);
      bool changed = false;
      for (size_t i = 0; i < constraints_.size(); ++i) {
        const auto& c = constraints_[i];
        if (c.relation == NSLayoutRelation::Equal || asEquality[i]) continue;
        double lhs = 0;
        for (size_t k = 0; k < n_; ++k) lhs += c.coef[k] * values[k];
        bool ok = c.relation == NSLayoutRelation::GreaterThanOrEqual ? lhs >= c.rhs - 1e-6 : lhs <= c.rhs + 1e-6;
        if (!ok) {
          asEquality[i] = true;
          changed = true;
        }
      }
      if (!changed) break;
    }
    writeBack(values);
  }

 private:
  struct Pending {
    NSLayoutConstraint* c;
    LayoutItem* first;
    LayoutItem* second;
    UIView* holder;
  };

  // Gathers the active constraints of the tree.
  void collect(UIView& v) {
    for (const auto& c : v.constraints()) {
      if (!c->firstItem()) continue;
      pending_.push_back(
          {c.get(), mapped(c->firstItem(), c->secondItem()), mapped(c->secondItem(), c->firstItem()), &v});
    }
    for (const auto& s : v.subviews()) collect(*s);
  }

  // A scroll view named together with one of its descendants means its content.
  LayoutItem* mapped(LayoutItem* item, LayoutItem* other) {
    if (!item || !other) return item;
    auto* sv = dynamic_cast<UIScrollView*>(item->asView());
    if (!sv) return item;
    UIView* ov = other->asView() ? other->asView() : other->layoutContainer();
    if (ov && ov != sv && ov->isDescendantOfView(sv)) return &sv->contentLayoutGuide();
    return item;
  }

  bool inTree(UIView* v) const { return v && v->isDescendantOfView(&root_); }

  bool addItem(LayoutItem* item) {
    if (!item) return true;
    if (index_.count(item)) return true;
    Item it{item, nullptr, false, false, static_cast<int>(items_.size())};
    if (item == &root_) {
      it.fixed = true;
    } else if (UIView* v = item->asView()) {
      it.container = v->superview();
      if (!inTree(it.container)) return false;
      it.fixed = v->translatesAutoresizingMaskIntoConstraints();
    } else {
      auto* g = static_cast<UILayoutGuide*>(item);
      it.container = g->owningView();
      if (!inTree(it.container)) return false;
      it.fixed = g->isSafeAreaGuide();
      it.content = g->content_;
    }
    index_[item] = it.index;
    items_.push_back(it);
    return true;
  }

  int var(LayoutItem* item, Var v) const { return index_.at(item) * 4 + v; }

  // Translation from `view`'s bounds space to the root's, from current frames.
  CGPoint offsetOf(UIView* view) const {
    CGPoint o{0, 0};
    for (UIView* v = view; v && v != &root_; v = v->superview()) {
      CGRect r = v->layoutRect();
      o.x += r.origin.x - v->bounds().origin.x;
      o.y += r.origin.y - v->bounds().origin.y;
    }
    return o;
  }

  // Adds coefficients for "position of `item`'s container bounds origin" on one axis:
  // the container's own unknown when it is in the system, else a constant.
  double containerOffset(const Item& it, bool horizontal, std::vector<double>& coef) const {
    UIView* c = it.container;
    if (!c) return 0;
    auto found = index_.find(c);
    if (found != index_.end() && c != &root_) {
      coef[found->second * 4 + (horizontal ? X : Y)] += 1;
      return -(horizontal ? c->bounds().origin.x : c->bounds().origin.y);
    }
    CGPoint o = offsetOf(c);
    return horizontal ? o.x : o.y;
  }

  void buildConstraints() {
    int order = 0;
    for (const auto& p : pending_) {
      if (!addItem(p.first) || !addItem(p.second)) continue;
      resolved_.push_back(p);
    }
    n_ = items_.size() * 4;
    for (const auto& p : resolved_) {
      NSLayoutConstraint* c = p.c;
      NSLayoutAttribute a1 = c->firstAttribute(), a2 = c->secondAttribute();
      double constant = c->constant();
      bool rtl = p.holder->effectiveUserInterfaceLayoutDirection() == UIUserInterfaceLayoutDirection::RightToLeft;
      auto flip = [](NSLayoutAttribute a) {
        if (a == NSLayoutAttribute::Leading) return NSLayoutAttribute::Right;
        if (a == NSLayoutAttribute::Trailing) return NSLayoutAttribute::Left;
        return a;
      };
      auto plain = [](NSLayoutAttribute a) {
        if (a == NSLayoutAttribute::Leading) return NSLayoutAttribute::Left;
        if (a == NSLayoutAttribute::Trailing) return NSLayoutAttribute::Right;
        return a;
      };
      bool directional = a1 == NSLayoutAttribute::Leading || a1 == NSLayoutAttribute::Trailing ||
                         a2 == NSLayoutAttribute::Leading || a2 == NSLayoutAttribute::Trailing;
      NSLayoutRelation rel = c->relation();
      if (rtl && directional) {
        a1 = flip(a1);
        a2 = flip(a2);
        constant = -constant;
        if (rel != NSLayoutRelation::Equal) {
          rel = rel == NSLayoutRelation::GreaterThanOrEqual ? NSLayoutRelation::LessThanOrEqual
                                                            : NSLayoutRelation::GreaterThanOrEqual;
        }
      } else {
        a1 = plain(a1);
        a2 = plain(a2);
      }
      Equation e;
      e.coef.assign(n_, 0);
      e.relation = rel;
      e.priority = c->priority();
      e.order = order++;
      double rhs = constant;
      if (!term(p.first, a1, 1.0, e.coef, rhs)) continue;
      if (p.second && a2 != NSLayoutAttribute::NotAnAttribute) {
        if (!term(p.second, a2, -c->multiplier(), e.coef, rhs)) continue;
      }
      e.rhs = rhs;
      constraints_.push_back(std::move(e));
    }
  }

  // Adds factor × attribute(item) to the left side.
  bool term(LayoutItem* item, NSLayoutAttribute a, double factor, std::vector<double>& coef, double& rhs) const {
    (void)rhs;
    switch (a) {
      case NSLayoutAttribute::Left: coef[var(item, X)] += factor; return true;
      case NSLayoutAttribute::Right:
        coef[var(item, X)] += factor;
        coef[var(item, W)] += factor;
        return true;
      case NSLayoutAttribute::Top: coef[var(item, Y)] += factor; return true;
      case NSLayoutAttribute::Bottom:
        coef[var(item, Y)] += factor;
        coef[var(item, H)] += factor;
        return true;
      case NSLayoutAttribute::Width: coef[var(item, W)] += factor; return true;
      case NSLayoutAttribute::Height: coef[var(item, H)] += factor; return true;
      case NSLayoutAttribute::CenterX:
        coef[var(item, X)] += factor;
        coef[var(item, W)] += factor / 2;
        return true;
      case NSLayoutAttribute::CenterY:
        coef[var(item, Y)] += factor;
        coef[var(item, H)] += factor / 2;
        return true;
      default: return false;
    }
  }

  Equation make(float priority, int order) const {
    Equation e;
    e.coef.assign(n_, 0);
    e.priority = priority;
    e.order = order;
    return e;
  }

  // Fixed items, the content guides' origins, intrinsic sizes and the current frames.
  void buildFixedAndStays() {
    int order = 1 << 20;
    for (const Item& it : items_) {
      CGRect r;
      if (it.item == &root_) {
        r = root_.bounds();
      } else {
        r = it.item->layoutRect();
      }
      bool positionFixed = it.fixed || it.content;
      for (bool horizontal : {true, false}) {
        Var pv = horizontal ? X : Y, sv = horizontal ? W : H;
        double pos = horizontal ? r.origin.x : r.origin.y;
        double len = horizontal ? r.size.width : r.size.height;
        if (positionFixed) {
          Equation e = make(UILayoutPriorityRequired, -1);
          e.coef[it.index * 4 + pv] = 1;
          double off = it.item == &root_ ? 0 : containerOffset(it, horizontal, e.coef);
          for (auto& x : e.coef) x = -x;
          e.coef[it.index * 4 + pv] = 1;
          e.rhs = pos + off;
          fixed_.push_back(std::move(e));
        }
        if (it.fixed) {
          Equation e = make(UILayoutPriorityRequired, -1);
          e.coef[it.index * 4 + sv] = 1;
          e.rhs = len;
          fixed_.push_back(std::move(e));
        }
        if (!it.fixed) {
          if (UIView* v = it.item->asView()) {
            CGSize intrinsic = v->intrinsicContentSize();
            double l = horizontal ? intrinsic.width : intrinsic.height;
            if (l >= 0) {
              Equation e = make(v->contentHuggingPriorityForAxis(horizontal ? UILayoutConstraintAxis::Horizontal
                                                                            : UILayoutConstraintAxis::Vertical),
                                order++);
              e.coef[it.index * 4 + sv] = 1;
              e.rhs = l;
              stays_.push_back(std::move(e));
            }
          }
          // Current place, weakest of all (root coordinates from the current frames).
          Equation ep = make(0, order++);
          CGPoint co = offsetOf(it.container);
          ep.coef[it.index * 4 + pv] = 1;
          ep.rhs = pos + (horizontal ? co.x : co.y);
          weakest_.push_back(std::move(ep));
          Equation es = make(0, order++);
          es.coef[it.index * 4 + sv] = 1;
          es.rhs = len;
          weakest_.push_back(std::move(es));
        }
      }
    }
  }

  std::vector<double> solveWith(const std::vector<bool>& asEquality) {
    std::vector<const Equation*> list;
    for (const auto& e : fixed_) list.push_back(&e);
    std::vector<const Equation*> ordered;
    for (size_t i = 0; i < constraints_.size(); ++i) {
      if (constraints_[i].relation == NSLayoutRelation::Equal || asEquality[i]) ordered.push_back(&constraints_[i]);
    }
    for (const auto& e : stays_) ordered.push_back(&e);
    std::stable_sort(ordered.begin(), ordered.end(), [](const Equation* a, const Equation* b) {
      if (a->priority != b->priority) return a->priority > b->priority;
      return a->order < b->order;
    });
    list.insert(list.end(), ordered.begin(), ordered.end());
    for (const auto& e : weakest_) list.push_back(&e);
    System system(n_);
    bool logged = false;
    for (const Equation* e : list) {
      if (!system.add(*e) && e->priority >= UILayoutPriorityRequired && e->order >= 0 && !logged) {
        Log::write("Layout: unable to satisfy all required constraints; one was broken");
        logged = true;
      }
    }
    return system.values();
  }

  void writeBack(const std::vector<double>& v) {
    for (const Item& it : items_) {
      if (it.item == &root_) continue;
      double x = v[it.index * 4 + X], w = v[it.index * 4 + W], y = v[it.index * 4 + Y], h = v[it.index * 4 + H];
      if (it.content) {
        auto* sv = static_cast<UIScrollView*>(it.container);
        sv->setContentSize({w, h});
        continue;
      }
      if (it.fixed) continue;
      // Back from root coordinates to the container's bounds space.
      double ox, oy;
      auto found = index_.find(it.container);
      if (found != index_.end() && it.container != &root_) {
        ox = v[found->second * 4 + X] - it.container->bounds().origin.x;
        oy = v[found->second * 4 + Y] - it.container->bounds().origin.y;
      } else {
        CGPoint o = offsetOf(it.container);
        ox = o.x;
        oy = o.y;
      }
      CGRect r{{x - ox, y - oy}, {w, h}};
      if (UIView* view = it.item->asView()) {
        view->solvedRect_ = r;
        CGRect now = view->layoutRect();
        if (!(nearlyEqual(now.origin.x, r.origin.x, 1e-7) && nearlyEqual(now.origin.y, r.origin.y, 1e-7) &&
              nearlyEqual(now.size.width, r.size.width, 1e-7) && nearlyEqual(now.size.height, r.size.height, 1e-7))) {
          if (UIView* s = view->superview()) s->setNeedsLayout();
        }
      } else {
        static_cast<UILayoutGuide*>(it.item)->frame_ = r;
      }
    }
  }

  UIView& root_;
  std::vector<Pending> pending_;
  std::vector<Pending> resolved_;
  std::vector<Item> items_;
  std::map<const LayoutItem*, int> index_;
  size_t n_ = 0;
  std::vector<Equation> constraints_;
  std::vector<Equation> fixed_;
  std::vector<Equation> stays_;
  std::vector<Equation> weakest_;
};

void LayoutSolver::solve(UIView& root) { Impl(root).run(); }

}  // namespace platform
