#include "platform/preferences/UINavigationController.h"

#include <map>

#include "platform/foundation/DeviceInfo.h"
#include "platform/preferences/UINavigationItem.h"
#include "platform/ui/UIButton.h"
#include "platform/ui/UILabel.h"

namespace platform {

namespace {

// The bar itself, below the status bar.
constexpr double kBarHeightBelowStatusBar = 44;

// The items and owners of the pages, by page. Pages are main-thread objects.
std::map<const UIViewController*, std::unique_ptr<UINavigationItem>>& items() {
  static auto* map = new std::map<const UIViewController*, std::unique_ptr<UINavigationItem>>();
  return *map;
}
std::map<const UIViewController*, UINavigationController*>& owners() {
  static auto* map = new std::map<const UIViewController*, UINavigationController*>();
  return *map;
}

// The text of the first label of a title view (pages that draw their own title).
std::string firstLabelText(const UIView& view) {
  if (auto* label = dynamic_cast<const UILabel*>(&view); label && !label->text().empty()) return label->text();
  for (const auto& sub : view.subviews())
    if (auto text = firstLabelText(*sub); !text.empty()) return text;
  return {};
}

}  // namespace

double UINavigationController::barHeight() {
  return DeviceInfo::current().statusBarHeight() + kBarHeightBelowStatusBar;
}

UINavigationController::UINavigationController(std::shared_ptr<UIViewController> root) {
  if (root) {
    owners()[root.get()] = this;
    stack_.push_back(std::move(root));
  }
}

UINavigationController::~UINavigationController() {
  for (const auto& page : stack_) {
    owners().erase(page.get());
    items().erase(page.get());
  }
}

UINavigationItem& UINavigationController::navigationItemOf(UIViewController& page) {
  auto& item = items()[&page];
  if (!item) item = std::make_unique<UINavigationItem>();
  return *item;
}

void UINavigationController::forgetPage(const UIViewController* page) {
  items().erase(page);
  owners().erase(page);
}

UINavigationController* UINavigationController::navigationControllerOf(const UIViewController& page) {
  auto it = owners().find(&page);
  return it == owners().end() ? nullptr : it->second;
}

void UINavigationController::loadView() {
  UIViewController::loadView();
  view()->setBackgroundColor(UIColor::whiteColor());
  bar_ = std::make_shared<UIView>(CGRectMake(0, 0, view()->bounds().size.width, barHeight()));
  bar_->setBackgroundColor(UIColor::colorWithWhite(0.97, 0.94));
  back_ = UIButton::buttonWithType(UIButtonType::System);
  back_->addTarget(
      this, [this](UIControl&) { popViewControllerAnimated(true); }, UIControlEvents::TouchUpInside);
  right_ = UIButton::buttonWithType(UIButtonType::System);
  right_->addTarget(
      this,
      [this](UIControl&) {
        if (auto* top = topViewController())
          if (auto& item = navigationItemOf(*top).rightBarButtonItem()) item->tap();
      },
      UIControlEvents::TouchUpInside);
  title_ = std::make_shared<UILabel>();
  title_->setFont(UIFont::boldSystemFontOfSize(17));
  title_->setTextAlignment(NSTextAlignment::Center);
  for (const auto& v : std::initializer_list<std::shared_ptr<UIView>>{back_, right_, title_}) bar_->addSubview(v);
  view()->addSubview(bar_);
  showTop();
}

void UINavigationController::viewWillLayoutSubviews() {
  if (!bar_) return;
  CGRect b = view()->bounds();
  bar_->setFrame(CGRectMake(0, 0, b.size.width, barHeight()));
  if (auto* top = topViewController()) top->view()->setFrame(b);
  refreshBar();
}

void UINavigationController::pushViewController(std::shared_ptr<UIViewController> page, bool animated) {
  if (!page) return;
  UIViewController* below = topViewController();
  if (below && isViewLoaded()) {
    below->viewWillDisappear(animated);
    if (below->isViewLoaded()) below->view()->removeFromSuperview();
    below->viewDidDisappear(animated);
  }
  owners()[page.get()] = this;
  stack_.push_back(std::move(page));
  if (isViewLoaded()) showTop();
}

std::shared_ptr<UIViewController> UINavigationController::popViewControllerAnimated(bool animated) {
  if (stack_.size() < 2) return nullptr;
  auto page = stack_.back();
  if (isViewLoaded() && page->isViewLoaded()) {
    page->viewWillDisappear(animated);
    page->view()->removeFromSuperview();
    page->viewDidDisappear(animated);
  }
  stack_.pop_back();
  owners().erase(page.get());
  items().erase(page.get());
  if (isViewLoaded()) showTop();
  return page;
}

void UINavigationController::showTop() {
  auto* top = topViewController();
  if (!top) return;
  navigationItemOf(*top).setChangeHandler([this] { refreshBar(); });
  top->viewWillAppear(false);
  top->view()->setFrame(view()->bounds());
  view()->insertSubviewBelow(top->viewPtr(), bar_.get());
  refreshBar();
  top->viewDidAppear(false);
}

void UINavigationController::refreshBar() {
  auto* top = topViewController();
  if (!top || !bar_) return;
  UINavigationItem& item = navigationItemOf(*top);
  double width = bar_->bounds().size.width;
  const double barTop = DeviceInfo::current().statusBarHeight(), itemHeight = kBarHeightBelowStatusBar;
  if (stack_.size() > 1) {
    UIViewController& below = *stack_[stack_.size() - 2];
    std::string backTitle = navigationItemOf(below).title();
    if (backTitle.empty()) backTitle = below.title();
    if (backTitle.empty() && navigationItemOf(below).titleView())
      backTitle = firstLabelText(*navigationItemOf(below).titleView());
    back_->setTitle("\u2039 " + (backTitle.empty() ? std::string("Back") : backTitle), UIControlState::Normal);
    back_->setHidden(false);
    back_->setFrame(CGRectMake(8, barTop, 100, itemHeight));
  } else {
    back_->setHidden(true);
  }
  if (auto& right = item.rightBarButtonItem()) {
    right_->setTitle(right->title(), UIControlState::Normal);
    right_->setHidden(false);
    right_->setFrame(CGRectMake(width - 98, barTop, 90, itemHeight));
  } else {
    right_->setHidden(true);
  }
  if (shownTitleView_ && shownTitleView_ != item.titleView()) shownTitleView_->removeFromSuperview();
  shownTitleView_ = item.titleView();
  CGRect titleRect = CGRectMake(110, barTop, std::max(0.0, width - 220), itemHeight);
  if (shownTitleView_) {
    if (shownTitleView_->superview() != bar_.get()) bar_->addSubview(shownTitleView_);
    shownTitleView_->setFrame(titleRect);
    title_->setHidden(true);
  } else {
    title_->setText(item.title().empty() ? top->title() : item.title());
    title_->setFrame(titleRect);
    title_->setHidden(false);
  }
  bar_->layoutIfNeeded();
}

}  // namespace platform
