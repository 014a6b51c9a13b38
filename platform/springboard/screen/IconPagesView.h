#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/springboard/DeviceConfiguration.h"
#include "platform/springboard/screen/ScreenView.h"

namespace platform::springboard {

class IconView;
class IconViewDelegate;
class SystemProfile;

// SBIconController's view (SBIconScrollView): the app icons in pages of a
// fixed grid (4 × 6 on a phone, 5 × 6 on a tablet), one SBIconListView per
// page, with the page dots under them. A horizontal swipe of more than 40
// points moves one page (towards the leading side in a right-to-left
// layout, where pages and columns are mirrored); the pages follow the finger
// while it moves and settle with a 0.3 s animation.
class IconPagesView final : public ScreenView {
 public:
  IconPagesView(const SystemProfile& profile, IconViewDelegate& delegate);

  // Replaces the icons by one per app, in order.
  void setApps(const std::vector<InstalledApp>& apps);
  int pageCount() const { return static_cast<int>(pages_.size()); }
  int currentPage() const { return page_; }
  // Shows page `page` (clamped), animated or at once.
  void setCurrentPage(int page, bool animated);
  // The icon of the app, or null.
  IconView* iconFor(const std::string& bundleIdentifier) const;
  // The page the app's icon is on, or -1.
  int pageOf(const std::string& bundleIdentifier) const;
  // Icons per page.
  int iconsPerPage() const { return columns_ * rows_; }

 protected:
  void layoutContents() override;

 private:
  void panned(UIGestureRecognizer& g);
  double pageX(int page) const;

  const SystemProfile& profile_;
  IconViewDelegate& delegate_;
  int columns_;
  int rows_;
  double iconSide_;
  int page_ = 0;
  double dragOffset_ = 0;
  std::vector<std::shared_ptr<ScreenView>> pages_;
  std::vector<std::shared_ptr<IconView>> icons_;
  std::shared_ptr<ScreenView> dots_;
};

}  // namespace platform::springboard
