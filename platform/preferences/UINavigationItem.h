#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/preferences/UIBarButtonItem.h"

namespace platform {

class UIView;

// What a page shows in the navigation bar while it is on top
// (UINavigationItem): a title or a title view, and a button on the right.
// Owned by its view controller; the bar is told of every change.
class UINavigationItem {
 public:
  const std::string& title() const { return title_; }
  void setTitle(std::string title) {
    title_ = std::move(title);
    changed();
  }
  const std::shared_ptr<UIView>& titleView() const { return titleView_; }
  void setTitleView(std::shared_ptr<UIView> view) {
    titleView_ = std::move(view);
    changed();
  }
  const std::shared_ptr<UIBarButtonItem>& rightBarButtonItem() const { return right_; }
  void setRightBarButtonItem(std::shared_ptr<UIBarButtonItem> item) {
    right_ = std::move(item);
    changed();
  }
  // Called after every change (set by the navigation bar that shows the item).
  void setChangeHandler(std::function<void()> handler) { onChange_ = std::move(handler); }

 private:
  void changed() {
    if (onChange_) onChange_();
  }
  std::string title_;
  std::shared_ptr<UIView> titleView_;
  std::shared_ptr<UIBarButtonItem> right_;
  std::function<void()> onChange_;
};

}  // namespace platform
