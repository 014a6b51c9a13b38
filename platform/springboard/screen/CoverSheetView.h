#pragma once

#include <memory>
#include <string>

#include "platform/springboard/screen/ScreenLabel.h"
#include "platform/springboard/screen/ScreenView.h"

namespace platform {

class UIImageView;
class UIVisualEffectView;

namespace springboard {

class SystemProfile;

// The cover sheet (CSCoverSheetView from 13.0, SBDashBoardView below): as
// the lock screen, the padlock, the time in large type and the date over a
// blurred veil; pulled down over the unlocked device, Notification Center
// with its title and "No Older Notifications".
class CoverSheetView final : public ScreenView {
 public:
  enum class Mode { LockScreen, NotificationCenter };

  CoverSheetView(const SystemProfile& profile, Mode mode);

  // The time ("9:41") and the date ("Tuesday, January 9").
  void setTime(const std::string& time, const std::string& date);

 protected:
  void layoutContents() override;

 private:
  Mode mode_;
  std::shared_ptr<UIVisualEffectView> veil_;
  std::shared_ptr<UIImageView> padlock_;
  std::shared_ptr<ScreenLabel> time_;
  std::shared_ptr<ScreenLabel> date_;
  std::shared_ptr<ScreenLabel> title_;
  std::shared_ptr<ScreenLabel> empty_;
};

}  // namespace springboard
}  // namespace platform
