#pragma once

#include <memory>
#include <vector>

#include "platform/ui/UIViewController.h"

namespace platform {

class UIButton;
class UILabel;
class UINavigationItem;

// A stack of pages under a navigation bar (UINavigationController). The top
// page's view fills the controller's view under a translucent bar (the
// device's status bar and 44 points below it) that shows a back button titled with the page below,
// the top page's title or title view, and its right button. Owns the pages on
// its stack; each page finds it through navigationControllerOf().
class UINavigationController : public UIViewController {
 public:
  // The height of the bar with the status bar above it: 64 points without a notch, 88 with one.
  static double barHeight();

  explicit UINavigationController(std::shared_ptr<UIViewController> root);
  ~UINavigationController() override;

  const std::vector<std::shared_ptr<UIViewController>>& viewControllers() const { return stack_; }
  UIViewController* topViewController() const { return stack_.empty() ? nullptr : stack_.back().get(); }
  // Pushes a page on top (its view loads and appears).
  void pushViewController(std::shared_ptr<UIViewController> page, bool animated);
  // Removes the top page unless it is the only one; answers it.
  std::shared_ptr<UIViewController> popViewControllerAnimated(bool animated);

  // The navigation item of `page` (made on first use, kept with the page).
  static UINavigationItem& navigationItemOf(UIViewController& page);
  // Forgets the navigation item of a page that goes away.
  static void forgetPage(const UIViewController* page);
  // The navigation controller whose stack holds `page`, or null.
  static UINavigationController* navigationControllerOf(const UIViewController& page);

  bool prefersLargeTitles() const { return largeTitles_; }
  void setPrefersLargeTitles(bool large) { largeTitles_ = large; }
  // The bar's back button and the views that show the top item (for taps and looks).
  UIButton* backButton() const { return back_.get(); }
  UIButton* rightButton() const { return right_.get(); }
  UILabel* titleLabel() const { return title_.get(); }

  void loadView() override;
  void viewWillLayoutSubviews() override;

 private:
  void showTop();
  void refreshBar();
  std::vector<std::shared_ptr<UIViewController>> stack_;
  std::shared_ptr<UIView> bar_;
  std::shared_ptr<UIButton> back_;
  std::shared_ptr<UIButton> right_;
  std::shared_ptr<UILabel> title_;
  std::shared_ptr<UIView> shownTitleView_;
  bool largeTitles_ = true;
};

}  // namespace platform
