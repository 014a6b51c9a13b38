#include "platform/springboard/screen/StatusBarView.h"

#include <algorithm>

#include "platform/springboard/SystemProfile.h"
#include "platform/springboard/screen/AppIconStyle.h"
#include "platform/ui/UIImageView.h"
#include "platform/ui/UIScreen.h"

namespace platform::springboard {

namespace {

constexpr double kGlyph = 16;
constexpr double kSpacing = 5;

struct IndicatorGlyph {
  const char* name;
  char32_t glyph;
};
constexpr IndicatorGlyph kIndicators[] = {
    {"airplane", 0xF01D}, {"cellular", 0xF4A2},         {"wifi", 0xF5A9},    {"bluetooth", 0xF0AF}, {"dnd", 0xF594},
    {"location", 0xF390}, {"orientation-lock", 0xF476}, {"battery", 0xF079},
};

// The battery glyphs of the icon font: battery-outline (empty), battery-10 ... battery-90, battery (full).
constexpr char32_t kBatteryEmpty = 0xF08E;
constexpr char32_t kBatteryTenths = 0xF07A;  // battery-10; the next eight follow it up to battery-90
constexpr char32_t kBatteryFull = 0xF079;
// While charging: battery-charging-20 ... -100 as the font has them (no 10, 50 or 70).
struct ChargingGlyph {
  int percent;
  char32_t glyph;
};
constexpr ChargingGlyph kChargingGlyphs[] = {{20, 0xF086}, {30, 0xF087}, {40, 0xF088}, {60, 0xF089},
                                             {80, 0xF08A}, {90, 0xF08B}, {100, 0xF085}};
constexpr char32_t kBatteryCharging = 0xF084;  // battery-charging: the bolt alone, below 20 %
constexpr int kLowBattery = 20;

bool isShown(const StatusBarState& s, std::string_view name) {
  if (name == "airplane") return s.airplane;
  if (name == "cellular") return s.cellular && !s.airplane;
  if (name == "wifi") return s.wifi;
  if (name == "bluetooth") return s.bluetooth;
  if (name == "dnd") return s.doNotDisturb;
  if (name == "location") return s.location;
  if (name == "orientation-lock") return s.orientationLock;
  return true;  // the battery
}

}  // namespace

char32_t StatusBarView::batteryGlyph(const StatusBarState& state) {
  const int percent = std::clamp(state.batteryPercent, 0, 100);
  // To the nearest tenth, but never full before 100 % nor empty above 0 %.
  const int tenths = std::clamp((percent + 5) / 10, percent > 0 ? 1 : 0, percent < 100 ? 9 : 10);
  if (state.charging) {
    char32_t glyph = kBatteryCharging;
    for (const ChargingGlyph& g : kChargingGlyphs)
      if (tenths * 10 >= g.percent) glyph = g.glyph;
    return glyph;
  }
  if (tenths == 0) return kBatteryEmpty;
  if (tenths == 10) return kBatteryFull;
  return kBatteryTenths + static_cast<char32_t>(tenths - 1);
}

UIColor StatusBarView::batteryColor(const StatusBarState& state, const UIColor& content) {
  if (state.lowPower) return UIColor(1, 0.8, 0, 1);
  if (state.charging) return UIColor(0.2, 0.78, 0.35, 1);
  if (state.batteryPercent <= kLowBattery) return UIColor(1, 0.23, 0.19, 1);
  return content;
}

double StatusBarView::heightFor(const SystemProfile& profile) { return profile.statusBarHeight(); }

StatusBarView::StatusBarView(const SystemProfile& profile)
    : ScreenView(profile.majorVersion() >= 13 ? "_UIStatusBar" : "UIStatusBar") {
  setUserInteractionEnabled(false);
  time_ = std::make_shared<ScreenLabel>();
  time_->setFont(UIFont::systemFontOfSize(15, UIFontWeight::Semibold));
  addSubview(time_);
  battery_ = std::make_shared<UILabel>();
  battery_->setFont(UIFont::systemFontOfSize(12, UIFontWeight::Medium));
  battery_->setTextAlignment(NSTextAlignment::Center);
  addSubview(battery_);
  const double scale = UIScreen::mainScreen().scale();
  for (const IndicatorGlyph& g : kIndicators) {
    auto view = std::make_shared<UIImageView>();
    view->setImage(AppIconStyle::glyphImage(g.glyph, kGlyph, scale));
    addSubview(view);
    indicators_.push_back({g.name, view});
  }
  applyTint();
}

void StatusBarView::setState(const StatusBarState& state) {
  if (state == state_ && !time_->text().empty()) return;
  state_ = state;
  time_->setText(state_.time);
  battery_->setText(std::to_string(std::clamp(state_.batteryPercent, 0, 100)) + "%");
  if (char32_t glyph = batteryGlyph(state_); glyph != batteryGlyph_) {
    batteryGlyph_ = glyph;
    indicators_.back().view->setImage(AppIconStyle::glyphImage(glyph, kGlyph, UIScreen::mainScreen().scale()));
  }
  for (auto& indicator : indicators_) indicator.view->setHidden(!isShown(state_, indicator.name));
  applyTint();
  setNeedsLayout();
}

void StatusBarView::setDarkContent(bool dark) {
  if (dark == dark_) return;
  dark_ = dark;
  applyTint();
}

void StatusBarView::applyTint() {
  const UIColor content = dark_ ? UIColor::blackColor() : UIColor::whiteColor();
  time_->setTextColor(content);
  battery_->setTextColor(content);
  for (auto& indicator : indicators_)
    indicator.view->setTintColor(indicator.name == "battery" ? batteryColor(state_, content) : content);
}

const UIImageView& StatusBarView::batteryIndicator() const { return *indicators_.back().view; }

std::vector<std::string> StatusBarView::visibleIndicators() const {
  std::vector<std::string> names;
  for (const auto& indicator : indicators_) {
    if (!indicator.view->isHidden()) names.push_back(indicator.name);
  }
  return names;
}

CGRect StatusBarView::indicatorFrame(const std::string& name) const {
  for (const auto& indicator : indicators_) {
    if (indicator.name == name) return indicator.view->isHidden() ? CGRectZero : indicator.view->frame();
  }
  return CGRectZero;
}

void StatusBarView::layoutContents() {
  const CGSize size = bounds().size;
  const bool rtl = effectiveUserInterfaceLayoutDirection() == UIUserInterfaceLayoutDirection::RightToLeft;
  const bool tall = size.height > 30;
  const double inset = tall ? 24 : 12;
  const double timeWidth = 60;
  const double midY = tall ? size.height / 2 + 2 : size.height / 2;
  time_->setTextAlignment(rtl ? NSTextAlignment::Right : NSTextAlignment::Left);
  time_->setFrame(CGRectMake(rtl ? size.width - inset - timeWidth : inset, midY - 10, timeWidth, 20));
  // From the trailing edge towards the middle: battery percentage, battery glyph, then the others.
  double edge = inset;
  auto place = [&](UIView& view, double width) {
    double x = rtl ? edge : size.width - edge - width;
    view.setFrame(CGRectMake(x, midY - kGlyph / 2, width, kGlyph));
    edge += width + kSpacing;
  };
  place(*battery_, 34);
  for (auto it = indicators_.rbegin(); it != indicators_.rend(); ++it) {
    if (!it->view->isHidden()) place(*it->view, kGlyph);
  }
}

}  // namespace platform::springboard
