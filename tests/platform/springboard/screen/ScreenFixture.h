#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/foundation/ManualTaskEnvironment.h"
#include "platform/springboard/DeviceModel.h"
#include "platform/springboard/screen/DeviceScreen.h"
#include "platform/springboard/screen/HomeScreenView.h"
#include "platform/springboard/screen/IconView.h"
#include "platform/springboard/screen/ScreenInspector.h"

namespace platform::test {

// A fresh device with its screen for each test, on a manual clock, and a finger to touch it.
class ScreenFixture : public ::testing::Test {
 protected:
  void SetUp() override { make(); }
  void TearDown() override { screen_.reset(); }

  void make(std::string version = "13.3", springboard::DeviceKind kind = springboard::DeviceKind::Phone,
            std::string language = "en_US", std::vector<springboard::InstalledApp> extraApps = {}) {
    screen_.reset();
    springboard::DeviceConfiguration config;
    config.systemVersion = std::move(version);
    config.kind = kind;
    for (auto& app : extraApps) config.installedApps.push_back(std::move(app));
    model().configure(std::move(config));
    springboard::DeviceScreen::Options options;
    options.language = std::move(language);
    screen_ = std::make_unique<springboard::DeviceScreen>(model(), std::move(options));
    env_.runUntilIdle();
  }

  springboard::DeviceModel& model() { return springboard::DeviceModel::shared(); }
  springboard::DeviceScreen& screen() { return *screen_; }
  springboard::HomeScreenView& home() { return screen_->home(); }
  bool logged(std::string_view text) { return model().state().eventLog().contains(text); }

  void tap(CGPoint p) {
    screen().touch(UITouchPhase::Began, p);
    env_.fastForwardBy(seconds(0.05));
    screen().touch(UITouchPhase::Ended, p);
    env_.runUntilIdle();
  }
  void press(CGPoint p, double held = 1.0) {
    screen().touch(UITouchPhase::Began, p);
    env_.fastForwardBy(seconds(held));
    screen().touch(UITouchPhase::Ended, p);
    env_.runUntilIdle();
  }
  void drag(CGPoint from, CGPoint to, double duration = 0.3) {
    constexpr int kSteps = 10;
    screen().touch(UITouchPhase::Began, from);
    for (int i = 1; i <= kSteps; ++i) {
      env_.fastForwardBy(seconds(duration / kSteps));
      screen().touch(UITouchPhase::Moved,
                     {from.x + (to.x - from.x) * i / kSteps, from.y + (to.y - from.y) * i / kSteps});
    }
    screen().touch(UITouchPhase::Ended, to);
    env_.runUntilIdle();
  }
  // The centre of the app's rounded square, in screen points.
  CGPoint iconCenter(const std::string& bundleIdentifier) {
    springboard::IconView* icon = home().iconFor(bundleIdentifier);
    EXPECT_NE(icon, nullptr) << bundleIdentifier;
    if (!icon) return {};
    CGRect square = icon->convertRect(icon->iconFrame(), nullptr);
    return {CGRectGetMidX(square), CGRectGetMidY(square)};
  }
  bool textVisible(const std::string& text) {
    return springboard::ScreenInspector::findVisibleText(text, screen().size()) != nullptr;
  }

  ManualTaskEnvironment env_;
  std::unique_ptr<springboard::DeviceScreen> screen_;
};

}  // namespace platform::test
