#include "tweak/panel/TSCustomizedThingsView.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "platform/foundation/PropertyList.h"
#include "platform/runtime/Runtime.h"
#include "platform/ui/NSLayoutConstraint.h"
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
  togglesStackView_ = std::make_shared<platform::UIStackView>();
  togglesStackView_->setAxis(platform::UILayoutConstraintAxis::Horizontal);
  togglesStackView_->setDistribution(platform::UIStackViewDistribution::EqualSpacing);
  togglesStackView_->setAlignment(platform::UIStackViewAlignment::Center);
  togglesStackView_->setSpacing(0);
  togglesStackView_->setTranslatesAutoresizingMaskIntoConstraints(false);
  addSubview(togglesStackView_);
  const std::map<std::string, platform::UIView*> views{{"togglesStackView", togglesStackView_.get()}};
  addConstraints(platform::NSLayoutConstraint::constraintsWithVisualFormat("H:|-0-[togglesStackView]-0-|", 0, {}, views));
  addConstraints(platform::NSLayoutConstraint::constraintsWithVisualFormat("V:|-0-[togglesStackView]-0-|", 0, {}, views));

  const TessraStorageManager& store = TessraStorageManager::sharedInstance();
  const plist::Value entry = store.getDictionaryForBundleId(bundleId);
  const int64_t total = store.getNbCustomizedThingsForBundleId(bundleId);
  if (entry.isDictionary()) {
    for (const char* slider : {"volume", "brightness"}) {
      const plist::Value* value = entry.find(slider);
      if (!value || !value->isNumber()) continue;
      auto icon = getCustomizedThingImageViewWithName(slider, 1, total);
      icon->setBadgeWithText(percentText(value->doubleValue()));
      togglesStackView_->addArrangedSubview(icon);
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
        togglesStackView_->addArrangedSubview(getCustomizedThingImageViewWithName(item->first, state, total));
      }
    }
  }
  layoutIfNeeded();
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
