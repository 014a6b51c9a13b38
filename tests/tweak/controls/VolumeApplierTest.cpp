#include <gtest/gtest.h>

#include "platform/runtime/Runtime.h"
#include "platform/runtime/Substrate.h"
#include "tests/tweak/controls/ControlsTestDevice.h"
#include "tweak/controls/VolumeApplier.h"

using platform::id;
using platform::SEL;

namespace {

// Every volume set that reaches the device's media controller or volume control.
std::vector<float> gVolumeSets;

void (*gMediaSetVolume)(id, SEL, float) = nullptr;
void recordMediaSetVolume(id self, SEL sel, float volume) {
  gVolumeSets.push_back(volume);
  gMediaSetVolume(self, sel, volume);
}

void (*gControlSetVolume)(id, SEL, float, std::string) = nullptr;
void recordControlSetVolume(id self, SEL sel, float volume, std::string category) {
  gVolumeSets.push_back(volume);
  gControlSetVolume(self, sel, volume, std::move(category));
}

class VolumeApplierTest : public ::testing::TestWithParam<const char*> {
 protected:
  VolumeApplierTest() : device_(GetParam()) {
    gVolumeSets.clear();
    if (auto* control = platform::objc_getClass("SBVolumeControl"))
      platform::MSHookMessageEx(control, SELECTOR("setVolume:forCategory:"), &recordControlSetVolume,
                                &gControlSetVolume);
    platform::MSHookMessageEx(platform::objc_getClass("SBMediaController"), SELECTOR("setVolume:"),
                              &recordMediaSetVolume, &gMediaSetVolume);
  }

  platform::springboard::AudioState& audio() { return ControlsTestDevice::model().state().audio(); }
  void advance(double seconds) { device_.tasks.fastForwardBy(platform::seconds(seconds)); }

  ControlsTestDevice device_;
};

TEST_P(VolumeApplierTest, TheVolumeIsSetAfterThreeTenthsWithTheIndicatorHeldBack) {
  VolumeApplier::applyVolume(0.4);
  EXPECT_TRUE(audio().hudSuppressed());
  EXPECT_TRUE(VolumeApplier::isAlreadyCurrentlyChangingVolume());

  device_.tasks.fastForwardBy(platform::seconds(0.3) - platform::Duration(1));
  EXPECT_TRUE(gVolumeSets.empty());
  device_.tasks.fastForwardBy(platform::Duration(1));
  EXPECT_EQ(gVolumeSets, std::vector<float>{0.4f});
  EXPECT_FLOAT_EQ(audio().volume(), 0.4f);
  EXPECT_EQ(audio().volumeHudShows(), 0);
  EXPECT_FALSE(VolumeApplier::isAlreadyCurrentlyChangingVolume());

  // The indicator is allowed again 0.3 s after the change.
  device_.tasks.fastForwardBy(platform::seconds(0.3) - platform::Duration(1));
  EXPECT_TRUE(audio().hudSuppressed());
  device_.tasks.fastForwardBy(platform::Duration(1));
  EXPECT_FALSE(audio().hudSuppressed());
  EXPECT_EQ(device_.tasks.nextPendingDelay(), std::nullopt);
}

TEST_P(VolumeApplierTest, WithTheIndicatorWantedNothingIsSuppressed) {
  ControlsTestDevice::settings().showVolumeHUD = true;
  VolumeApplier::applyVolume(0.9);
  EXPECT_FALSE(audio().hudSuppressed());
  advance(0.3);
  EXPECT_FLOAT_EQ(audio().volume(), 0.9f);
  EXPECT_EQ(audio().volumeHudShows(), 1);
  EXPECT_EQ(device_.tasks.nextPendingDelay(), std::nullopt);
  EXPECT_FALSE(ControlsTestDevice::model().state().eventLog().contains("volume hud suppressed -> yes"));
}

TEST_P(VolumeApplierTest, ARequestWhileOneIsPendingIsDroppedAndTheFirstTargetWins) {
  VolumeApplier::applyVolume(0.4);
  advance(0.1);
  VolumeApplier::applyVolume(0.8);
  advance(1.0);
  EXPECT_EQ(gVolumeSets, std::vector<float>{0.4f});
  EXPECT_FLOAT_EQ(audio().volume(), 0.4f);

  // Once the change is carried out, requests are accepted again.
  VolumeApplier::applyVolume(0.8);
  advance(0.3);
  EXPECT_FLOAT_EQ(audio().volume(), 0.8f);
}

TEST_P(VolumeApplierTest, AnUnchangedVolumeIsNotSetButTheIndicatorIsStillReleased) {
  audio().setVolume(0.5f);
  gVolumeSets.clear();
  VolumeApplier::applyVolume(0.5);
  advance(0.3);
  EXPECT_TRUE(gVolumeSets.empty());
  EXPECT_TRUE(audio().hudSuppressed());
  advance(0.3);
  EXPECT_FALSE(audio().hudSuppressed());
}

TEST_P(VolumeApplierTest, TheIndicatorIsReleasedEvenWhenTheSettingChangesMeanwhile) {
  VolumeApplier::applyVolume(0.2);
  ControlsTestDevice::settings().showVolumeHUD = true;
  advance(0.6);
  EXPECT_FALSE(audio().hudSuppressed());
  EXPECT_FLOAT_EQ(audio().volume(), 0.2f);
}

INSTANTIATE_TEST_SUITE_P(SystemVersions, VolumeApplierTest, ::testing::Values("12.4", "13.3"),
                         [](const auto& info) { return info.param[1] == '2' ? "iOS12" : "iOS13"; });

}  // namespace
