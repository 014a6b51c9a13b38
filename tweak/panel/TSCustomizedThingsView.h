#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/runtime/Selector.h"
#include "platform/runtime/TypeEncoding.h"
#include "platform/ui/UIColor.h"
#include "platform/ui/UIView.h"
#include "tweak/panel/TSCustomizedThingImageView.h"

// A small read-only strip that summarizes one app's customization: one icon
// per customized thing, left to right the volume, the brightness, the
// switches, then the behaviours, each with its badge. It reads the store of
// its own process once, when it is made, and never follows later changes
// (its owner makes a new one). It owns its stack view and icons.
//
// The icons lie in a horizontal row that fills the strip, centred across,
// with the free width shared equally between neighbours and none at the ends
// (one icon starts at the left edge). The row is placed by frame rather than
// by constraints: the settings page makes one strip per row of a long list.
//
// The class is also registered with the object runtime under the name
// "TSCustomizedThingsView", so that a process that loads the plug-in library
// can make strips without linking to it: the class method
// "initWithFrame:bundleId:uiColor:" (see CreateImp) answers a new strip.
// Main thread only.
class TSCustomizedThingsView : public platform::UIView {
 public:
  static constexpr const char* kClassName = "TSCustomizedThingsView";
  static constexpr const char* kCreateSelector = "initWithFrame:bundleId:uiColor:";
  // The C++ signature of that class method, for msgSend.
  using CreateImp = std::shared_ptr<platform::UIView> (*)(platform::id cls, platform::SEL sel, platform::CGRect frame,
                                                          std::string bundleId, platform::UIColor uiColor);

  // A strip of `frame` filled from the store for `bundleId`, in `uiColor`.
  TSCustomizedThingsView(const platform::CGRect& frame, std::string_view bundleId, const platform::UIColor& uiColor);

  // Fills the strip from the store's entry for `bundleId`.
  void setupViewForBundleId(std::string_view bundleId);
  // A new icon for `name` in `state`, sized for `totalNbThings` icons.
  std::shared_ptr<TSCustomizedThingImageView> getCustomizedThingImageViewWithName(const std::string& name,
                                                                                  int32_t state,
                                                                                  int64_t totalNbThings) const;
  // The icon side: the strip's width for one thing, else min(width / total - 4, 30).
  double getThingViewSizeForTotalNbThings(int64_t totalNbThings) const;

  const platform::UIColor& uiColor() const { return uiColor_; }
  void setUiColor(const platform::UIColor& color) { uiColor_ = color; }
  // The row holding the icons, filling the strip (null before the strip was filled).
  platform::UIView* togglesStackView() const { return togglesStackView_.get(); }
  // The icons, left to right.
  const std::vector<std::shared_ptr<TSCustomizedThingImageView>>& thingViews() const { return things_; }

  // Places the row and its icons.
  void layoutSubviews() override;

  // Registers the class by name with the object runtime (done once when the library loads).
  static void registerClass();

 private:
  void addThing(std::shared_ptr<TSCustomizedThingImageView> icon);

  std::shared_ptr<platform::UIView> togglesStackView_;
  std::vector<std::shared_ptr<TSCustomizedThingImageView>> things_;
  platform::UIColor uiColor_;
};
