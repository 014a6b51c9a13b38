#include "platform/ui/NSLayoutConstraint.h"

#include <algorithm>
#include <cctype>

#include "platform/foundation/Log.h"
#include "platform/ui/LayoutItem.h"
#include "platform/ui/UIView.h"

namespace platform {

namespace {
// The view an item lives in for finding a common ancestor: a view itself, a guide's owner.
UIView* anchorView(LayoutItem* item) {
  if (!item) return nullptr;
  if (UIView* v = item->asView()) return v;
  return item->layoutContainer();
}

UIView* commonAncestor(UIView* a, UIView* b) {
  if (!a) return b;
  if (!b) return a;
  for (UIView* x = a; x; x = x->superview()) {
    if (b->isDescendantOfView(x)) return x;
  }
  return nullptr;
}
}  // namespace

NSLayoutConstraint::NSLayoutConstraint(LayoutItem* item1, NSLayoutAttribute attr1, NSLayoutRelation relation,
                                       LayoutItem* item2, NSLayoutAttribute attr2, double multiplier, double constant)
    : item1_(item1),
      attr1_(attr1),
      relation_(relation),
      item2_(item2),
      attr2_(attr2),
      multiplier_(multiplier),
      constant_(constant) {}

NSLayoutConstraint::~NSLayoutConstraint() = default;

NSLayoutConstraint::Ptr NSLayoutConstraint::constraintWithItem(LayoutItem* item1, NSLayoutAttribute attr1,
                                                               NSLayoutRelation relation, LayoutItem* item2,
                                                               NSLayoutAttribute attr2, double multiplier,
                                                               double constant) {
  if (!item2) attr2 = NSLayoutAttribute::NotAnAttribute;
  auto c = std::make_shared<NSLayoutConstraint>(item1, attr1, relation, item2, attr2, multiplier, constant);
  c->registerWithItems();
  return c;
}

void NSLayoutConstraint::registerWithItems() {
  if (registered_) return;
  registered_ = true;
  auto self = weak_from_this();
  for (LayoutItem* item : {item1_, item2_}) {
    if (!item) continue;
    auto& refs = item->referencing_;
    refs.erase(std::remove_if(refs.begin(), refs.end(), [](const auto& w) { return w.expired(); }), refs.end());
    refs.push_back(self);
    if (item1_ == item2_) break;
  }
}

void NSLayoutConstraint::itemGone(LayoutItem* item) {
  setActive(false);
  if (item1_ == item) item1_ = nullptr;
  if (item2_ == item) item2_ = nullptr;
}

void NSLayoutConstraint::setConstant(double c) {
  if (constant_ == c) return;
  constant_ = c;
  invalidateHolderLayout();
}

void NSLayoutConstraint::setPriority(UILayoutPriority p) {
  priority_ = std::clamp(p, 1.0f, 1000.0f);
  invalidateHolderLayout();
}

void NSLayoutConstraint::invalidateHolderLayout() const {
  if (holder_) holder_->setNeedsLayout();
}

void NSLayoutConstraint::setActive(bool active) {
  if (active == isActive()) return;
  if (!active) {
    holder_->removeConstraint(shared_from_this());
    return;
  }
  if (!item1_) return;
  UIView* holder = commonAncestor(anchorView(item1_), anchorView(item2_));
  if (!holder) {
    Log::write("NSLayoutConstraint: items have no common ancestor; constraint not activated");
    return;
  }
  holder->addConstraint(shared_from_this());
}

void NSLayoutConstraint::activateConstraints(const std::vector<Ptr>& constraints) {
  for (const auto& c : constraints) {
    if (c) c->setActive(true);
  }
}

void NSLayoutConstraint::deactivateConstraints(const std::vector<Ptr>& constraints) {
  for (const auto& c : constraints) {
    if (c) c->setActive(false);
  }
}

// --- Visual format -------------------------------------------------------------

namespace {

struct Parser {
  const std::string& s;
  size_t i = 0;
  bool ok = true;

  bool eof() const { return i >= s.size(); }
  char peek() const { return eof() ? '\0' : s[i]; }
  bool take(char c) {
    if (peek() != c) return false;
    ++i;
    return true;
  }
  std::string name() {
    size_t start = i;
    while (!eof() && (std::isalnum(static_cast<unsigned char>(s[i])) || s[i] == '_')) ++i;
    return s.substr(start, i - start);
  }
  // A number or a metric name.
  bool value(const std::map<std::string, double>& metrics, double* out) {
    size_t start = i;
    if (peek() == '-' || peek() == '+') ++i;
    while (!eof() && (std::isdigit(static_cast<unsigned char>(s[i])) || s[i] == '.')) ++i;
    if (i > start && !(i == start + 1 && !std::isdigit(static_cast<unsigned char>(s[start])))) {
      *out = std::stod(s.substr(start, i - start));
      return true;
    }
    i = start;
    std::string n = name();
    auto it = metrics.find(n);
    if (n.empty() || it == metrics.end()) return false;
    *out = it->second;
    return true;
  }
  // A predicate such as "40", "==40", ">=8" or "metric".
  bool predicate(const std::map<std::string, double>& metrics, NSLayoutRelation* rel, double* out) {
    *rel = NSLayoutRelation::Equal;
    if (take('=')) {
      if (!take('=')) return false;
    } else if (take('>')) {
      if (!take('=')) return false;
      *rel = NSLayoutRelation::GreaterThanOrEqual;
    } else if (take('<')) {
      if (!take('=')) return false;
      *rel = NSLayoutRelation::LessThanOrEqual;
    }
    return value(metrics, out);
  }
};

}  // namespace

std::vector<NSLayoutConstraint::Ptr> NSLayoutConstraint::constraintsWithVisualFormat(
    const std::string& format, unsigned /*options*/, const std::map<std::string, double>& metrics,
    const std::map<std::string, UIView*>& views) {
  std::string f;
  for (char ch : format) {
    if (!std::isspace(static_cast<unsigned char>(ch))) f += ch;
  }
  auto fail = [&format](const std::string& why) {
    Log::write("NSLayoutConstraint: cannot parse visual format \"" + format + "\": " + why);
    return std::vector<Ptr>{};
  };
  bool vertical = false;
  Parser p{f};
  if (f.rfind("H:", 0) == 0) {
    p.i = 2;
  } else if (f.rfind("V:", 0) == 0) {
    vertical = true;
    p.i = 2;
  }
  NSLayoutAttribute lead = vertical ? NSLayoutAttribute::Top : NSLayoutAttribute::Leading;
  NSLayoutAttribute trail = vertical ? NSLayoutAttribute::Bottom : NSLayoutAttribute::Trailing;
  NSLayoutAttribute size = vertical ? NSLayoutAttribute::Height : NSLayoutAttribute::Width;

  std::vector<Ptr> out;
  UIView* superview = nullptr;
  LayoutItem* previous = nullptr;  // the last view, or null right after "|"
  bool atSuperEdge = p.take('|');
  // Spacing between the previous element and the next: nullopt = adjacent (0).
  auto spacing = [&](bool toSuper, double* gap, bool* has) -> bool {
    *has = false;
    if (!p.take('-')) return true;
    *has = true;
    if (p.peek() == '[' || p.peek() == '|') {
      *gap = (toSuper || p.peek() == '|') ? 20 : 8;
      return true;
    }
    bool paren = p.take('(');
    NSLayoutRelation rel;
    if (!p.predicate(metrics, &rel, gap)) return false;
    if (paren && !p.take(')')) return false;
    return p.take('-');
  };

  while (!p.eof()) {
    double gap = 0;
    bool hasGap = false;
    if (p.peek() != '[') {
      if (!spacing(atSuperEdge, &gap, &hasGap)) return fail("bad spacing");
    }
    if (p.take('|')) {
      if (!previous) return fail("edge without a view");
      if (!superview) return fail("view has no superview");
      out.push_back(constraintWithItem(superview, trail, NSLayoutRelation::Equal, previous, trail, 1, gap));
      if (!p.eof()) return fail("text after the closing edge");
      break;
    }
    if (!p.take('[')) return fail("expected a view");
    std::string n = p.name();
    auto it = views.find(n);
    if (n.empty() || it == views.end() || !it->second) return fail("unknown view " + n);
    UIView* v = it->second;
    if (!superview) superview = v->superview();
    if (p.take('(')) {
      NSLayoutRelation rel;
      double value = 0;
      if (!p.predicate(metrics, &rel, &value) || !p.take(')')) return fail("bad size predicate");
      out.push_back(constraintWithItem(v, size, rel, nullptr, NSLayoutAttribute::NotAnAttribute, 1, value));
    }
    if (!p.take(']')) return fail("expected ]");
    if (atSuperEdge) {
      if (!superview) return fail("view has no superview");
      out.push_back(constraintWithItem(v, lead, NSLayoutRelation::Equal, superview, lead, 1, gap));
    } else if (previous) {
      out.push_back(constraintWithItem(v, lead, NSLayoutRelation::Equal, previous, trail, 1, gap));
    }
    previous = v;
    atSuperEdge = false;
  }
  return out;
}

}  // namespace platform
