#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/ui/UIView.h"

namespace platform {

class UIWindow;

// How a presented controller covers the screen (UIModalPresentationStyle, same values).
enum class UIModalPresentationStyle {
  FullScreen = 0,
  PageSheet = 1,
  FormSheet = 2,
  CurrentContext = 3,
  Custom = 4,
  OverFullScreen = 5,
  OverCurrentContext = 6
};
// How it comes and goes (UIModalTransitionStyle, same values).
enum class UIModalTransitionStyle { CoverVertical = 0, FlipHorizontal = 1, CrossDissolve = 2 };

// Manages one view tree (UIViewController): the root view is made on first
// use (loadView, then viewDidLoad); appearance calls come around being shown
// and hidden. Controllers are held by std::shared_ptr. Presentation: a
// presenter holds the controller it presents (presentedViewController) and
// the presented one refers back (presentingViewController); the presented
// view goes on top of the presenter's window, filling it, and holds that
// window alive while shown. Animated presentations take 0.35 s (cross-dissolve
// fades alpha in, cover-vertical slides up from the bottom); completions run
// when the transition ends. Over-full-screen presentations keep the
// presenter's view on screen (no disappearance calls for it).
class UIViewController : public std::enable_shared_from_this<UIViewController> {
 public:
  using Completion = std::function<void()>;
  static constexpr double kTransitionDuration = 0.35;

  UIViewController() = default;
  virtual ~UIViewController();
  UIViewController(const UIViewController&) = delete;
  UIViewController& operator=(const UIViewController&) = delete;

  // The root view (loaded on first use).
  UIView* view();
  const std::shared_ptr<UIView>& viewPtr();
  // Replaces the root view (as loadView does).
  void setView(std::shared_ptr<UIView> view);
  bool isViewLoaded() const { return view_ != nullptr; }
  // Makes the root view; the default is a plain view with the main screen's bounds.
  virtual void loadView();
  virtual void viewDidLoad() {}
  virtual void viewWillAppear(bool /*animated*/) {}
  virtual void viewDidAppear(bool /*animated*/) {}
  virtual void viewWillDisappear(bool /*animated*/) {}
  virtual void viewDidDisappear(bool /*animated*/) {}
  virtual void viewWillLayoutSubviews() {}
  virtual void viewDidLayoutSubviews() {}

  const std::string& title() const { return title_; }
  void setTitle(std::string t) { title_ = std::move(t); }

  UIModalPresentationStyle modalPresentationStyle() const { return presentationStyle_; }
  void setModalPresentationStyle(UIModalPresentationStyle s) { presentationStyle_ = s; }
  UIModalTransitionStyle modalTransitionStyle() const { return transitionStyle_; }
  void setModalTransitionStyle(UIModalTransitionStyle s) { transitionStyle_ = s; }

  // presentViewController:animated:completion:. Ignored (with a log line) when this controller
  // already presents one or `vc` is already presented.
  virtual void presentViewController(std::shared_ptr<UIViewController> vc, bool animated, Completion completion);
  // showViewController:sender: — without a navigation container this presents `vc` modally, animated.
  virtual void showViewController(std::shared_ptr<UIViewController> vc, UIViewController* sender);
  // dismissViewControllerAnimated:completion: — dismisses what this controller presents, or,
  // when it presents nothing, itself from its presenter (with everything above).
  virtual void dismissViewControllerAnimated(bool animated, Completion completion);
  // The controller this one presents, or null.
  const std::shared_ptr<UIViewController>& presentedViewController() const { return presented_; }
  // The controller that presents this one, or null.
  std::shared_ptr<UIViewController> presentingViewController() const { return presenting_.lock(); }
  // Whether a presentation or dismissal transition of this controller is running.
  bool isBeingPresented() const { return beingPresented_; }
  bool isBeingDismissed() const { return beingDismissed_; }

  // Containment: children and parent.
  void addChildViewController(const std::shared_ptr<UIViewController>& child);
  void removeFromParentViewController();
  UIViewController* parentViewController() const { return parent_; }
  const std::vector<std::shared_ptr<UIViewController>>& childViewControllers() const { return children_; }

 private:
  friend class UIWindow;
  void finishDismissal(bool animated, Completion completion);

  std::shared_ptr<UIView> view_;
  std::string title_;
  UIModalPresentationStyle presentationStyle_ = UIModalPresentationStyle::FullScreen;
  UIModalTransitionStyle transitionStyle_ = UIModalTransitionStyle::CoverVertical;
  std::shared_ptr<UIViewController> presented_;
  std::weak_ptr<UIViewController> presenting_;
  std::shared_ptr<UIWindow> hostWindow_;  // kept alive while this controller is presented
  bool beingPresented_ = false;
  bool beingDismissed_ = false;
  UIViewController* parent_ = nullptr;
  std::vector<std::shared_ptr<UIViewController>> children_;
};

}  // namespace platform
