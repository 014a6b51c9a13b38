#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/runtime/Object.h"
#include "platform/springboard/screen/ScreenView.h"

namespace platform {

class UIVisualEffectView;

namespace springboard {

class IconView;
class IconViewDelegate;
class QuickActionRowView;
class SystemProfile;

// The quick-action menu of an icon, over the whole screen: a blurred,
// dimmed backdrop (a tap on it closes the menu) and a platter of rows next
// to the icon. Everything goes through the runtime as on the phone, so that
// plug-ins can add items and decorate rows:
//   - from 13.0 the items are the icon's applicationShortcutItems, each row
//     a _UIContextMenuActionView made by initWithTitle:subtitle:image:, and a
//     tap on a row closes the menu, then sends
//     +[SBIconView activateShortcut:withBundleIdentifier:forIconView:];
//   - below 13.0 the items come from an SBUIAppIconForceTouchControllerDataProvider,
//     each row is an SBUIActionView made by initWithAction: from an SBUIAction
//     whose handler sends appIconForceTouchShortcutViewController:activateApplicationShortcutItem:
//     to the SBUIAppIconForceTouchController; the menu's SBUIIconForceTouchViewController
//     is told viewDidLayoutSubviews once the rows are placed and closes the menu on
//     dismissAnimated:withCompletionHandler:.
// Owned by the home screen view; main thread.
class QuickActionMenu final : public ScreenView {
 public:
  QuickActionMenu(const SystemProfile& profile, IconViewDelegate& delegate);
  ~QuickActionMenu() override;

  // Opens the menu of `icon` (replacing an open one).
  void open(IconView& icon);
  // Closes the menu (its views go at the next turn of the main loop).
  void close();
  bool isOpen() const { return open_; }
  // The bundle identifier of the icon whose menu is open (empty when closed).
  const std::string& bundleIdentifier() const { return bundleIdentifier_; }
  // The rows in order, and their titles.
  const std::vector<std::shared_ptr<QuickActionRowView>>& rows() const { return rows_; }
  std::vector<std::string> titles() const;
  // The system's handling of `item`: closes the menu and hands the item to the delegate.
  void performStockShortcut(id item);

 protected:
  void layoutContents() override;

 private:
  void buildContextMenuRows(IconView& icon);
  void buildForceTouchRows();
  void addRow(id made, id item);

  const SystemProfile& profile_;
  IconViewDelegate& delegate_;
  bool open_ = false;
  std::string bundleIdentifier_;
  CGRect iconFrame_;  // in this view's coordinates
  Ref<Object> iconObject_;
  Ref<Object> forceTouchViewController_;
  Ref<Object> forceTouchController_;
  std::shared_ptr<UIVisualEffectView> backdrop_;
  std::shared_ptr<ScreenView> platter_;
  std::shared_ptr<UIView> liftedIcon_;  // the icon, drawn sharp above the backdrop
  std::vector<std::shared_ptr<QuickActionRowView>> rows_;
};

}  // namespace springboard
}  // namespace platform
