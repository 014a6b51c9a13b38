#pragma once

#include <string>
#include <string_view>

#include "platform/springboard/screen/ViewPeer.h"
#include "platform/ui/UIView.h"

namespace platform::springboard {

// A view of the device's screen whose class is a runtime class of the
// device (SBIconView, _UIStatusBar...): hooks on its methods run, and its
// layoutSubviews goes through the runtime before the subclass's
// layoutContents() places its subviews.
class ScreenView : public UIView, public RuntimeLayout {
 public:
  ScreenView(std::string_view className, const CGRect& frame = CGRectZero, Ref<Object> existing = {});

  // The runtime object of the view (null when its class does not exist on this device).
  id object() const { return peer_.object(); }
  void layoutSubviews() final { peer_.layoutSubviews(*this); }
  void layoutOwnSubviews() final;
  // What the view shows, for traces ("com.apple.Maps" for an icon, a row's title); may be empty.
  const std::string& detail() const { return detail_; }
  void setDetail(std::string detail) { detail_ = std::move(detail); }

 protected:
  // Places the subviews; called by the runtime's layoutSubviews.
  virtual void layoutContents() {}

 private:
  ViewPeer peer_;
  std::string detail_;
};

}  // namespace platform::springboard
