#include "platform/ui/UIViewController.h"

#include <algorithm>

#include "platform/foundation/Log.h"
#include "platform/foundation/TaskEnvironment.h"
#include "platform/ui/UIScreen.h"
#include "platform/ui/UIWindow.h"

namespace platform {

namespace {
bool coversPresenter(UIModalPresentationStyle s) {
  return s == UIModalPresentationStyle::FullScreen || s == UIModalPresentationStyle::PageSheet ||
         s == UIModalPresentationStyle::FormSheet || s == UIModalPresentationStyle::CurrentContext;
}

// Runs a transition's end: after the animation, or on the next turn of the main loop without one.
void runTransition(UIView* view, UIModalTransitionStyle style, bool animated, bool appearing,
                   std::function<void()> done) {
  if (!animated || !view) {
    TaskEnvironment::current().mainLoop().post(std::move(done));
    return;
  }
  auto finished = [done = std::move(done)](bool) { done(); };
  double d = UIViewController::kTransitionDuration;
  if (style == UIModalTransitionStyle::CoverVertical) {
    CGPoint home = view->center();
    double h = view->bounds().size.height;
    if (appearing) {
      view->setCenter({home.x, home.y + h});
      UIView::animateWithDuration(
          d, 0, UIViewAnimationOptions::CurveEaseOut, [view, home] { view->setCenter(home); }, finished);
    } else {
      UIView::animateWithDuration(
          d, 0, UIViewAnimationOptions::CurveEaseIn,
          [view, home, h] {
            view->setCenter({home.x, home.y + h});
          },
          finished);
    }
    return;
  }
  if (appearing) {
    double alpha = view->alpha();
    view->setAlpha(0);
    UIView::animateWithDuration(
        d, 0, UIViewAnimationOptions::CurveEaseInOut, [view, alpha] { view->setAlpha(alpha); }, finished);
  } else {
    UIView::animateWithDuration(
        d, 0, UIViewAnimationOptions::CurveEaseInOut, [view] { view->setAlpha(0); }, finished);
  }
}
}  // namespace

UIViewController::~UIViewController() {
  if (view_) view_->controller_ = nullptr;
  for (auto& c : children_) c->parent_ = nullptr;
}

UIView* UIViewController::view() { return viewPtr().get(); }

const std::shared_ptr<UIView>& UIViewController::viewPtr() {
  if (!view_) {
    loadView();
    if (!view_) setView(std::make_shared<UIView>(UIScreen::mainScreen().bounds()));
    viewDidLoad();
  }
  return view_;
}

void UIViewController::setView(std::shared_ptr<UIView> view) {
  if (view_) view_->controller_ = nullptr;
  view_ = std::move(view);
  if (view_) view_->controller_ = this;
}

void UIViewController::loadView() { setView(std::make_shared<UIView>(UIScreen::mainScreen().bounds())); }

void UIViewController::presentViewController(std::shared_ptr<UIViewController> vc, bool animated,
                                             Completion completion) {
  if (!vc || vc.get() == this) return;
  if (presented_) {
    Log::write("Attempt to present a view controller on one which is already presenting");
    return;
  }
  if (vc->presenting_.lock()) {
    Log::write("Attempt to present a view controller which is already presented");
    return;
  }
  auto self = shared_from_this();
  UIWindow* window = isViewLoaded() ? view_->window() : nullptr;
  presented_ = vc;
  vc->presenting_ = self;
  if (window) vc->hostWindow_ = std::static_pointer_cast<UIWindow>(window->weak_from_this().lock());
  UIView* v = vc->view();
  bool covers = coversPresenter(vc->presentationStyle_);
  vc->beingPresented_ = true;
  if (window) {
    v->setFrame(window->bounds());
    v->setAutoresizingMask(UIViewAutoresizing::FlexibleWidth | UIViewAutoresizing::FlexibleHeight);
  }
  vc->viewWillAppear(animated);
  if (covers && isViewLoaded()) viewWillDisappear(animated);
  if (window) window->addSubview(vc->viewPtr());
  auto done = [self, vc, animated, covers, completion = std::move(completion)] {
    vc->beingPresented_ = false;
    vc->viewDidAppear(animated);
    if (covers) self->viewDidDisappear(animated);
    if (completion) completion();
  };
  runTransition(window ? v : nullptr, vc->transitionStyle_, animated, true, std::move(done));
}

void UIViewController::showViewController(std::shared_ptr<UIViewController> vc, UIViewController*) {
  presentViewController(std::move(vc), true, nullptr);
}

void UIViewController::dismissViewControllerAnimated(bool animated, Completion completion) {
  if (presented_) {
    finishDismissal(animated, std::move(completion));
    return;
  }
  if (auto p = presenting_.lock()) p->dismissViewControllerAnimated(animated, std::move(completion));
}

// Dismisses presented_ (anything it presents goes at once, without animation).
void UIViewController::finishDismissal(bool animated, Completion completion) {
  auto vc = presented_;
  if (vc->beingDismissed_) return;
  if (vc->presented_) {
    auto top = vc->presented_;
    if (top->presented_) top->finishDismissal(false, nullptr);
    top->viewWillDisappear(false);
    if (top->view_) top->view_->removeFromSuperview();
    top->viewDidDisappear(false);
    top->presenting_.reset();
    top->hostWindow_.reset();
    vc->presented_.reset();
  }
  auto self = shared_from_this();
  bool covers = coversPresenter(vc->presentationStyle_);
  vc->beingDismissed_ = true;
  vc->viewWillDisappear(animated);
  if (covers && isViewLoaded()) viewWillAppear(animated);
  auto done = [self, vc, animated, covers, completion = std::move(completion)] {
    if (vc->view_) vc->view_->removeFromSuperview();
    vc->viewDidDisappear(animated);
    if (covers && self->isViewLoaded()) self->viewDidAppear(animated);
    if (self->presented_ == vc) self->presented_.reset();
    vc->presenting_.reset();
    vc->beingDismissed_ = false;
    auto window = std::move(vc->hostWindow_);  // the window may go once nothing else holds it
    if (completion) completion();
  };
  bool inWindow = vc->view_ && vc->view_->window();
  runTransition(inWindow ? vc->view_.get() : nullptr, vc->transitionStyle_, animated, false, std::move(done));
}

void UIViewController::addChildViewController(const std::shared_ptr<UIViewController>& child) {
  if (!child || child.get() == this) return;
  child->removeFromParentViewController();
  children_.push_back(child);
  child->parent_ = this;
}

void UIViewController::removeFromParentViewController() {
  if (!parent_) return;
  auto& list = parent_->children_;
  auto self = shared_from_this();
  list.erase(std::remove(list.begin(), list.end(), self), list.end());
  parent_ = nullptr;
}

}  // namespace platform
