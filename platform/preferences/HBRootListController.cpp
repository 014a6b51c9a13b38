#include "platform/preferences/HBRootListController.h"

#include "platform/preferences/UITableView.h"

namespace platform {

void HBRootListController::hb_setAppearanceSettings(HBAppearanceSettings settings) {
  appearance_ = settings;
  if (isViewLoaded()) applyAppearance();
}

void HBRootListController::viewDidLoad() {
  PSListController::viewDidLoad();
  applyAppearance();
}

void HBRootListController::applyAppearance() {
  if (!appearance_) return;
  if (appearance_->tintColor) view()->setTintColor(appearance_->tintColor);
  if (appearance_->tableViewCellSeparatorColor) table()->setSeparatorColor(appearance_->tableViewCellSeparatorColor);
}

}  // namespace platform
