#include "tweak/panel/TSCustomizedThingsView.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "platform/foundation/PropertyList.h"
#include "platform/runtime/Runtime.h"
#include "tweak/store/TessraStorageManager.h"

namespace plist = platform::plist;

namespace {

constexpr double kLargestIcon = 30;
constexpr double kIconGap = 4;
constexpr std::string_view kBehaviourPrefix = "action_";

// "40%": the fraction x 100 in single precision, halves rounded away from zero.
std::string percentText(double fraction) {
  const long percent = std::lround(static_cast<float>(fraction) * 100.0f);
  char text[32];
  std::snprintf(text, sizeof text, "%ld%%", percent);
  return text;
}

std::shared_ptr<platform::UIView> createStrip(platform::id, platform::SEL, platform::CGRect frame, std::string bundleId,
                                              platform::UIColor uiColor) {
  return std::make_shared<TSCustomizedThingsView>(frame, bundleId, uiColor);
}

// The class is made known by name as soon as the library is loaded, in any process.
[[maybe_unused]] const bool registered = [] {
  TSCustomizedThingsView::registerClass();
  return true;
}();

}  // namespace

void TSCustomizedThingsView::registerClass() {
  if (platform::Runtime::lookUpClass(kClassName)) return;
  platform::Class* cls = platform::Runtime::allocateClass(kClassName, platform::Runtime::rootClass());
  platform::class_addMethod(cls->metaclass(), platform::sel_registerName(kCreateSelector), &createStrip);
  platform::Runtime::registerClass(cls);
}

TSCustomizedThingsView::TSCustomizedThingsView(const platform::CGRect& frame, std::string_view bundleId,
                                               const platform::UIColor& uiColor)
    : UIView(frame), uiColor_(uiColor) {
  setupViewForBundleId(bundleId);
}

void TSCustomizedThingsView::setupViewForBundleId(std::string_view bundleId) {
  if (togglesStackView_) togglesStackView_->removeFromSuperview();
  things_.clear();
  togglesStackView_ = std::make_shared<platform::UIView>(bounds());
  togglesStackView_->setBackgroundColor(std::nullopt);
  addSubview(togglesStackView_);

  const TessraStorageManager& store = TessraStorageManager::sharedInstance();
  const plist::Value entry = store.getDictionaryForBundleId(bundleId);
  const int64_t total = store.getNbCustomizedThingsForBundleId(bundleId);
  if (entry.isDictionary()) {
    for (const char* slider : {"volume", "brightness"}) {
      const plist::Value* value = entry.find(slider);
      if (!value || !value->isNumber()) continue;
      auto icon = getCustomizedThingImageViewWithName(slider, 1, total);
      icon->setBadgeWithText(percentText(value->doubleValue()));
      addThing(std::move(icon));
    }
    const plist::Value* toggles = entry.find("toggles");
    if (toggles && toggles->isDictionary()) {
      std::vector<const plist::Dictionary::Entry*> ordered;
      for (bool behaviours : {false, true}) {
        for (const auto& item : toggles->dictionary()) {
          if (item.first.starts_with(kBehaviourPrefix) == behaviours) ordered.push_back(&item);
        }
      }
      for (const auto* item : ordered) {
        if (!item->second.isNumber()) continue;
        const auto state = static_cast<int32_t>(item->second.integerValue());
        if (state == -1) continue;
        addThing(getCustomizedThingImageViewWithName(item->first, state, total));
      }
    }
  }
  setNeedsLayout();
  layoutIfNeeded();
}

void TSCustomizedThingsView::addThing(std::shared_ptr<TSCustomizedThingImageView> icon) {
  togglesStackView_->addSubview(icon);
  things_.push_back(std::move(icon));
}

void TSCustomizedThingsView::layoutSubviews() {
  UIView::layoutSubviews();
  if (!togglesStackView_) return;
  const platform::CGSize size = bounds().size;
  togglesStackView_->setFrame({{0, 0}, size});
  double used = 0;
  for (const auto& icon : things_) used += icon->viewSize();
  const size_t n = things_.size();
  const double gap = n > 1 ? (size.width - used) / static_cast<double>(n - 1) : 0;
  double x = 0;
  for (const auto& icon : things_) {
    const double side = icon->viewSize();
    icon->setFrame({{x, (size.height - side) / 2}, {side, side}});
    x += side + gap;
  }
}

std::shared_ptr<TSCustomizedThingImageView> TSCustomizedThingsView::getCustomizedThingImageViewWithName(
    const std::string& name, int32_t state, int64_t totalNbThings) const {
  auto icon = std::make_shared<TSCustomizedThingImageView>();
  icon->setupWithCustomizedThingName(name, uiColor_);
  icon->setConstraintsForSize(getThingViewSizeForTotalNbThings(totalNbThings));
  icon->setCurrentState(state);
  return icon;
}

double TSCustomizedThingsView::getThingViewSizeForTotalNbThings(int64_t totalNbThings) const {
  const double width = bounds().size.width;
  if (totalNbThings == 1) return width;
  if (totalNbThings <= 0) return std::min(width, kLargestIcon);
  return std::clamp(width / static_cast<double>(totalNbThings) - kIconGap, 0.0, kLargestIcon);
}
